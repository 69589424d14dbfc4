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
    unsigned factoryDeaths = 0;      // OnFactoryDestroyed calls heard by any node
};

template <class Base>
class ScriptedNode : public Base {
public:
    template <class Owner>
    ScriptedNode(Owner& owner, NodeScript& script) : Base(owner), _script(script) {}
    ScriptedNode(const ScriptedNode& other) : Base(other), _script(other._script) {}
    void OnFactoryDestroyed() override { ++_script.factoryDeaths; }

protected:
    void Note(const char* kind) { _script.log.push_back(std::string(kind) + " " + this->GetTypeName()); }
    NodeScript& _script;
};

class ScriptedAction : public ScriptedNode<Core::Action> {
public:
    using ScriptedNode::ScriptedNode;

protected:
    void ExecuteImpl() override {
        Note("action");
        if (_script.onAction) _script.onAction();
    }
};

class ScriptedCondition : public ScriptedNode<Core::Condition> {
public:
    using ScriptedNode::ScriptedNode;

protected:
    bool EvaluateImpl() override {
        Note("condition");
        return _script.conditionHolds;
    }
};

class ScriptedEvent : public ScriptedNode<Core::Event> {
public:
    using ScriptedNode::ScriptedNode;
    bool CheckActivate(Core::EventParams& params) override {
        Note("event");
        lastParams = &params;
        return _script.activate;
    }
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
        for (const Core::VariableSlotBase* slot : source.GetVariableSlots()) {
            auto* slotCopy = new Core::TVariableSlot<Core::TVariable<float>>();
            slotCopy->CopyStateFrom(*slot);
            copy->AddVariableSlot(slotCopy);
        }
        return copy;
    }

private:
    NodeScript& _script;
};

using ScriptedActionFactory = ScriptedFactory<Core::ActionFactory, ScriptedAction, Core::VariableSlotSetOwner>;
using ScriptedConditionFactory =
    ScriptedFactory<Core::ConditionFactory, ScriptedCondition, Core::VariableSlotSetOwner>;
using ScriptedEventFactory = ScriptedFactory<Core::EventFactory, ScriptedEvent, Core::EventNode>;
