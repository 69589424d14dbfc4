#include "storyloom/host/core/ScenarioSupport.h"

#include <algorithm>
#include <utility>

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
    Memberships scenarios;
    std::swap(scenarios, _scenarios);
    scenarios.ForEach([](const Membership& membership) { membership.scenario->ForgetEntity(membership.id); });
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

bool ScenarioSupport::IsInScenario(const Scenario& scenario) const { return _scenarios.Find(&scenario) != nullptr; }

void ScenarioSupport::Memberships::Add(Scenario* scenario, unsigned id) {
    if (_first.scenario)
        _rest.push_back({scenario, id});
    else
        _first = {scenario, id};
}

void ScenarioSupport::Memberships::Remove(const Scenario* scenario) {
    if (_first.scenario == scenario) {
        if (_rest.empty()) {
            _first = {nullptr, 0};
            return;
        }
        _first = _rest.front();
        _rest.erase(_rest.begin());
        return;
    }
    _rest.erase(std::find_if(_rest.begin(), _rest.end(),
                             [scenario](const Membership& membership) { return membership.scenario == scenario; }));
}

const ScenarioSupport::Membership* ScenarioSupport::Memberships::FindAmongTheRest(const Scenario* scenario) const {
    for (const Membership& membership : _rest)
        if (membership.scenario == scenario) return &membership;
    return nullptr;
}

}  // namespace Core
