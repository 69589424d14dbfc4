#include "storyloom/host/core/ScenarioSupport.h"

#include <algorithm>

#include "storyloom/host/core/RefSupport.h"
#include "storyloom/host/core/Scenario.h"

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
    std::vector<Membership> scenarios;
    scenarios.swap(_scenarios);
    for (const Membership& membership : scenarios) membership.scenario->ForgetEntity(membership.id);
}

std::vector<ScenarioSupport*> ScenarioSupport::FindLiveByName(const std::string& name) {
    std::vector<ScenarioSupport*> found;
    for (ScenarioSupport* support = oldestLive; support; support = support->_newerLive)
        if (support->GetName() == name) found.push_back(support);
    return found;
}

std::unordered_map<std::string, std::vector<ScenarioSupport*>> ScenarioSupport::LiveByName() {
    std::unordered_map<std::string, std::vector<ScenarioSupport*>> live;
    for (ScenarioSupport* support = newestLive; support; support = support->_olderLive)
        live[support->GetName()].push_back(support);
    return live;
}

bool ScenarioSupport::IsInScenario(const Scenario& scenario) const {
    return std::any_of(_scenarios.begin(), _scenarios.end(),
                       [&scenario](const Membership& membership) { return membership.scenario == &scenario; });
}

std::vector<ScenarioSupport::Membership>::iterator ScenarioSupport::FindMembership(const Scenario* scenario) {
    return std::find_if(_scenarios.begin(), _scenarios.end(),
                        [scenario](const Membership& membership) { return membership.scenario == scenario; });
}

}  // namespace Core
