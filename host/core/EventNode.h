#pragma once
#include <memory>
#include <string>
#include <vector>

#include "storyloom/host/core/VariableSlotSetOwner.h"

namespace Core {

class Action;
class Condition;
class Event;
class EventParams;
class ScenarioSupport;

// One rule of a scenario: an event, the conditions that must all hold, and the actions that
// then run in order. Made and owned by its scenario; it owns its nodes, which the factory
// managers make for it by type name.
class EventNode : public VariableSlotSetOwner {
public:
    // Each answers the new node, or null (reported by the manager) when no factory makes
    // that type. A new event replaces the old one.
    Event* SetEvent(const std::string& type);
    Condition* AddCondition(const std::string& type);
    Action* AddAction(const std::string& type);

    Event* GetEvent() const { return _event; }
    const std::vector<Condition*>& GetConditions() const { return _conditions; }
    const std::vector<Action*>& GetActions() const { return _actions; }

    // One firing: the event decides, every condition must hold, then the actions run.
    // Answers whether the actions ran. A firing that reaches this node again while it is
    // still firing is refused with a report.
    bool Trigger(EventParams& params);

    bool RefersTo(const ScenarioSupport& entity) const;

private:
    friend class Scenario;
    friend struct std::default_delete<EventNode>;

    explicit EventNode(Scenario& scenario) : VariableSlotSetOwner(scenario) {}
    ~EventNode() override;
    EventNode(const EventNode&) = delete;
    EventNode& operator=(const EventNode&) = delete;

    bool ConditionsHold(const WeakRef<EventNode>& alive);
    void RunActions(const WeakRef<EventNode>& alive);

    Event* _event = nullptr;
    std::vector<Condition*> _conditions;
    std::vector<Action*> _actions;
    bool _triggering = false;
};

}  // namespace Core
