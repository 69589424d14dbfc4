#include "storyloom/host/core/EntityVar.h"

#include "storyloom/host/core/Scenario.h"
#include "storyloom/host/core/StateText.h"

namespace Core {

EntityVar::EntityVar(std::string name, Scenario& scenario) : VariableBase(std::move(name)), _scenario(&scenario) {}

std::string EntityVar::GetValueText() const {
    ScenarioSupport* entity = GetValue();
    return entity ? entity->GetName() : std::string();
}

// "=" marks an entity, so an entity with an empty name differs from none.
std::string EntityVar::ExportValue() const {
    ScenarioSupport* entity = GetValue();
    return entity ? "=" + EncodeStateField(entity->GetName()) : std::string();
}

bool EntityVar::ImportValue(const std::string& text) {
    if (text.empty()) {
        SetValue(nullptr);
        return true;
    }
    std::string name;
    if (text[0] != '=' || !DecodeStateField(text.substr(1), name)) return false;
    std::vector<ScenarioSupport*> candidates = ScenarioSupport::FindLiveByName(name);
    if (candidates.empty()) return false;
    ScenarioSupport* chosen = candidates.front();
    if (Scenario* scenario = GetScenario())
        for (ScenarioSupport* candidate : candidates)
            if (candidate->IsInScenario(*scenario)) {
                chosen = candidate;
                break;
            }
    SetValue(chosen);
    return true;
}

bool EntityVar::CopyValueFrom(const VariableBase& other) {
    const auto* same = dynamic_cast<const EntityVar*>(&other);
    if (same) SetValue(same->GetValue());
    return same != nullptr;
}

}  // namespace Core
