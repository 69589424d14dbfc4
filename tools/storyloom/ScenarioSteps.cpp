// Steps that act on the scenario core directly, the way a level script or the editor would:
// time, variables and scenario rules (event nodes) built from registered node types.
#include <algorithm>

#include "storyloom/host/core/VariableKinds.h"
#include "GraphCheck.h"
#include "JsonText.h"
#include "StepKind.h"
#include "StepRunner.h"

using nlohmann::json;
using JsonText::At;
using JsonText::Key;

namespace {
// The scenario the reference `id` holds; null when it holds none.
Core::Scenario* ScenarioIn(const ChannelGraph& graph, const std::string& id) {
    auto* ref = dynamic_cast<Aco_CoreRef*>(graph.FindChannel(id));
    return ref ? dynamic_cast<Core::Scenario*>(ref->GetRef()) : nullptr;
}

Core::Scenario* ScenarioOf(const ChannelGraph& graph, const json& step, const char* key, std::string& error) {
    std::string id = step[key].is_string() ? step[key].get<std::string>() : "";
    Core::Scenario* scenario = ScenarioIn(graph, id);
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

// Every scenario step names the reference holding its scenario at its own key.
void CheckScenario(GraphCheck& check, const json& step, const std::string& path, const char* kind) {
    check.ExpectId(step[kind], Key(path, kind), check.KindsOf<Aco_CoreRef>());
}

void CheckUpdate(GraphCheck& check, const json& step, const std::string& path) {
    CheckScenario(check, step, path, "update");
    if (step.contains("seconds")) check.ExpectNumber(step["seconds"], Key(path, "seconds"));
}

bool RunUpdate(StepRunner& runner, const json& step, float&, std::string& error) {
    const std::string id = step["update"].get<std::string>();
    Core::Scenario* scenario = ScenarioIn(runner.Graph(), id);
    if (!scenario) {
        error = "\"update\": \"" + id + "\" holds no scenario";
        return false;
    }
    scenario->Update(step.value("seconds", 0.0f));
    return true;
}

void CheckVariable(GraphCheck& check, const json& step, const std::string& path) {
    CheckScenario(check, step, path, "variable");
    for (const char* key : {"kind", "name", "value"})
        if (step.contains(key)) check.Expect(step[key], json::value_t::string, Key(path, key));
    if (!step.contains("kind") || !step.contains("name")) check.Add(path, "a variable needs \"kind\" and \"name\"");
}

bool RunVariable(StepRunner& runner, const json& step, float&, std::string& error) {
    FILE* out = runner.Out();
    Core::Scenario* scenario = ScenarioOf(runner.Graph(), step, "variable", error);
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

void CheckNodeEntry(GraphCheck& check, const json& entry, const std::string& path) {
    if (entry.is_string()) return;
    if (!entry.is_object()) {
        check.Add(path, std::string("must be a type name or {\"type\", \"bind\"}, not ") + JsonText::TypeName(entry));
        return;
    }
    check.ExpectKeys(entry, {"type", "bind"}, path);
    if (!entry.contains("type")) check.Add(path, "needs a \"type\"");
    else check.Expect(entry["type"], json::value_t::string, Key(path, "type"));
    if (!entry.contains("bind") || !check.Expect(entry["bind"], json::value_t::object, Key(path, "bind"))) return;
    for (const auto& item : entry["bind"].items()) {
        const std::string slotPath = Key(Key(path, "bind"), item.key());
        if (item.key().empty() || item.key().size() > 4 ||
            !std::all_of(item.key().begin(), item.key().end(), [](char c) { return c >= '0' && c <= '9'; }))
            check.Add(slotPath, "a slot is named by its number");
        check.Expect(item.value(), json::value_t::string, slotPath);
    }
}

void CheckNode(GraphCheck& check, const json& step, const std::string& path) {
    CheckScenario(check, step, path, "node");
    if (!step.contains("event")) check.Add(path, "a node needs an \"event\"");
    else CheckNodeEntry(check, step["event"], Key(path, "event"));
    for (const char* key : {"conditions", "actions"}) {
        if (!step.contains(key) || !check.Expect(step[key], json::value_t::array, Key(path, key))) continue;
        for (size_t i = 0; i < step[key].size(); ++i) CheckNodeEntry(check, step[key][i], At(Key(path, key), i));
    }
}

bool RunNode(StepRunner& runner, const json& step, float&, std::string& error) {
    FILE* out = runner.Out();
    Core::Scenario* scenario = ScenarioOf(runner.Graph(), step, "node", error);
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

void CheckPrintVariable(GraphCheck& check, const json& step, const std::string& path) {
    CheckScenario(check, step, path, "printVariable");
    if (!step.contains("name")) check.Add(path, "\"printVariable\" needs the variable's \"name\"");
    else check.Expect(step["name"], json::value_t::string, Key(path, "name"));
}

bool RunPrintVariable(StepRunner& runner, const json& step, float&, std::string& error) {
    Core::Scenario* scenario = ScenarioOf(runner.Graph(), step, "printVariable", error);
    if (!scenario) return false;
    std::string name = step.value("name", "");
    Core::VariableBase* variable = scenario->FindVariable(name);
    if (!variable) {
        error = "no variable \"" + name + "\"";
        return false;
    }
    std::fprintf(runner.Out(), "  variable %-25s = %s\n", name.c_str(), variable->GetValueText().c_str());
    return true;
}
}  // namespace

const std::vector<StepKind>& ScenarioStepKinds() {
    static const std::vector<StepKind> kinds = {
        {"update", {"seconds"}, "advances the scenario the reference holds", CheckUpdate, RunUpdate},
        {"variable", {"kind", "name", "value"}, "adds a scenario variable", CheckVariable, RunVariable},
        {"node", {"event", "conditions", "actions"}, "adds a scenario rule", CheckNode, RunNode},
        {"printVariable", {"name"}, "prints a scenario variable", CheckPrintVariable, RunPrintVariable},
    };
    return kinds;
}
