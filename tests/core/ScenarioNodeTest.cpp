#include <memory>

#include "CoreTestSupport.h"
#include "ScriptedNodes.h"

namespace {

using CoreFramework::Singleton;
using VelmMathLib::Vec3;

// Scripted factories: events "Mission - Started" and "Mission - Loaded", condition "Check",
// actions "Act 1" and "Act 2"; two scenarios.
class CoreNodes : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        first = Manager().CreateScenario();
        second = Manager().CreateScenario();
        owner = std::make_unique<Core::VariableSlotSetOwner>(*first);
    }
    // A node of the given event type with one condition and two actions.
    Core::EventNode* AddRule(Core::Scenario* scenario, const std::string& eventType) {
        Core::EventNode* node = scenario->AddEventNode();
        node->SetEvent(eventType);
        node->AddCondition("Check");
        node->AddAction("Act 1");
        node->AddAction("Act 2");
        return node;
    }
    static Core::ActionFactoryManager& Actions() { return Singleton<Core::ActionFactoryManager>::Instance(); }
    static unsigned Fire(const std::string& type, Core::EventParams& params) {
        return Singleton<Core::EventFactoryManager>::Instance().FireEvent(type, params);
    }

    NodeScript script;
    ScriptedEventFactory started{"Mission - Started", script}, loaded{"Mission - Loaded", script};
    ScriptedConditionFactory check{"Check", script};
    ScriptedActionFactory act1{"Act 1", script}, act2{"Act 2", script};
    Core::Scenario *first = nullptr, *second = nullptr;
    std::unique_ptr<Core::VariableSlotSetOwner> owner;
};

// A factory serves its type while it lives; of two with one name the newer serves, and the
// older takes over again when the newer dies. A node outlives its factory (the quest factory
// tests run it then), and its copy is made by whichever factory serves its type now, with the
// slot state.
TEST_F(CoreNodes, FactoriesServeTheirTypeWhileTheyLive) {
    auto older = std::make_unique<ScriptedActionFactory>("Open Gate", script);
    {
        ScriptedActionFactory newer("Open Gate", script);
        EXPECT_EQ(Actions().FindFactory("Open Gate"), &newer);
    }
    EXPECT_EQ(Actions().FindFactory("Open Gate"), older.get());
    std::unique_ptr<Core::Action> node(Actions().CreateProduct("Open Gate", *owner));
    static_cast<Core::TVariableSlot<Core::TVariable<float>>*>(node->GetVariableSlots()[0])->SetConstValue(4.0f);
    older.reset();
    EXPECT_TRUE(Actions().FindFactory("Open Gate") == nullptr && Actions().CreateProduct("Open Gate", *owner) == nullptr);
    EXPECT_TRUE(node->GetType() == nullptr && node->GetTypeName() == "Open Gate");
    EXPECT_EQ(Actions().CloneProduct(*node), nullptr);
    EXPECT_EQ(Core::GetErrorLog().size(), 2u);

    ScriptedActionFactory successor("Open Gate", script);
    std::unique_ptr<Core::Action> copy(Actions().CloneProduct(*node));
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->GetType() == &successor && copy->GetOwner() == owner.get() && successor.GetProducts().size() == 1u);
    EXPECT_EQ(copy->GetVariableSlots()[0]->GetValueText(), "4");
}

// An event node asks the managers for its nodes and owns them; a failed replacement keeps the
// event; a node's owner and scenario read null once they are gone.
TEST_F(CoreNodes, EventNodesMakeAndOwnTheirNodes) {
    Core::EventNode* node = first->AddEventNode();
    Core::Event* event = node->SetEvent("Mission - Started");
    ASSERT_TRUE(event && event->GetOwner() == node && event->GetScenario() == first);
    EXPECT_NE(node->SetEvent("Mission - Started"), event);
    EXPECT_EQ(started.GetProducts().size(), 1u);  // the replaced event is gone
    EXPECT_TRUE(node->SetEvent("Unknown") == nullptr && node->GetEvent() != nullptr);
    EXPECT_EQ(node->AddCondition("Act 1"), nullptr);  // an action type is no condition
    ASSERT_NE(node->AddAction("Act 1"), nullptr);
    std::unique_ptr<Core::Action> loose(Actions().CreateProduct("Act 1", *owner));
    owner.reset();
    EXPECT_TRUE(loose->GetOwner() == nullptr && loose->GetScenario() == nullptr);
    Manager().DestroyScenario(first);
    EXPECT_TRUE(act1.GetProducts().size() == 1u && started.GetProducts().empty());  // only the loose one is left
}

// Only events of the fired type in running scenarios take part; an activated event whose
// conditions hold runs its node's actions in order.
TEST_F(CoreNodes, FiringDispatchesToEventsOfTheTypeInRunningScenarios) {
    AddRule(first, "Mission - Started");
    AddRule(first, "Mission - Loaded");
    AddRule(second, "Mission - Started");
    Core::StaticMeshEntity hero("hero", Vec3(), 1.0f);
    Core::EventParams params(&hero);
    const std::vector<std::string> rule = {"event Mission - Started", "condition Check", "action Act 1", "action Act 2"};
    struct Case {
        bool secondPaused, activate, conditionHolds;
        unsigned ran;
        std::vector<std::string> log;
    } const cases[] = {
        {false, true, true, 2, {rule[0], rule[1], rule[2], rule[3], rule[0], rule[1], rule[2], rule[3]}},
        {true, true, true, 1, rule},
        {true, true, false, 0, {rule[0], rule[1]}},
        {true, false, true, 0, {rule[0]}},
    };
    for (const Case& c : cases) {
        script.log.clear();
        script.activate = c.activate;
        script.conditionHolds = c.conditionHolds;
        c.secondPaused ? second->Pause() : second->Resume();
        EXPECT_EQ(Fire("Mission - Started", params), c.ran);
        EXPECT_EQ(script.log, c.log);
    }
    EXPECT_EQ(static_cast<ScriptedEvent*>(first->GetEventNodes()[0]->GetEvent())->lastParams, &params);
    EXPECT_EQ(params.GetInstigator(), &hero);
}

// A firing that comes back to a node still firing is refused there, not followed. An action
// may destroy its own scenario: the rest of the firing skips that scenario, which is deleted
// only when the firing ends.
TEST_F(CoreNodes, FiringBackIsRefusedAndAnActionMayDestroyItsScenario) {
    AddRule(first, "Mission - Started");
    Core::EventParams params;
    unsigned nested = 99;
    script.onAction = [&] {
        if (nested == 99) nested = Fire("Mission - Started", params);
    };
    EXPECT_TRUE(Fire("Mission - Started", params) == 1u && nested == 0u);
    ASSERT_EQ(Core::GetErrorLog().size(), 1u);
    EXPECT_NE(Core::GetErrorLog()[0].find("still firing"), std::string::npos);

    AddRule(first, "Mission - Started");
    AddRule(second, "Mission - Started");
    Aco_CoreRef ref;
    ref.SetRef(first);
    script.onAction = [&] {
        if (Manager().HoldsScenario(first)) Manager().DestroyScenario(first);
    };
    EXPECT_EQ(Fire("Mission - Started", params), 2u);  // first's second rule is skipped
    EXPECT_TRUE(ref.GetRef() == nullptr && Manager().GetScenarios().size() == 1u);
}

// An entity is in use while a variable of the scenario or a slot of one of its nodes refers to it.
TEST_F(CoreNodes, EntityInUseThroughVariablesAndNodeSlots) {
    auto target = std::make_unique<Core::StaticMeshEntity>("target", Vec3(), 1.0f);
    Core::StaticMeshEntity other("other", Vec3(), 1.0f);
    EXPECT_FALSE(first->GetIsEntityInUse(target.get()) || first->GetIsEntityInUse(nullptr));
    auto* variable = new Core::EntityVar("Goal", *first);
    variable->SetValue(target.get());
    first->AddVariable(variable);
    EXPECT_TRUE(first->GetIsEntityInUse(target.get()) && !second->GetIsEntityInUse(target.get()));
    variable->SetValue(&other);
    EXPECT_FALSE(first->GetIsEntityInUse(target.get()));
    auto* slot = new Core::EntityVarSlot(*first, "Whom");
    AddRule(first, "Mission - Started")->GetActions()[0]->AddVariableSlot(slot);
    slot->SetConstValue(target.get());
    EXPECT_TRUE(first->GetIsEntityInUse(target.get()));
    target.reset();  // the slot's constant empties
    EXPECT_TRUE(slot->GetValue() == nullptr && first->GetIsEntityInUse(&other));
    slot->Bind(variable);
    EXPECT_EQ(slot->GetValue(), &other);
}

}  // namespace
