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
    auto &eventLabel = Text("@Label"), &briefing = Text("Briefing", "stale");
    auto &eventHero = Ref("Hero"), &who = Ref("Who");
    auto& reward = Value("Reward", 7.0f);
    auto& activation = Make<Probe>("Activate");
    for (auto [position, child] : std::vector<std::pair<unsigned, A3d_Channel*>>{{0, &eventLabel},
                                                                                 {0, &eventHero},
                                                                                 {1, &who},
                                                                                 {2, &reward},
                                                                                 {2, &briefing},
                                                                                 {3, &activation},
                                                                                 {4, &Text("Display", "$0$ for $1$")}})
        Link(started, position, *child);

    Aco_Storyloom& hasKey = Storyloom(MODE_OnConstruct_Condition, "Has Key");
    auto& holder = Ref("Holder");
    Aco_Storyloom& key = StringSelect("Key", "Colour");
    auto& holds = Make<Probe>("Holds");
    Link(hasKey, 0, holder);
    Link(hasKey, 0, key);
    Link(hasKey, 1, holds);

    Aco_Storyloom& openGate = Storyloom(MODE_OnConstruct_Action, "Open Gate");
    auto& result = Value("!Result");
    auto& actionLabel = Text("@Label");
    auto& gateRef = Ref("Gate");
    auto& state = Enum("State", "Door");
    auto &goalShort = Text("Short"), &goalLong = Text("Long");
    auto& open = Make<Probe>("Open");
    for (A3d_Channel* slot :
         std::vector<A3d_Channel*>{&result, &actionLabel, &gateRef, &state, &Objective("Goal", goalShort, goalLong)})
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

    // What each node's channel sees when it runs.
    std::vector<std::string> seen;
    auto ref = [](Aco_CoreRef& channel) {
        auto* entity = dynamic_cast<Core::EntityBase*>(channel.GetRef());
        return entity ? entity->GetName() : "<none>";
    };
    auto value = [](Aco_FloatChannel& channel) { return std::to_string(int(StoredValue(channel))); };
    activation.onEvaluate = [&] {
        seen.insert(seen.end(), {TextOf(eventLabel), ref(eventHero), ref(who), value(reward), TextOf(briefing)});
        return 1.0f;
    };
    holds.onEvaluate = [&] {
        seen.insert(seen.end(), {ref(holder), value(key)});
        return 1.0f;
    };
    open.onEvaluate = [&] {
        seen.insert(seen.end(), {TextOf(actionLabel), ref(gateRef), value(state), TextOf(goalShort), TextOf(goalLong)});
        result.SetFloat(42.0f);
        return 0.0f;
    };

    // Fired from the graph with the hero as instigator and two fresh parameters, which hold
    // their initial values.
    Aco_Storyloom& fire = Fire(hero);
    Link(fire, 2, Value("Reward"));
    Link(fire, 2, Text("Briefing"));
    EXPECT_EQ(fire.GetFloat(), 0.0f);
    EXPECT_THAT(seen, testing::ElementsAre("Act One", "Hero", "Hero", "0", "",  // the event
                                           "Hero", "1",                         // the condition
                                           "North gate", "Gate", "1", "Open", "Open the north gate"));
    EXPECT_EQ(opened->GetValue(), 42.0f);

    EXPECT_EQ(event->GetDisplayText(), "Act One for Hero");
    EXPECT_EQ(action->GetDisplayText(), "Open Gate (Open): Open");
    EXPECT_THAT(ErrorLog(), testing::IsEmpty());
    EXPECT_THAT(DebugMessages(), testing::IsEmpty());
}

}  // namespace
