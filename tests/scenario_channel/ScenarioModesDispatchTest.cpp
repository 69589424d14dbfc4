// The evaluation entry around the scenario modes: the host's gate, unknown mode ids, and
// references that outlive their scenario.
#include "ScenarioModesFixture.h"

namespace {

using Core::StaticMeshEntity;
using VelmMathLib::Vec3;

// Neither the catalogue nor a channel file can give a channel an unknown mode; a damaged
// host can, and evaluation must still answer it.
class ChannelWithForcedMode : public Aco_Storyloom {
public:
    void ForceMode(unsigned int mode) { _currentMode = mode; }
};

// A closed gate runs no mode: nothing is read, written or reported, even for a failing mode.
TEST_F(ScenarioModeTest, ClosedGateTouchesNoChild) {
    Core::Scenario* scenario = Manager().CreateScenario();
    StaticMeshEntity crate("crate", Vec3(), 1.0f);
    Aco_CoreRef scenarioRef, crateRef;
    scenarioRef.SetRef(scenario);
    crateRef.SetRef(&crate);
    CountingValue id;
    Aco_Storyloom adds, failing;
    BuildChannel(adds, MODE_Scenario_AddEntityAtID, {&scenarioRef, &crateRef, &id});
    BuildChannel(failing, MODE_Scenario_Destroy);
    adds.SetEvaluationGate(false);
    failing.SetEvaluationGate(false);
    adds.SetFloat(55.0f);

    EXPECT_EQ(adds.GetFloat(), 0.0f);
    EXPECT_EQ(failing.GetFloat(), 0.0f);
    EXPECT_EQ(id.reads, 0);
    EXPECT_EQ(scenario->GetEntitiesCount(), 0u);
    EXPECT_TRUE(Core::GetErrorLog().empty());

    adds.SetEvaluationGate(true);
    EXPECT_EQ(adds.GetFloat(), 0.0f);
    EXPECT_EQ(id.reads, 1);
    EXPECT_EQ(scenario->GetEntityID(&crate), 0u);
}

// Unknown ids are printed unsigned, behind one prefix, to the error log only.
TEST_F(ScenarioModeTest, UnknownModesAnswerOne) {
    Aco_Storyloom tableOwner;  // builds the mode table, so a new channel starts without a mode
    tableOwner.SetCurrentMode(MODE_Scenario_Create);
    Aco_Storyloom withoutMode;
    ASSERT_EQ(withoutMode.GetCurrentMode(), MODE_NONE);
    EXPECT_EQ(withoutMode.GetFloat(), 1.0f);
    ExpectLogged("CGR[].Channel[Storyloom].ModeNotRecognized[4294967295]");

    for (unsigned int mode : {31u, 50u, 0x80000000u}) {
        Core::ClearErrorLog();
        ChannelWithForcedMode channel;
        channel.ForceMode(mode);
        EXPECT_EQ(channel.GetFloat(), 1.0f);
        ExpectLogged("CGR[].Channel[Storyloom].ModeNotRecognized[" + std::to_string(mode) + "]");
    }
    for (const std::string& message : globalEngine.GetDebugMessages())
        EXPECT_EQ(message.find("ModeNotRecognized["), std::string::npos) << message;
}

// A destroyed scenario empties every reference to it, so the next mode through one finds
// nothing to touch (checked under AddressSanitizer).
TEST_F(ScenarioModeTest, ReferenceToADestroyedScenarioReadsEmpty) {
    Aco_CoreRef scenarioRef;
    Aco_FloatChannel count;
    Aco_Storyloom create, destroy, counter;
    BuildChannel(create, MODE_Scenario_Create, {&scenarioRef});
    BuildChannel(destroy, MODE_Scenario_Destroy, {&scenarioRef});
    BuildChannel(counter, MODE_Scenario_GetEntityCount, {&scenarioRef, &count});
    ASSERT_EQ(create.GetFloat(), 0.0f);
    ASSERT_NE(scenarioRef.GetRef(), nullptr);

    EXPECT_EQ(destroy.GetFloat(), 0.0f);
    EXPECT_TRUE(Manager().GetScenarios().empty());
    EXPECT_EQ(scenarioRef.GetRef(), nullptr);
    EXPECT_EQ(counter.GetFloat(), 106.0f);
    EXPECT_EQ(destroy.GetFloat(), 106.0f);
    EXPECT_THAT(Core::GetErrorLog(),
                ::testing::ElementsAre(EvaluationReport("Scenario_GetEntityCount", "ChildLinkInvalid[CoreScenario]"),
                                       EvaluationReport("Scenario_Destroy", "ChildLinkInvalid[CoreScenario]")));
}

}  // namespace
