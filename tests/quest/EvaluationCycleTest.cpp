#include <new>

#include "QuestTestSupport.h"

namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

// Channels that reach themselves again while they run: every evaluation ends, and the channel
// that was reached again answers 105.0 without running its mode and without a report.
class EvaluationCycleTest : public QuestTest {
protected:
    // "Scenario_IsIDInScenario" reads its "iID" child: the simplest mode that evaluates a child.
    Aco_Storyloom& Reader(const char* name) {
        Aco_Storyloom& channel = Storyloom(MODE_Scenario_IsIDInScenario, name);
        auto& reference = Make<Aco_CoreRef>("Scenario");
        reference.SetRef(scenario);
        Link(channel, 0, reference);
        return channel;
    }
    // Fires "Mission - Started" in the test's scenario with one instigator.
    Aco_Storyloom& Fire(const char* name) {
        Aco_Storyloom& fire = Storyloom(MODE_EventSystem_FireEvent, name);
        auto &scenarioRef = Make<Aco_CoreRef>("Scenario"), &instigator = Make<Aco_CoreRef>("Instigator");
        scenarioRef.SetRef(scenario);
        instigator.SetRef(&hero);
        Link(fire, 0, scenarioRef);
        Link(fire, 1, instigator);
        Link(fire, 3, Enum("EventType", "EventType", 0.0f));
        return fire;
    }
    // "Mission - Started" defined by a channel whose activation child is `activation`.
    void DefineStarted(A3d_Channel& activation) {
        Aco_Storyloom& started = Storyloom(MODE_OnConstruct_Event, "Mission - Started");
        Link(started, 1, Make<Aco_CoreRef>("Who"));
        Link(started, 3, activation);
        EXPECT_EQ(started.GetFloat(), 0.0f);
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
        EXPECT_TRUE(ErrorLog().empty());
    }
}

// An event whose activation fires its own type: the firing channel is reached again inside
// its own firing and answers 105.0 there, which activates the event once.
TEST_F(EvaluationCycleTest, EventActivationFiresItsOwnEvent) {
    Aco_Storyloom& fire = Fire("Fire");
    DefineStarted(fire);
    int runs = 0;
    auto& count = Make<Probe>("Count");
    count.onEvaluate = [&] { return float(++runs); };
    Aco_Storyloom& countAction = Storyloom(MODE_OnConstruct_Action, "Count");
    Link(countAction, 1, count);
    EXPECT_EQ(countAction.GetFloat(), 0.0f);
    Core::EventNode* node = scenario->AddEventNode();
    ASSERT_TRUE(node->SetEvent("Mission - Started") && node->AddAction("Count"));

    EXPECT_EQ(fire.GetFloat(), 0.0f);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(ErrorLog().empty());
}

// An action whose called child fires the event that runs the action: one nested firing, then
// the firing channel is reached again and refused.
TEST_F(EvaluationCycleTest, ActionFiresItsOwnEvent) {
    auto& yes = Value("Yes", 1.0f);
    DefineStarted(yes);
    Aco_Storyloom& fire = Fire("Fire");
    Aco_Storyloom& again = Storyloom(MODE_OnConstruct_Action, "Again");
    Link(again, 1, fire);
    EXPECT_EQ(again.GetFloat(), 0.0f);
    Core::EventNode* node = scenario->AddEventNode();
    ASSERT_TRUE(node->SetEvent("Mission - Started") && node->AddAction("Again"));

    EXPECT_EQ(fire.GetFloat(), 0.0f);
    EXPECT_TRUE(ErrorLog().empty());
}

// A construct channel among its own slot children, and a condition whose result child is the
// construct channel: building the factory and evaluating the node both end.
TEST_F(EvaluationCycleTest, ConstructChannelAmongItsOwnChildren) {
    Aco_Storyloom& check = Storyloom(MODE_OnConstruct_Condition, "Check");
    Link(check, 0, check);
    Link(check, 1, check);
    EXPECT_EQ(check.GetFloat(), 0.0f);
    EXPECT_THAT(ErrorLog(), Contains(HasSubstr("QuestFactory: Type not supported at 0 for Check")));
    Core::ClearErrorLog();
    Core::Condition* condition = scenario->AddEventNode()->AddCondition("Check");
    ASSERT_TRUE(condition);
    EXPECT_FALSE(condition->Evaluate());  // the result child, the construct channel itself, answers 0.0
}

// The host's gate decides before the guard: a channel whose gate has closed by the time it is
// reached again answers 0.0 without a report; with the gate open the refusal stores 105.0
// like every other failure.
TEST_F(EvaluationCycleTest, GateDecidesBeforeTheGuardAndTheRefusalIsStored) {
    // A value child that, when read, evaluates the channel that reads it.
    struct Reentry : Aco_FloatChannel {
        float GetFloat() override {
            if (closeGate) reader->SetEvaluationGate(false);
            inner = reader->GetFloat();
            stored = reader->Aco_FloatChannel::GetFloat();
            return 1.0f;
        }
        Aco_Storyloom* reader = nullptr;
        bool closeGate = false;
        float inner = -1.0f, stored = -1.0f;
    };
    for (bool closeGate : {false, true}) {
        SCOPED_TRACE(closeGate ? "gate closed inside" : "gate open");
        Core::ClearErrorLog();
        Aco_Storyloom& reader = Reader("Reader");
        auto& reentry = Make<Reentry>("Reentry");
        reentry.reader = &reader;
        reentry.closeGate = closeGate;
        Link(reader, 1, reentry);
        reader.GetFloat();
        EXPECT_EQ(reentry.inner, closeGate ? 0.0f : 105.0f);
        EXPECT_EQ(reentry.stored, reentry.inner);
    }
}

// Memory running out inside a mode (here a child that cannot be read for it) never leaves the
// evaluation: the channel reports it, answers 105.0 and evaluates normally afterwards.
TEST_F(EvaluationCycleTest, MemoryRunningOutEndsTheEvaluationWithAReport) {
    struct Exhausting : Aco_FloatChannel {
        float GetFloat() override {
            if (exhausted) throw std::bad_alloc();
            return 0.0f;
        }
        bool exhausted = true;
    };
    Aco_Storyloom& reader = Reader("Reader");
    auto& child = Make<Exhausting>("Exhausting");
    Link(reader, 1, child);
    EXPECT_EQ(reader.GetFloat(), 105.0f);
    EXPECT_THAT(ErrorLog(), ::testing::ElementsAre(HasSubstr("Channel[Reader].OutOfMemory")));
    child.exhausted = false;
    EXPECT_EQ(reader.GetFloat(), 0.0f);
}

}  // namespace
