#include "tools/storyloom/StepRunner.h"

#include "scenario_channel/Aco_Storyloom.h"
#include "tools/storyloom/ScenarioSteps.h"

using nlohmann::json;

bool StepRunner::Run(const json& steps, std::string& error) {
    for (const json& step : steps)
        if (!RunStep(step, error)) return false;
    return true;
}

A3d_Channel* StepRunner::Channel(const json& step, const char* key, std::string& error) {
    std::string id = step[key].is_string() ? step[key].get<std::string>() : "";
    A3d_Channel* channel = _graph.FindChannel(id);
    if (!channel) error = std::string("step \"") + key + "\": no channel \"" + id + "\"";
    return channel;
}

std::string StepRunner::Describe(A3d_Channel* channel) const {
    if (auto* text = dynamic_cast<Aco_StringChannel*>(channel))
        return text->GetString() ? "\"" + std::string(text->GetString()) + "\"" : "(no text)";
    if (auto* vector = dynamic_cast<Aco_VectorChannel*>(channel)) {
        D3DXVECTOR3 v = vector->GetVector();
        return "(" + std::to_string(v.x) + ", " + std::to_string(v.y) + ", " + std::to_string(v.z) + ")";
    }
    if (auto* ref = dynamic_cast<Aco_CoreRef*>(channel)) {
        Core::RefSupport* target = ref->GetRef();
        if (!target) return "(empty)";
        if (auto* entity = dynamic_cast<Core::EntityBase*>(target)) return "entity \"" + entity->GetName() + "\"";
        if (dynamic_cast<Core::Scenario*>(target)) return "a scenario";
        return "an object";
    }
    if (auto* value = dynamic_cast<Aco_FloatChannel*>(channel)) return std::to_string(value->GetStoredFloat());
    return "(no value)";
}

bool StepRunner::RunStep(const json& step, std::string& error) {
    if (step.contains("comment")) std::fprintf(_out, "# %s\n", step["comment"].get<std::string>().c_str());
    if (step.contains("evaluate")) {
        A3d_Channel* channel = Channel(step, "evaluate", error);
        auto* value = dynamic_cast<Aco_FloatChannel*>(channel);
        if (!value) return false;
        std::fprintf(_out, "evaluate %-28s -> %g\n", step["evaluate"].get<std::string>().c_str(), value->GetFloat());
    }
    if (step.contains("print")) {
        for (const json& id : step["print"].is_array() ? step["print"] : json::array({step["print"]})) {
            A3d_Channel* channel = _graph.FindChannel(id.get<std::string>());
            if (!channel) {
                error = "step \"print\": no channel \"" + id.get<std::string>() + "\"";
                return false;
            }
            std::fprintf(_out, "  %-34s = %s\n", id.get<std::string>().c_str(), Describe(channel).c_str());
        }
    }
    if (step.contains("set")) {
        A3d_Channel* channel = Channel(step, "set", error);
        if (!channel) return false;
        if (auto* text = dynamic_cast<Aco_StringChannel*>(channel))
            text->SetString(step.value("text", "").c_str());
        else if (auto* value = dynamic_cast<Aco_FloatChannel*>(channel))
            value->SetFloat(step.value("value", 0.0f));
    }
    if (step.contains("update")) {
        auto* ref = dynamic_cast<Aco_CoreRef*>(Channel(step, "update", error));
        auto* scenario = ref ? dynamic_cast<Core::Scenario*>(ref->GetRef()) : nullptr;
        if (!scenario) {
            if (error.empty()) error = "step \"update\": the reference holds no scenario";
            return false;
        }
        scenario->Update(step.value("seconds", 0.0f));
    }
    if (step.contains("variable") && !ScenarioSteps::AddVariable(_graph, step, _out, error)) return false;
    if (step.contains("node") && !ScenarioSteps::AddNode(_graph, step, _out, error)) return false;
    if (step.contains("printVariable") && !ScenarioSteps::PrintVariable(_graph, step, _out, error)) return false;
    return true;
}
