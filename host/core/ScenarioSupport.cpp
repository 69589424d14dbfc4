#include "host/core/ScenarioSupport.h"

#include <algorithm>

#include "host/core/Scenario.h"

namespace Core {

namespace {
std::vector<ScenarioSupport*>& LiveSupports() {
    static std::vector<ScenarioSupport*> supports;
    return supports;
}
}  // namespace

ScenarioSupport::ScenarioSupport() { LiveSupports().push_back(this); }
ScenarioSupport::ScenarioSupport(const ScenarioSupport&) : WeakTarget() { LiveSupports().push_back(this); }

ScenarioSupport::~ScenarioSupport() {
    std::vector<ScenarioSupport*>& live = LiveSupports();
    live.erase(std::find(live.begin(), live.end(), this));
    std::vector<Scenario*> scenarios;
    scenarios.swap(_scenarios);
    for (Scenario* scenario : scenarios) scenario->ForgetEntity(*this);
}

std::vector<ScenarioSupport*> ScenarioSupport::FindLiveByName(const std::string& name) {
    std::vector<ScenarioSupport*> found;
    for (ScenarioSupport* support : LiveSupports())
        if (support->GetName() == name) found.push_back(support);
    return found;
}

bool ScenarioSupport::IsInScenario(const Scenario& scenario) const {
    return std::find(_scenarios.begin(), _scenarios.end(), &scenario) != _scenarios.end();
}

}  // namespace Core

