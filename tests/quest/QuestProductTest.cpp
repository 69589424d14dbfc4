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
        for (Aco_Storyloom* construct : {&openGate, &hasKey, &started}) construct->GetFloat();
        node = scenario->AddEventNode();
        event = node->SetEvent("Mission - Started");
        condition = node->AddCondition("Has Key");
        action = node->AddAction("Open Gate");
        ASSERT_TRUE(event && condition && action);
    }

    Aco_Storyloom &openGate = Storyloom(MODE_OnConstruct_Action, "Open Gate"),
                  &hasKey = Storyloom(MODE_OnConstruct_Condition, "Has Key"),
                  &started = Storyloom(MODE_OnConstruct_Event, "Mission - Started");
    Aco_FloatChannel& result = Value("!Result");
    Probe &run = Make<Probe>("Run"), &holds = Make<Probe>("Holds"), &activate = Make<Probe>("Activate");
    Aco_CoreRef& who = Ref("Who");
    Aco_StringChannel& label = Text("Label");
    Core::StaticMeshEntity hero{"Hero", {}, 1.0f};
    Core::EventNode* node = nullptr;
    Core::Event* event = nullptr;
    Core::Condition* condition = nullptr;
    Core::Action* action = nullptr;
};

// Nodes outlive their construct channel: each run reports and fails, the node stays usable
// (what the node shows then is QuestLifetimeTest's).
TEST_F(QuestProductTest, NodesOfADestroyedChannelReport) {
    for (Aco_Storyloom* construct : {&openGate, &hasKey, &started}) Destroy(*construct);
    Core::EventParams params(&hero);
    action->Execute();
    EXPECT_FALSE(condition->Evaluate());
    EXPECT_FALSE(event->CheckActivate(params));
    EXPECT_THAT(
        DebugMessages(),
        ElementsAre("Error: QuestAction: Trying to execute an action that is no longer there (Open Gate)",
                    "Error: QuestCondition: Trying to execute a condition that is no longer there (Has Key)",
                    "Error: QuestEvent: Trying to execute a event that is no longer there (Mission - Started)"));
}

// Without its result child a node says so and fails; an action still pulls its outputs.
TEST_F(QuestProductTest, MissingResultChildrenAreReported) {
    auto* opened = new Core::TVariable<float>("opened", 5.0f);
    ASSERT_TRUE(scenario->AddVariable(opened));
    SlotAt<Core::VariableSlotBase>(*action, 0).Bind(opened);
    for (Aco_Storyloom* construct : {&openGate, &hasKey, &started})
        construct->UnlinkChild(construct == &started ? 3 : 1);
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
    for (auto [value, holdsExpected] : {std::pair{0.0f, false}, {0.5f, true}, {-1.0f, true}, {std::nanf(""), true}}) {
        holds.onEvaluate = [v = value] { return v; };
        EXPECT_EQ(condition->Evaluate(), holdsExpected) << value;
    }
}

// The instigator child is pointed at the instigator (or emptied) before the parameters are
// counted, then the parameters go to their children; a missing instigator child or a wrong
// count fails with 105.0 in the channel.
TEST_F(QuestProductTest, EventChecksInstigatorAndParameters) {
    activate.onEvaluate = [] { return 1.0f; };
    Aco_FloatChannel& rewardChild = Value("Reward", 7.0f);
    Aco_StringChannel& briefingChild = Text("Briefing", "stale");
    for (A3d_Channel* child : std::vector<A3d_Channel*>{&rewardChild, &briefingChild, &Value("Bonus")})
        Link(started, 2, *child);
    Core::TVariable<float> reward("Reward", 4.0f), bonus("Bonus");
    Core::StringVar briefing("Briefing", "Find the key");
    Core::EventParams two(&hero), three;
    for (Core::VariableBase* parameter : std::initializer_list<Core::VariableBase*>{&reward, &briefing, &bonus}) {
        if (parameter != &bonus) two.AddParameter(parameter);
        three.AddParameter(parameter);
    }
    EXPECT_FALSE(event->CheckActivate(two));
    EXPECT_EQ(who.GetRef(), &hero);
    EXPECT_EQ(StoredValue(started), 105.0f);
    EXPECT_TRUE(event->CheckActivate(three));
    EXPECT_EQ(who.GetRef(), nullptr);
    EXPECT_EQ(StoredValue(rewardChild), 4.0f);
    EXPECT_EQ(TextOf(briefingChild), "Find the key");

    started.UnlinkChild(1);
    started.SetFloat(0.0f);
    EXPECT_FALSE(event->CheckActivate(three));
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
        {"Take $0$ to $1$", "Take A to the gate"},
        {"$7$ left", "$7$ left"},
        {"cost: 5$", "cost: 5$"},
        {"$x$", "A"},
        {"$1$$0$$", "the gateA$"},
        {"$$1$", "A1$"},
        {"$0$1$", "A1$"},
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

// "EventSystem_FireEvent" fires the type its "EventType" value names, truncated; there are four.
TEST_F(QuestProductTest, FireEventModeFiresByTypeIndex) {
    const char* types[] = {"Mission - Started", "Mission - Loaded", "Area - Entity Entered", "Area - Entity Left"};
    std::vector<std::string> fired;
    activate.onEvaluate = [&] { return fired.push_back(TextOf(label)), 0.0f; };
    for (int index = 0; index < 5; ++index) {
        if (index > 0 && index < 4) {
            started.SetChannelName(types[index]);
            started.GetFloat();
            event = scenario->AddEventNode()->SetEvent(types[index]);
            ASSERT_TRUE(event);
        }
        if (index < 4) SlotAt<Core::TVariableSlot<Core::StringVar>>(*event, 0).SetConstValue(types[index]);
        EXPECT_EQ(Fire(hero, index + 0.9f).GetFloat(), index < 4 ? 0.0f : 106.0f);
    }
    EXPECT_THAT(fired, ElementsAre(types[0], types[1], types[2], types[3]));
    ExpectLog({EvaluationReport("EventSystem_FireEvent", "ChildLinkInvalid[EventType]", "Fire")});
}

// The mode's parameter children give only their kinds: each is sent as a fresh variable, so
// the event's parameter children receive initial values, not the values linked to the mode.
TEST_F(QuestProductTest, FireEventModeSendsFreshParameters) {
    Aco_FloatChannel& reward = Value("Reward", 7.0f);
    Aco_StringChannel& briefing = Text("Briefing", "stale");
    Link(started, 2, reward);
    Link(started, 2, briefing);
    activate.onEvaluate = [] { return 1.0f; };
    Aco_Storyloom& fire = Fire(hero);
    Link(fire, 2, Value("Reward", 3.0f));
    Link(fire, 2, Text("Briefing", "given"));
    EXPECT_EQ(fire.GetFloat(), 0.0f);
    EXPECT_EQ(activate.reads, 1);
    EXPECT_EQ(StoredValue(reward), 0.0f);
    EXPECT_EQ(TextOf(briefing), "");
}

// A scenario destroyed from the graph while copies of its nodes still point at it: the copies
// keep running against their channel, a copy of a copy gets no slot to match its own, and a
// new node for an owner that outlived its scenario comes without slots and without a report.
TEST_F(QuestProductTest, ScenarioDestroyedUnderItsNodes) {
    Link(openGate, 0, Ref("Who"));
    openGate.GetFloat();
    Core::Action* fresh = scenario->AddEventNode()->AddAction("Open Gate");
    ASSERT_TRUE(fresh);
    std::unique_ptr<Core::Action> copy(Actions().CloneProduct(*fresh));
    ASSERT_TRUE(copy);
    auto owner = std::make_unique<Core::VariableSlotSetOwner>(*scenario);
    ASSERT_EQ(Mode(MODE_Scenario_Destroy, {&Ref("Scenario", scenario)}).GetFloat(), 0.0f);
    EXPECT_EQ(owner->GetScenario(), nullptr);

    copy->Execute();
    EXPECT_EQ(run.reads, 1);
    EXPECT_EQ(Actions().CloneProduct(*copy), nullptr);
    ExpectLog({"VariableSlot type/size mismatch in Open Gate while attempting to clone!"});
    std::unique_ptr<Core::Action> late(Actions().CreateProduct("Open Gate", *owner));
    ASSERT_TRUE(late);
    EXPECT_THAT(late->GetVariableSlots(), IsEmpty());
    late->Execute();
    EXPECT_EQ(run.reads, 2);
}

}  // namespace
