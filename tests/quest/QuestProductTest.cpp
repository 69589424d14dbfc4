#include <cmath>

#include "QuestTestSupport.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A rule of the three channel-defined kinds, each construct channel with one slot child.
class QuestProductTest : public QuestTest {
protected:
    void SetUp() override {
        QuestTest::SetUp();
        Link(openGate, 0, result);
        Link(openGate, 1, run);
        Link(hasKey, 0, Text("Key"));
        Link(hasKey, 1, holds);
        Link(started, 0, label);
        Link(started, 1, who);
        Link(started, 3, activate);
        Build();
    }
    void Build() {
        for (Aco_Storyloom* construct : {&openGate, &hasKey, &started}) construct->GetFloat();
        node = scenario->AddEventNode();
        event = node->SetEvent("Mission - Started");
        condition = node->AddCondition("Has Key");
        action = node->AddAction("Open Gate");
        ASSERT_TRUE(event && condition && action);
    }

    Aco_Storyloom& openGate = Storyloom(MODE_OnConstruct_Action, "Open Gate");
    Aco_Storyloom& hasKey = Storyloom(MODE_OnConstruct_Condition, "Has Key");
    Aco_Storyloom& started = Storyloom(MODE_OnConstruct_Event, "Mission - Started");
    Aco_FloatChannel& result = Value("!Result");
    Probe& run = Make<Probe>("Run");
    Probe& holds = Make<Probe>("Holds");
    Probe& activate = Make<Probe>("Activate");
    Aco_CoreRef& who = Make<Aco_CoreRef>("Who");
    Aco_StringChannel& label = Text("Label");
    Core::StaticMeshEntity hero{"Hero", {}, 1.0f};
    Core::EventNode* node = nullptr;
    Core::Event* event = nullptr;
    Core::Condition* condition = nullptr;
    Core::Action* action = nullptr;
};

// Nodes outlive their construct channel: each run reports and fails, the node stays usable.
TEST_F(QuestProductTest, NodesOfADestroyedChannelReport) {
    for (Aco_Storyloom* construct : {&openGate, &hasKey, &started}) Destroy(*construct);
    Core::EventParams params(&hero);
    action->Execute();
    EXPECT_FALSE(condition->Evaluate());
    EXPECT_FALSE(event->CheckActivate(params));
    EXPECT_THAT(DebugMessages(),
                ElementsAre("Error: QuestAction: Trying to execute an action that is no longer there (Open Gate)",
                            "Error: QuestCondition: Trying to execute a condition that is no longer there (Has Key)",
                            "Error: QuestEvent: Trying to execute a event that is no longer there (Mission - Started)"));
    EXPECT_EQ(action->GetDisplayText(), "Channel Open Gate was deleted!");
    EXPECT_EQ(condition->GetDisplayText(), "Channel Has Key was deleted!");
    EXPECT_EQ(event->GetDisplayText(), "Channel Mission - Started was deleted!");
}

// Without its result child a node says so and fails; an action still pulls its outputs.
TEST_F(QuestProductTest, MissingResultChildrenAreReported) {
    auto* opened = new Core::TVariable<float>("opened", 5.0f);
    ASSERT_TRUE(scenario->AddVariable(opened));
    SlotAt<Core::VariableSlotBase>(*action, 0).Bind(opened);
    for (Aco_Storyloom* construct : {&openGate, &hasKey, &started}) construct->UnlinkChild(construct == &started ? 3 : 1);
    result.SetDefaultFloat(9.0f);  // the output child now computes 9 whatever it is given
    result.SetDefaultFloatSetting(true);
    Core::EventParams params;
    action->Execute();
    EXPECT_FALSE(condition->Evaluate());
    EXPECT_FALSE(event->CheckActivate(params));
    EXPECT_EQ(opened->GetValue(), 9.0f);
    EXPECT_THAT(DebugMessages(), ElementsAre("Error: QuestAction: Trying to call unlinked child (Open Gate)",
                                             "Error: QuestCondition: Trying to call unlinked child (Has Key)",
                                             "Error: QuestEvent: Trying to call unlinked child (Mission - Started)"));
}

// Any value but 0 holds, NaN included.
TEST_F(QuestProductTest, ConditionHoldsForEveryValueButZero) {
    const std::pair<float, bool> cases[] = {{0.0f, false}, {0.5f, true}, {-1.0f, true}, {std::nanf(""), true}};
    for (const auto& [value, holdsExpected] : cases) {
        holds.onEvaluate = [v = value] { return v; };
        EXPECT_EQ(condition->Evaluate(), holdsExpected) << value;
    }
}

// The instigator child is pointed at the instigator (or emptied) before the parameters are
// counted; a missing instigator child or a wrong count fails with 105.0 in the channel.
TEST_F(QuestProductTest, EventChecksInstigatorAndParameters) {
    activate.onEvaluate = [] { return 1.0f; };
    Link(started, 2, Value("Reward"));
    Link(started, 2, Text("Briefing"));
    Link(started, 2, Value("Bonus"));
    Core::TVariable<float> reward("Reward"), bonus("Bonus");
    Core::StringVar briefing("Briefing");
    Core::EventParams two(&hero), none;
    two.AddParameter(&reward);
    two.AddParameter(&briefing);
    EXPECT_FALSE(event->CheckActivate(two));
    EXPECT_EQ(who.GetRef(), static_cast<Core::RefSupport*>(&hero));
    EXPECT_EQ(StoredValue(started), 105.0f);

    none.AddParameter(&reward);
    none.AddParameter(&briefing);
    none.AddParameter(&bonus);
    EXPECT_TRUE(event->CheckActivate(none));
    EXPECT_EQ(who.GetRef(), nullptr);

    started.UnlinkChild(1);
    started.SetFloat(0.0f);
    EXPECT_FALSE(event->CheckActivate(none));
    EXPECT_EQ(StoredValue(started), 105.0f);
    EXPECT_THAT(DebugMessages(),
                ElementsAre("Error: QuestEvent: An event was fired with an incorrect amount of parameters! "
                            "(Mission - Started)",
                            "Error: QuestEvent: Event has no Instigator child linked! (Mission - Started)"));
}

// "$n$" shows slot n's value; anything else stays as written.
TEST_F(QuestProductTest, DisplayTextShowsSlotValues) {
    auto& text = Text("DisplayText");
    Link(hasKey, 0, Text("Where"));
    Link(hasKey, 2, text);
    hasKey.GetFloat();
    Core::Condition* take = node->AddCondition("Has Key");
    ASSERT_EQ(take->GetVariableSlots().size(), 2u);
    SlotAt<Core::TVariableSlot<Core::StringVar>>(*take, 0).SetConstValue("A");
    SlotAt<Core::TVariableSlot<Core::StringVar>>(*take, 1).SetConstValue("the gate");
    const std::pair<const char*, const char*> cases[] = {
        {"Take $0$ to $1$", "Take A to the gate"}, {"$7$ left", "$7$ left"}, {"cost: 5$", "cost: 5$"},
        {"$x$", "A"},  {"$1$$0$$", "the gateA$"},  {"$$1$", "A1$"},  {"$0$1$", "A1$"},
    };
    for (const auto& [display, shown] : cases) {
        text.SetString(display);
        EXPECT_EQ(take->GetDisplayText(), shown) << display;
    }
    hasKey.UnlinkChild(2);
    EXPECT_EQ(take->GetDisplayText(), "Error: Mandatory child at 4 was not linked!");
    EXPECT_THAT(DebugMessages(), IsEmpty());
}

// A slot the node did not get from a quest factory is reported and skipped.
TEST_F(QuestProductTest, ForeignSlotsAreSkipped) {
    for (Core::VariableSlotSet* node : std::initializer_list<Core::VariableSlotSet*>{action, condition, event})
        node->AddVariableSlot(new Core::TVariableSlot<Core::StringVar>("plain"));
    Core::EventParams params;
    action->Execute();
    condition->Evaluate();
    event->CheckActivate(params);
    EXPECT_THAT(DebugMessages(), ElementsAre("QuestAction::ExecuteImpl().CurrVariableSlot",
                                             "QuestCondition::EvaluateImpl().CurrVariableSlot",
                                             "QuestEvent::CheckActivate().CurrVariableSlot"));
}

// "EventSystem_FireEvent" fires the type its "EventType" value names, and fails like any
// mode on a missing or wrong link.
TEST_F(QuestProductTest, FireEventModeFiresByTypeIndex) {
    Aco_Storyloom& fire = Storyloom(MODE_EventSystem_FireEvent, "Fire");
    auto &scenarioRef = Make<Aco_CoreRef>("Scenario"), &instigator = Make<Aco_CoreRef>("Instigator");
    auto& type = Enum("EventType", "EventType");
    Link(fire, 0, scenarioRef);
    Link(fire, 1, instigator);
    const std::string prefix = "Storyloom_EventSystem_FireEvent.CGR[].Channel[Fire].";

    EXPECT_EQ(fire.GetFloat(), 106.0f);
    scenarioRef.SetRef(scenario);
    EXPECT_EQ(fire.GetFloat(), 106.0f);
    instigator.SetRef(&hero);
    EXPECT_EQ(fire.GetFloat(), 105.0f);
    Link(fire, 3, type);
    type.SetFloat(4.0f);
    EXPECT_EQ(fire.GetFloat(), 106.0f);
    EXPECT_THAT(ErrorLog(), ElementsAre(prefix + "ChildLinkInvalid[CoreScenario]", prefix + "ChildLinkInvalid[Instigator]",
                                        prefix + "ChildLinkError[EventType]", prefix + "ChildLinkInvalid[EventType]"));

    // One rule per type, its event's label naming the type it was made for.
    const char* types[] = {"Mission - Started", "Mission - Loaded", "Area - Entity Entered", "Area - Entity Left"};
    std::vector<std::string> fired;
    activate.onEvaluate = [&] { return fired.push_back(TextOf(label)), 0.0f; };
    for (int index = 0; index < 4; ++index) {
        if (index > 0) {
            started.SetChannelName(types[index]);
            started.GetFloat();
            event = scenario->AddEventNode()->SetEvent(types[index]);
            ASSERT_TRUE(event);
        }
        SlotAt<Core::TVariableSlot<Core::StringVar>>(*event, 0).SetConstValue(types[index]);
        type.SetFloat(index + 0.9f);
        EXPECT_EQ(fire.GetFloat(), 0.0f);
    }
    EXPECT_THAT(fired, ElementsAre(types[0], types[1], types[2], types[3]));
}

}  // namespace
