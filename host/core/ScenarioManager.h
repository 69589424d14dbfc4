#pragma once
#include <list>
#include <memory>
#include <unordered_map>
#include <vector>

#include "storyloom/host/core/Scenario.h"

namespace Core {

// Makes, owns and destroys scenarios.
class ScenarioManager {
public:
    ScenarioManager();
    ~ScenarioManager();
    ScenarioManager(const ScenarioManager&) = delete;
    ScenarioManager& operator=(const ScenarioManager&) = delete;

    Scenario* CreateScenario();
    // False, with a report, for a scenario this manager does not hold.
    bool DestroyScenario(Scenario* scenario);
    bool HoldsScenario(const Scenario* scenario) const;

    // In creation order.
    const std::list<std::unique_ptr<Scenario>>& GetScenarios() const { return _scenarios; }

    // While one lives, a destroyed scenario leaves the manager at once but is deleted only
    // when the last one ends: code running inside a scenario's nodes may destroy it.
    class DestructionDeferral {
    public:
        explicit DestructionDeferral(ScenarioManager& manager) : _manager(manager) { ++_manager._deferrals; }
        ~DestructionDeferral();
        DestructionDeferral(const DestructionDeferral&) = delete;
        DestructionDeferral& operator=(const DestructionDeferral&) = delete;

    private:
        ScenarioManager& _manager;
    };

private:
    using Scenarios = std::list<std::unique_ptr<Scenario>>;
    // A list and a table of where each one sits: any one leaves in constant time, in order.
    Scenarios _scenarios;
    std::unordered_map<const Scenario*, Scenarios::iterator> _places;
    std::vector<std::unique_ptr<Scenario>> _deferred;
    unsigned _deferrals = 0;
};

}  // namespace Core
