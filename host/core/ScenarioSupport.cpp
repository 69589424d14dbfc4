#include "host/core/ScenarioSupport.h"

#include <algorithm>

#include "host/core/Scenario.h"

namespace Core {

ScenarioSupport::~ScenarioSupport() {
    std::vector<Scenario*> scenarios;
    scenarios.swap(_scenarios);
    for (Scenario* scenario : scenarios) scenario->ForgetEntity(*this);
}

bool ScenarioSupport::IsInScenario(const Scenario& scenario) const {
    return std::find(_scenarios.begin(), _scenarios.end(), &scenario) != _scenarios.end();
}

}  // namespace Core
