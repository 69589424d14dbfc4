#include "storyloom/host/core/ScenarioManager.h"

#include <algorithm>

#include "storyloom/host/core/ErrorLog.h"

namespace Core {

ScenarioManager::ScenarioManager() = default;
ScenarioManager::~ScenarioManager() = default;

Scenario* ScenarioManager::CreateScenario() {
    _scenarios.emplace_back(new Scenario());
    return _scenarios.back().get();
}

bool ScenarioManager::DestroyScenario(Scenario* scenario) {
    auto found = std::find_if(_scenarios.begin(), _scenarios.end(),
                              [scenario](const std::unique_ptr<Scenario>& held) { return held.get() == scenario; });
    if (!scenario || found == _scenarios.end()) {
        ERRLOG("ScenarioManager::DestroyScenario: not a scenario of this manager");
        return false;
    }
    // Out of the list first, so the dying scenario is never found while it is destroyed.
    std::unique_ptr<Scenario> dying = std::move(*found);
    _scenarios.erase(found);
    if (_deferrals > 0) _deferred.push_back(std::move(dying));
    return true;
}

ScenarioManager::DestructionDeferral::~DestructionDeferral() {
    if (--_manager._deferrals > 0) return;
    std::vector<std::unique_ptr<Scenario>> deferred;
    deferred.swap(_manager._deferred);
}

bool ScenarioManager::HoldsScenario(const Scenario* scenario) const {
    return std::any_of(_scenarios.begin(), _scenarios.end(),
                       [scenario](const std::unique_ptr<Scenario>& held) { return held.get() == scenario; });
}

}  // namespace Core
