#include "storyloom/host/core/ScenarioManager.h"

#include <iterator>

#include "storyloom/host/core/ErrorLog.h"

namespace Core {

ScenarioManager::ScenarioManager() = default;
ScenarioManager::~ScenarioManager() = default;

Scenario* ScenarioManager::CreateScenario() {
    _scenarios.emplace_back(new Scenario());
    _places.emplace(_scenarios.back().get(), std::prev(_scenarios.end()));
    return _scenarios.back().get();
}

bool ScenarioManager::DestroyScenario(Scenario* scenario) {
    auto found = _places.find(scenario);
    if (found == _places.end()) {
        ERRLOG("ScenarioManager::DestroyScenario: not a scenario of this manager");
        return false;
    }
    // Out of the list first, so the dying scenario is never found while it is destroyed.
    std::unique_ptr<Scenario> dying = std::move(*found->second);
    _scenarios.erase(found->second);
    _places.erase(found);
    dying->_destroyed = true;
    if (_deferrals > 0) _deferred.push_back(std::move(dying));
    return true;
}

ScenarioManager::DestructionDeferral::~DestructionDeferral() {
    if (--_manager._deferrals > 0) return;
    std::vector<std::unique_ptr<Scenario>> deferred;
    deferred.swap(_manager._deferred);
}

bool ScenarioManager::HoldsScenario(const Scenario* scenario) const { return _places.count(scenario) != 0; }

}  // namespace Core
