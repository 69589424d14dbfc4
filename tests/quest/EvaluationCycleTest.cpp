#include <new>

#include "QuestTestSupport.h"

namespace {

// Channels that reach themselves again while they run: every evaluation ends, and the channel
// that was reached again answers 105.0 without running its mode and without a report.
class EvaluationCycleTest : public QuestTest {
protected:
    // "Scenario_IsIDInScenario" reads its "iID" child: the simplest mode that evaluates a child.
    Aco_Storyloom& Reader(const char* name) {
        Aco_Storyloom& channel = Storyloom(MODE_Scenario_IsIDInScenario, name);
        Link(channel, 0, Ref("Scenario", scenario));
        return channel;
    }
    // "Mission - Started" whose activation child is `activation`, and a node of it running
    // the action "Count" (its run child `run`).
    void DefineRule(A3d_Channel& activation, A3d_Channel& run) {
        Aco_Storyloom &started = Storyloom(MODE_OnConstruct_Event, "Mission - Started"),
                      &action = Storyloom(MODE_OnConstruct_Action, "Count");
        Link(started, 1, Ref("Who"));
        Link(started, 3, activation);
        Link(action, 1, run);
        EXPECT_EQ(started.GetFloat(), 0.0f);
        EXPECT_EQ(action.GetFloat(), 0.0f);
        Core::EventNode* node = scenario->AddEventNode();
        ASSERT_TRUE(node->SetEvent("Mission - Started") && node->AddAction("Count"));
    }
    Core::StaticMeshEntity hero{"Hero", {}, 1.0f};
};

// Rings of one, two and three channels, the last reached through CallChannel: each ends, and
// the guard is released, so the next evaluation runs as the first did.
TEST_F(EvaluationCycleTest, RingsEndSilentlyAndRunAgain) {
    for (int length = 1; length <= 3; ++length) {
        SCOPED_TRACE(length);
        std::vector<Aco_Storyloom*> ring;
        for (int i = 0; i < length; ++i) ring.push_back(&Reader("Ring"));
        for (int i = 0; i < length; ++i) Link(*ring[i], 1, *ring[(i + 1) % length]);
        auto& found = Value("bInScenario", 7.0f);
        Link(*ring.back(), 2, found);
        for (int pass = 0; pass < 2; ++pass) {
            EXPECT_TRUE(ring.front()->CallChannel());
            EXPECT_EQ(StoredValue(*ring.front()), 0.0f);
            EXPECT_EQ(StoredValue(found), 0.0f);  // the last one ran to its end with 105.0 as the id
        }
    }
}

// An event whose activation fires its own type, and an action whose run child fires the event
// that runs it: the firing channel is reached again inside its own firing and answers 105.0
// there, so the action runs once.
TEST_F(EvaluationCycleTest, NodesThatFireTheirOwnEvent) {
    for (bool fromTheAction : {false, true}) {
        SCOPED_TRACE(fromTheAction ? "action fires" : "activation fires");
        Manager().DestroyScenario(scenario);  // with the rule of the last round
        scenario = Manager().CreateScenario();
        Aco_Storyloom& fire = Fire(hero);
        Probe& count = Make<Probe>("Count");
        count.onEvaluate = [&] { return fromTheAction ? fire.GetFloat() : 1.0f; };
        DefineRule(fromTheAction ? static_cast<A3d_Channel&>(Value("Yes", 1.0f)) : fire, count);
        EXPECT_EQ(fire.GetFloat(), 0.0f);
        EXPECT_EQ(count.reads, 1);
    }
}

// A construct channel among its own slot children, and a condition whose result child is the
// construct channel: building the factory and evaluating the node both end.
TEST_F(EvaluationCycleTest, ConstructChannelAmongItsOwnChildren) {
    Aco_Storyloom& check = Storyloom(MODE_OnConstruct_Condition, "Check");
    Link(check, 0, check);
    Link(check, 1, check);
    EXPECT_EQ(check.GetFloat(), 0.0f);
    Core::Condition* condition = scenario->AddEventNode()->AddCondition("Check");
    ASSERT_TRUE(condition);
    EXPECT_FALSE(condition->Evaluate());  // the result child, the construct channel itself, answers 0.0
    const std::string refused = "QuestFactory: Type not supported at 0 for Check";  // on evaluation and first node
    ExpectLog({refused, refused});
}

// The host's gate decides before the guard: a channel whose gate has closed by the time it is
// reached again answers 0.0 without a report; with the gate open the refusal stores 105.0
// like every other failure.
TEST_F(EvaluationCycleTest, GateDecidesBeforeTheGuardAndTheRefusalIsStored) {
    for (bool closeGate : {false, true}) {
        SCOPED_TRACE(closeGate ? "gate closed inside" : "gate open");
        Aco_Storyloom& reader = Reader("Reader");
        Probe& reentry = Make<Probe>("Reentry");
        float inner = -1.0f, stored = -1.0f;
        reentry.onEvaluate = [&] {
            if (closeGate) reader.SetEvaluationGate(false);
            inner = reader.GetFloat();
            stored = StoredValue(reader);
            return 1.0f;
        };
        Link(reader, 1, reentry);
        reader.GetFloat();
        EXPECT_EQ(inner, closeGate ? 0.0f : 105.0f);
        EXPECT_EQ(stored, inner);
    }
}

// Memory running out inside a mode (here a child that cannot be read for it) never leaves the
// evaluation: the channel reports it, answers 105.0 and evaluates normally afterwards.
TEST_F(EvaluationCycleTest, MemoryRunningOutEndsTheEvaluationWithAReport) {
    Aco_Storyloom& reader = Reader("Reader");
    Probe& child = Make<Probe>("Exhausting");
    child.onEvaluate = []() -> float { throw std::bad_alloc(); };
    Link(reader, 1, child);
    EXPECT_EQ(reader.GetFloat(), 105.0f);
    ExpectLog({EvaluationReport("Scenario_IsIDInScenario", "OutOfMemory", "Reader")});
    child.onEvaluate = nullptr;
    EXPECT_EQ(reader.GetFloat(), 0.0f);
}

}  // namespace
