#include "host/core/ScenarioSupport.h"

#include <algorithm>

#include "host/core/RefSupport.h"
#include "host/core/Scenario.h"

namespace Core {

namespace {
// Plain pointers, set before any constructor runs and never destroyed, so an entity that
// outlives every other static object can still leave the list.
ScenarioSupport* oldestLive = nullptr;
ScenarioSupport* newestLive = nullptr;
}  // namespace

ScenarioSupport::ScenarioSupport() { JoinLive(); }
RefSupport* ScenarioSupport::AsRefSupport() { return dynamic_cast<RefSupport*>(this); }
ScenarioSupport::ScenarioSupport(const ScenarioSupport&) : WeakTarget() { JoinLive(); }

void ScenarioSupport::JoinLive() {
    _olderLive = newestLive;
    (newestLive ? newestLive->_newerLive : oldestLive) = this;
    newestLive = this;
}

ScenarioSupport::~ScenarioSupport() {
    (_olderLive ? _olderLive->_newerLive : oldestLive) = _newerLive;
    (_newerLive ? _newerLive->_olderLive : newestLive) = _olderLive;
    std::vector<Scenario*> scenarios;
    scenarios.swap(_scenarios);
    for (Scenario* scenario : scenarios) scenario->ForgetEntity(*this);
}

std::vector<ScenarioSupport*> ScenarioSupport::FindLiveByName(const std::string& name) {
    std::vector<ScenarioSupport*> found;
    for (ScenarioSupport* support = oldestLive; support; support = support->_newerLive)
        if (support->GetName() == name) found.push_back(support);
    return found;
}

bool ScenarioSupport::IsInScenario(const Scenario& scenario) const {
    return std::find(_scenarios.begin(), _scenarios.end(), &scenario) != _scenarios.end();
}

}  // namespace Core
