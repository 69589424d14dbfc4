#include "QuestTestSupport.h"

namespace {

using Core::RefSupport;

// A designer defines "Mission - Started", "Has Key" and "Open Gate" out of channels, builds
// a scenario rule from them and fires the event from the graph: every channel the nodes run
// sees the slot values, and the action's output comes back into its variable.
TEST_F(QuestTest, DesignerDefinesFiresAndRunsChannelNodes) {
    Core::StaticMeshEntity hero("Hero", {}, 1.0f), gate("Gate", {}, 2.0f);
    scenario->AddEntity(&hero);
    scenario->AddEntity(&gate);

    Aco_Storyloom& started = Storyloom(MODE_OnConstruct_Event, "Mission - Started");
    auto& eventLabel = Text("@Label");
    auto& eventHero = Make<Aco_CoreRef>("Hero");
    auto& who = Make<Aco_CoreRef>("Who");
    auto& reward = Value("Reward", 7.0f);
    auto& briefing = Text("Briefing", "stale");
    auto& activation = Make<Probe>("Activate");
    Link(started, 0, eventLabel);
    Link(started, 0, eventHero);
    Link(started, 1, who);
    Link(started, 2, reward);
    Link(started, 2, briefing);
    Link(started, 3, activation);
    Link(started, 4, Text("Display", "$0$ for $1$"));

    Aco_Storyloom& hasKey = Storyloom(MODE_OnConstruct_Condition, "Has Key");
    auto& holder = Make<Aco_CoreRef>("Holder");
    Aco_Storyloom& key = Storyloom(MODE_StringSelectVar, "Key");
    Link(key, 0, Text("Type", "Colour"));
    auto& holds = Make<Probe>("Holds");
    Link(hasKey, 0, holder);
    Link(hasKey, 0, key);
    Link(hasKey, 1, holds);

    Aco_Storyloom& openGate = Storyloom(MODE_OnConstruct_Action, "Open Gate");
    auto& result = Value("!Result");
    auto& actionLabel = Text("@Label");
    auto& gateRef = Make<Aco_CoreRef>("Gate");
    auto& state = Enum("State", "Door");
    auto &goalShort = Text("Short"), &goalLong = Text("Long");
    auto& open = Make<Probe>("Open");
    for (A3d_Channel* slot : std::vector<A3d_Channel*>{&result, &actionLabel, &gateRef, &state,
                                                       &Objective("Goal", goalShort, goalLong)})
        Link(openGate, 0, *slot);
    Link(openGate, 1, open);
    Link(openGate, 2, Text("Display", "Open $2$ ($3$): $4$"));

    for (Aco_Storyloom* construct : {&started, &hasKey, &openGate}) EXPECT_EQ(construct->GetFloat(), 0.0f);

    // The scenario's rule, its slots bound to variables or given constants.
    auto* heroVar = new Core::EntityVar("hero", *scenario);
    heroVar->SetValue(&hero);
    auto* opened = new Core::TVariable<float>("opened");
    ASSERT_TRUE(scenario->AddVariable(heroVar) && scenario->AddVariable(opened));
    Core::EventNode* node = scenario->AddEventNode();
    Core::Event* event = node->SetEvent("Mission - Started");
    Core::Condition* condition = node->AddCondition("Has Key");
    Core::Action* action = node->AddAction("Open Gate");
    ASSERT_TRUE(event && condition && action);
    ASSERT_EQ(action->GetVariableSlots().size(), 5u);
    SlotAt<Core::TVariableSlot<Core::StringVar>>(*event, 0).SetConstValue("Act One");
    SlotAt<Core::VariableSlotBase>(*event, 1).Bind(heroVar);
    SlotAt<Core::VariableSlotBase>(*condition, 0).Bind(heroVar);
    SlotAt<Core::EnumVarSlot>(*condition, 1).SetConstValue({"Colour", 1});
    SlotAt<Core::VariableSlotBase>(*action, 0).Bind(opened);
    SlotAt<Core::TVariableSlot<Core::StringVar>>(*action, 1).SetConstValue("North gate");
    SlotAt<Core::EntityVarSlot>(*action, 2).SetConstValue(&gate);
    SlotAt<Core::EnumVarSlot>(*action, 3).SetConstValue({"Door", 1});
    SlotAt<Core::TVariableSlot<Core::ObjectiveVar>>(*action, 4).SetConstValue({"Open", "Open the north gate"});

    struct {
        std::string eventLabel, briefing, actionLabel, goalShort, goalLong;
        RefSupport *eventHero = nullptr, *who = nullptr, *holder = nullptr, *gate = nullptr;
        float reward = -1.0f, key = -1.0f, state = -1.0f;
    } seen;
    activation.onEvaluate = [&] {
        seen.eventLabel = TextOf(eventLabel);
        seen.eventHero = eventHero.GetRef();
        seen.who = who.GetRef();
        seen.reward = StoredValue(reward);
        seen.briefing = TextOf(briefing);
        return 1.0f;
    };
    holds.onEvaluate = [&] {
        seen.holder = holder.GetRef();
        seen.key = StoredValue(key);
        return 1.0f;
    };
    open.onEvaluate = [&] {
        seen.actionLabel = TextOf(actionLabel);
        seen.gate = gateRef.GetRef();
        seen.state = StoredValue(state);
        seen.goalShort = TextOf(goalShort);
        seen.goalLong = TextOf(goalLong);
        result.SetFloat(42.0f);
        return 0.0f;
    };

    // Fired from the graph with the hero as instigator and two fresh parameters.
    Aco_Storyloom& fire = Storyloom(MODE_EventSystem_FireEvent, "Fire");
    auto &scenarioRef = Make<Aco_CoreRef>("Scenario"), &instigator = Make<Aco_CoreRef>("Instigator");
    scenarioRef.SetRef(scenario);
    instigator.SetRef(&hero);
    Link(fire, 0, scenarioRef);
    Link(fire, 1, instigator);
    Link(fire, 2, Value("Reward"));
    Link(fire, 2, Text("Briefing"));
    Link(fire, 3, Enum("EventType", "EventType", 0.0f));
    EXPECT_EQ(fire.GetFloat(), 0.0f);

    EXPECT_EQ(seen.eventLabel, "Act One");
    EXPECT_EQ(seen.eventHero, static_cast<RefSupport*>(&hero));
    EXPECT_EQ(seen.who, static_cast<RefSupport*>(&hero));
    EXPECT_EQ(seen.reward, 0.0f);  // a fresh parameter holds the initial value
    EXPECT_EQ(seen.briefing, "");
    EXPECT_EQ(seen.holder, static_cast<RefSupport*>(&hero));
    EXPECT_EQ(seen.key, 1.0f);
    EXPECT_EQ(seen.actionLabel, "North gate");
    EXPECT_EQ(seen.gate, static_cast<RefSupport*>(&gate));
    EXPECT_EQ(seen.state, 1.0f);
    EXPECT_EQ(seen.goalShort, "Open");
    EXPECT_EQ(seen.goalLong, "Open the north gate");
    EXPECT_EQ(opened->GetValue(), 42.0f);

    EXPECT_EQ(event->GetDisplayText(), "Act One for Hero");
    EXPECT_EQ(action->GetDisplayText(), "Open Gate (Open): Open");
    EXPECT_THAT(ErrorLog(), ::testing::IsEmpty());
    EXPECT_THAT(DebugMessages(), ::testing::IsEmpty());
}

}  // namespace
