#include <memory>

#include "CoreTestSupport.h"
#include "ScriptedNodes.h"

namespace {

using CoreFramework::Singleton;
using VelmMathLib::Vec3;

// Two scripted factories per kind: nodes of type "A ..." and "B ...".
class CoreFireEvent : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        first = Manager().CreateScenario();
        second = Manager().CreateScenario();
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
    static unsigned Fire(const std::string& type, Core::EventParams& params) {
        return Singleton<Core::EventFactoryManager>::Instance().FireEvent(type, params);
    }

    NodeScript script;
    ScriptedEventFactory started{"Mission - Started", script}, loaded{"Mission - Loaded", script};
    ScriptedConditionFactory check{"Check", script};
    ScriptedActionFactory act1{"Act 1", script}, act2{"Act 2", script};
    Core::Scenario* first = nullptr;
    Core::Scenario* second = nullptr;
};

// Only events of the fired type in running scenarios take part; an activated event whose
// conditions hold runs its node's actions in order.
TEST_F(CoreFireEvent, DispatchesToEventsOfTheTypeInRunningScenarios) {
    AddRule(first, "Mission - Started");
    AddRule(first, "Mission - Loaded");
    AddRule(second, "Mission - Started");
    Core::StaticMeshEntity hero("hero", Vec3(), 1.0f);
    Core::EventParams params(&hero);

    struct Case {
        bool secondPaused, activate, conditionHolds;
        unsigned ran;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {false, true, true, 2,
         {"event Mission - Started", "condition Check", "action Act 1", "action Act 2", "event Mission - Started",
          "condition Check", "action Act 1", "action Act 2"}},
        {true, true, true, 1, {"event Mission - Started", "condition Check", "action Act 1", "action Act 2"}},
        {true, true, false, 0, {"event Mission - Started", "condition Check"}},
        {true, false, true, 0, {"event Mission - Started"}},
    };
    for (const Case& c : cases) {
        script.log.clear();
        script.activate = c.activate;
        script.conditionHolds = c.conditionHolds;
        c.secondPaused ? second->Pause() : second->Resume();
        EXPECT_EQ(Fire("Mission - Started", params), c.ran);
        EXPECT_EQ(script.log, c.log);
    }
    auto* event = static_cast<ScriptedEvent*>(first->GetEventNodes()[0]->GetEvent());
    EXPECT_EQ(event->lastParams, &params);
    EXPECT_EQ(params.GetInstigator(), &hero);
    script.log.clear();
    EXPECT_EQ(Fire("Area - Entity Left", params), 0u);
    EXPECT_TRUE(script.log.empty());
}

// An action may destroy its own scenario: the rest of the firing skips that scenario and the
// scenario is deleted only when the firing ends.
TEST_F(CoreFireEvent, AnActionMayDestroyItsOwnScenario) {
    AddRule(first, "Mission - Started");
    AddRule(first, "Mission - Started");
    AddRule(second, "Mission - Started");
    Aco_CoreRef ref;
    ref.SetRef(first);
    script.onAction = [&] {
        if (Manager().HoldsScenario(first)) Manager().DestroyScenario(first);
    };
    Core::EventParams params;
    EXPECT_EQ(Fire("Mission - Started", params), 2u);  // first's second rule is skipped
    EXPECT_EQ(ref.GetRef(), nullptr);
    EXPECT_EQ(Manager().GetScenarios().size(), 1u);
}

// A firing that comes back to a node still firing is refused there, not followed.
TEST_F(CoreFireEvent, FiringBackIntoARunningNodeIsRefused) {
    AddRule(first, "Mission - Started");
    Core::EventParams params;
    unsigned nested = 99;
    script.onAction = [&] {
        if (nested == 99) nested = Fire("Mission - Started", params);
    };
    EXPECT_EQ(Fire("Mission - Started", params), 1u);
    EXPECT_EQ(nested, 0u);
    ASSERT_EQ(Core::GetErrorLog().size(), 1u);
    EXPECT_NE(Core::GetErrorLog()[0].find("still firing"), std::string::npos);
}

// An entity is in use while a variable of the scenario or a slot of one of its nodes refers to it.
TEST_F(CoreFireEvent, EntityInUseThroughVariablesAndNodeSlots) {
    auto target = std::make_unique<Core::StaticMeshEntity>("target", Vec3(), 1.0f);
    Core::StaticMeshEntity other("other", Vec3(), 1.0f);
    EXPECT_FALSE(first->GetIsEntityInUse(target.get()));
    EXPECT_FALSE(first->GetIsEntityInUse(nullptr));

    auto* variable = new Core::EntityVar("Goal", *first);
    variable->SetValue(target.get());
    first->AddVariable(variable);
    EXPECT_TRUE(first->GetIsEntityInUse(target.get()));
    EXPECT_FALSE(second->GetIsEntityInUse(target.get()));
    variable->SetValue(&other);
    EXPECT_FALSE(first->GetIsEntityInUse(target.get()));

    Core::Action* action = AddRule(first, "Mission - Started")->GetActions()[0];
    auto* slot = new Core::EntityVarSlot(*first, "Whom");
    action->AddVariableSlot(slot);
    slot->SetConstValue(target.get());
    EXPECT_TRUE(first->GetIsEntityInUse(target.get()));
    target.reset();  // the slot's constant empties
    EXPECT_EQ(slot->GetValue(), nullptr);
    EXPECT_TRUE(first->GetIsEntityInUse(&other));
    slot->Bind(variable);
    EXPECT_EQ(slot->GetValue(), &other);
}

}  // namespace
