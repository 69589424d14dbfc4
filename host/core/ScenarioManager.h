#pragma once
#include <memory>
#include <vector>

#include "host/core/Scenario.h"

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
    const std::vector<std::unique_ptr<Scenario>>& GetScenarios() const { return _scenarios; }

private:
    std::vector<std::unique_ptr<Scenario>> _scenarios;
};

}  // namespace Core
