#pragma once
#include <functional>
#include <string>
#include <vector>

#include "storyloom/host/ScenarioCore.h"

// Scenario nodes whose behaviour a test scripts. Every run is written to a shared log as
// "<kind> <type>", so tests can check what ran and in which order.
struct NodeScript {
    std::vector<std::string> log;
    bool activate = true;
    bool conditionHolds = true;
    std::function<void()> onAction;  // runs inside every action
};

template <class Base>
class ScriptedNode : public Base {
public:
    template <class Owner>
    ScriptedNode(Owner& owner, NodeScript& script) : Base(owner), _script(script) {}
    ScriptedNode(const ScriptedNode& other) = default;

protected:
    void Note(const char* kind) { _script.log.push_back(std::string(kind) + " " + this->GetTypeName()); }
    NodeScript& _script;
};

struct ScriptedAction : ScriptedNode<Core::Action> {
    using ScriptedNode::ScriptedNode;
    void ExecuteImpl() override {
        Note("action");
        if (_script.onAction) _script.onAction();
    }
};
struct ScriptedCondition : ScriptedNode<Core::Condition> {
    using ScriptedNode::ScriptedNode;
    bool EvaluateImpl() override { return Note("condition"), _script.conditionHolds; }
};
struct ScriptedEvent : ScriptedNode<Core::Event> {
    using ScriptedNode::ScriptedNode;
    bool CheckActivate(Core::EventParams& params) override { return Note("event"), lastParams = &params, _script.activate; }
    Core::EventParams* lastParams = nullptr;
};

// A factory of one type of scripted node; each node gets one float slot named "Speed".
template <class FactoryKind, class Node, class Owner>
class ScriptedFactory : public FactoryKind {
public:
    using Product = typename FactoryKind::ProductType;
    ScriptedFactory(const std::string& type, NodeScript& script) : FactoryKind(type), _script(script) {}
    Product* CreateProduct(Owner& owner) override {
        auto* node = new Node(owner, _script);
        node->AddVariableSlot(new Core::TVariableSlot<Core::TVariable<float>>("Speed"));
        return node;
    }
    Product* CloneProduct(const Product& source) override {
        auto* copy = new Node(static_cast<const Node&>(source));
        auto* slot = new Core::TVariableSlot<Core::TVariable<float>>();
        slot->CopyStateFrom(*source.GetVariableSlots()[0]);
        copy->AddVariableSlot(slot);
        return copy;
    }

private:
    NodeScript& _script;
};

using ScriptedActionFactory = ScriptedFactory<Core::ActionFactory, ScriptedAction, Core::VariableSlotSetOwner>;
using ScriptedConditionFactory = ScriptedFactory<Core::ConditionFactory, ScriptedCondition, Core::VariableSlotSetOwner>;
using ScriptedEventFactory = ScriptedFactory<Core::EventFactory, ScriptedEvent, Core::EventNode>;
