#include "storyloom/host/core/EventNode.h"

#include "storyloom/host/core/ActionFactoryManager.h"
#include "storyloom/host/core/ConditionFactoryManager.h"
#include "storyloom/host/core/ErrorLog.h"
#include "storyloom/host/core/EventFactoryManager.h"
#include "storyloom/host/engine/A3dEngine.h"
#include "storyloom/host/engine/EvaluationObserver.h"

namespace Core {

namespace {
// Tells the engine's evaluation observer, when one is set, that a node runs and what it answers.
template <class Run>
bool Observed(const char* role, const std::string& type, Run run) {
    EvaluationObserver* observer = globalEngine.GetEvaluationObserver();
    if (!observer) return run();
    observer->ProductBegins(role, type.c_str());
    bool answer = false;
    try {
        answer = run();
    } catch (...) {
        observer->ProductEnds(false);
        throw;
    }
    observer->ProductEnds(answer);
    return answer;
}
}  // namespace

EventNode::~EventNode() {
    delete _event;
    for (Condition* condition : _conditions) delete condition;
    for (Action* action : _actions) delete action;
}

Event* EventNode::SetEvent(const std::string& type) {
    Event* event = CoreFramework::Singleton<EventFactoryManager>::Instance().CreateProduct(type, *this);
    if (event) {
        delete _event;
        _event = event;
    }
    return event;
}

Condition* EventNode::AddCondition(const std::string& type) {
    Condition* condition = CoreFramework::Singleton<ConditionFactoryManager>::Instance().CreateProduct(type, *this);
    if (condition) _conditions.push_back(condition);
    return condition;
}

Action* EventNode::AddAction(const std::string& type) {
    Action* action = CoreFramework::Singleton<ActionFactoryManager>::Instance().CreateProduct(type, *this);
    if (action) _actions.push_back(action);
    return action;
}

bool EventNode::Trigger(EventParams& params) {
    if (!_event) return false;
    if (_triggering) {
        ERRLOG("EventNode::Trigger: " + _event->GetTypeName() + " fired again while its node was still firing");
        return false;
    }
    // Whatever the nodes run may end this node; `alive` is checked before every use of it.
    WeakRef<EventNode> alive(this);
    _triggering = true;
    Event* event = _event;
    bool activated = Observed("event", event->GetTypeName(), [&] { return event->CheckActivate(params); }) && alive &&
                     ConditionsHold(alive);
    if (activated) RunActions(alive);
    if (alive) _triggering = false;
    return activated;
}

bool EventNode::ConditionsHold(const WeakRef<EventNode>& alive) {
    for (size_t i = 0; alive && i < _conditions.size(); ++i)
        if (Condition* condition = _conditions[i];
            !Observed("condition", condition->GetTypeName(), [condition] { return condition->Evaluate(); }))
            return false;
    return static_cast<bool>(alive);
}

void EventNode::RunActions(const WeakRef<EventNode>& alive) {
    for (size_t i = 0; alive && i < _actions.size(); ++i) {
        Action* action = _actions[i];
        Observed("action", action->GetTypeName(), [action] {
            action->Execute();
            return true;
        });
    }
}

bool EventNode::RefersTo(const ScenarioSupport& entity) const {
    if (_event && _event->RefersTo(entity)) return true;
    for (const Condition* condition : _conditions)
        if (condition->RefersTo(entity)) return true;
    for (const Action* action : _actions)
        if (action->RefersTo(entity)) return true;
    return false;
}

}  // namespace Core
