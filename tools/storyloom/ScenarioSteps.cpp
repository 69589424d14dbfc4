#include "ScenarioSteps.h"

#include "storyloom/host/core/VariableKinds.h"

using nlohmann::json;

namespace ScenarioSteps {
namespace {

Core::Scenario* ScenarioOf(const ChannelGraph& graph, const json& step, const char* key, std::string& error) {
    std::string id = step[key].is_string() ? step[key].get<std::string>() : "";
    auto* ref = dynamic_cast<Aco_CoreRef*>(graph.FindChannel(id));
    auto* scenario = ref ? dynamic_cast<Core::Scenario*>(ref->GetRef()) : nullptr;
    if (!scenario) error = std::string("step \"") + key + "\": \"" + id + "\" is no reference holding a scenario";
    return scenario;
}

// Binds the slots an entry names to scenario variables; false when a slot or variable is missing.
bool BindSlots(Core::Scenario& scenario, Core::VariableSlotSet& product, const json& entry, std::string& error) {
    if (!entry.is_object() || !entry.contains("bind")) return true;
    const auto& slots = product.GetVariableSlots();
    for (const auto& [slot, variableName] : entry["bind"].items()) {
        size_t index = std::stoul(slot);
        Core::VariableBase* variable = scenario.FindVariable(variableName.get<std::string>());
        if (index >= slots.size() || !variable || !slots[index]->Bind(variable)) {
            error = "cannot bind slot " + slot + " of \"" + entry.value("type", "") + "\" to \"" +
                    variableName.get<std::string>() + "\"";
            return false;
        }
    }
    return true;
}

// Texts are taken as written; other kinds in their state-text form ("1.5", "1 2 3").
bool SetValue(Core::VariableBase& variable, const std::string& value) {
    if (auto* text = dynamic_cast<Core::StringVar*>(&variable)) {
        text->SetValue(value);
        return true;
    }
    return variable.ImportValue(value);
}

std::string TypeOf(const json& entry) { return entry.is_string() ? entry.get<std::string>() : entry.value("type", ""); }

template <class Product>
bool AddProduct(Core::Scenario& scenario, Product* product, const json& entry, FILE* out, const char* role,
                std::string& error) {
    if (!product) {
        error = std::string("no ") + role + " type \"" + TypeOf(entry) + "\" is registered";
        return false;
    }
    if (!BindSlots(scenario, *product, entry, error)) return false;
    std::fprintf(out, "  %-9s \"%s\": %s\n", role, TypeOf(entry).c_str(), product->GetDisplayText().c_str());
    return true;
}

}  // namespace

bool AddVariable(const ChannelGraph& graph, const json& step, FILE* out, std::string& error) {
    Core::Scenario* scenario = ScenarioOf(graph, step, "variable", error);
    if (!scenario) return false;
    std::string name = step.value("name", "");
    Core::VariableBase* variable = Core::CreateVariableOfKind(step.value("kind", ""), name, *scenario);
    if (!variable || (step.contains("value") && !SetValue(*variable, step["value"].get<std::string>()))) {
        delete variable;
        error = "variable \"" + name + "\": unknown kind or unreadable value";
        return false;
    }
    if (!scenario->AddVariable(variable)) {
        error = "variable \"" + name + "\" was refused by the scenario";
        return false;
    }
    std::fprintf(out, "variable %s = %s\n", name.c_str(), variable->GetValueText().c_str());
    return true;
}

bool AddNode(const ChannelGraph& graph, const json& step, FILE* out, std::string& error) {
    Core::Scenario* scenario = ScenarioOf(graph, step, "node", error);
    if (!scenario) return false;
    Core::EventNode* node = scenario->AddEventNode();
    std::fprintf(out, "node:\n");
    const json event = step.value("event", json());
    if (!AddProduct(*scenario, node->SetEvent(TypeOf(event)), event, out, "event", error)) return false;
    for (const json& entry : step.value("conditions", json::array()))
        if (!AddProduct(*scenario, node->AddCondition(TypeOf(entry)), entry, out, "condition", error)) return false;
    for (const json& entry : step.value("actions", json::array()))
        if (!AddProduct(*scenario, node->AddAction(TypeOf(entry)), entry, out, "action", error)) return false;
    return true;
}

bool PrintVariable(const ChannelGraph& graph, const json& step, FILE* out, std::string& error) {
    Core::Scenario* scenario = ScenarioOf(graph, step, "printVariable", error);
    if (!scenario) return false;
    std::string name = step.value("name", "");
    Core::VariableBase* variable = scenario->FindVariable(name);
    if (!variable) {
        error = "no variable \"" + name + "\"";
        return false;
    }
    std::fprintf(out, "  variable %-25s = %s\n", name.c_str(), variable->GetValueText().c_str());
    return true;
}

}  // namespace ScenarioSteps
