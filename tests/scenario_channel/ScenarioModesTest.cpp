// The scenario modes with good links: what they answer, write back and do to the scenario;
// and the evaluation entry around every mode (the host's gate, unknown mode ids).
#include <iterator>
#include <string>
#include <vector>

#include "storyloom/host/Aco_CustomEnum.h"
#include "support/ModeTestSupport.h"

namespace {

using Core::Scenario;
using Core::StaticMeshEntity;

// A scenario holding entity "a" at id 0, and references to both.
class ScenarioModes : public ModeTest {
protected:
    void SetUp() override {
        ModeTest::SetUp();
        scenario = Manager().CreateScenario();
        scenario->AddEntity(&a);
        scenarioRef.SetRef(scenario);
    }
    Scenario* scenario = nullptr;
    StaticMeshEntity a{"a", {}, 1.0f};
    Aco_CoreRef &scenarioRef = Ref("scenario"), &entityRef = Ref("a", &a);
};

// Answers go to value children. An entity reference that holds no entity of the scenario is
// "not in it" rather than a failure.
TEST_F(ScenarioModes, Answers) {
    StaticMeshEntity far("far", {}, 1.0f), outsider("outsider", {}, 1.0f);
    ASSERT_TRUE(scenario->AddEntityAtID(&far, 0xFFFFFF00u));
    scenario->Update(2.5f);
    auto* holder = new Core::EntityVar("target", *scenario);  // puts "far" in use
    holder->SetValue(&far);
    ASSERT_TRUE(scenario->AddVariable(holder));
    Aco_CoreRef &farRef = Ref("far", &far), &outsiderRef = Ref("outsider", &outsider), &emptyRef = Ref("empty");
    Aco_FloatChannel &in = Value("in"), &out = Value("out"), &id = Value("id");
    const struct {
        unsigned mode;
        std::vector<A3d_Channel*> links;
        float out, id = 99.0f, in = 0.0f;
    } cases[] = {
        {MODE_Scenario_GetEntityID, {&scenarioRef, &entityRef, &out}, 0.0f},
        {MODE_Scenario_GetEntityID, {&scenarioRef, &farRef, &out}, 4294967040.0f},  // high ids stay positive
        {MODE_GetIsEntityInUse, {&scenarioRef, &entityRef, &out}, 0.0f},
        {MODE_GetIsEntityInUse, {&scenarioRef, &farRef, &out}, 1.0f},
        {MODE_Scenario_GetEntityCount, {&scenarioRef, &out}, 2.0f},
        {MODE_Scenario_GetPlayTime, {&scenarioRef, &out}, 2.5f},
        {MODE_Scenario_IsEntityInScenario, {&scenarioRef, &farRef, &out, &id}, 1.0f, 4294967040.0f},
        {MODE_Scenario_IsEntityInScenario, {&scenarioRef, &outsiderRef, &out, &id}, 0.0f, -1.0f},
        {MODE_Scenario_IsEntityInScenario, {&scenarioRef, &emptyRef, &out, &id}, 0.0f, -1.0f},
        {MODE_Scenario_IsEntityInScenario, {&scenarioRef, &scenarioRef, &out, &id}, 0.0f, -1.0f},
        {MODE_Scenario_IsEntityInScenario, {&scenarioRef, &entityRef, &out}, 1.0f},
        {MODE_Scenario_IsIDInScenario, {&scenarioRef, &in, &out}, 1.0f, 99.0f, 0.7f},
        {MODE_Scenario_IsIDInScenario, {&scenarioRef, &in, &out}, 0.0f, 99.0f, 1.0f},
        {MODE_Scenario_IsIDInScenario, {&scenarioRef, &in, &out}, 1.0f, 99.0f, 4294967040.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", " << c.links.size() << " links");
        in.SetFloat(c.in);
        out.SetFloat(-7.0f);
        id.SetFloat(99.0f);
        EXPECT_EQ(Mode(c.mode, c.links).GetFloat(), 0.0f);
        EXPECT_EQ(StoredValue(out), c.out);
        EXPECT_EQ(StoredValue(id), c.id);
    }
}

// The id goes to "iID", -1.0 once the scenario has none left; without "iID" the entity is
// added all the same.
TEST_F(ScenarioModes, AddEntity) {
    StaticMeshEntity crate("crate", {}, 1.0f), barrel("barrel", {}, 1.0f), late("late", {}, 1.0f),
        last("last", {}, 1.0f);
    Aco_FloatChannel& id = Value("iID", -7.0f);
    EXPECT_EQ(Mode(MODE_Scenario_AddEntity, {&scenarioRef, &Ref("crate", &crate), &id}).GetFloat(), 0.0f);
    EXPECT_EQ(StoredValue(id), 1.0f);
    EXPECT_EQ(scenario->GetEntity(1), &crate);
    EXPECT_EQ(Mode(MODE_Scenario_AddEntity, {&scenarioRef, &Ref("barrel", &barrel)}).GetFloat(), 105.0f);
    EXPECT_EQ(scenario->GetEntityID(&barrel), 2u);

    ASSERT_TRUE(scenario->AddEntityAtID(&last, 0xFFFFFFFEu));  // no id is left after it
    EXPECT_EQ(Mode(MODE_Scenario_AddEntity, {&scenarioRef, &Ref("late", &late), &id}).GetFloat(), 0.0f);
    EXPECT_EQ(StoredValue(id), -1.0f);
    ExpectLog({EvaluationReport("Scenario_AddEntity", "ChildLinkError[iID]"), "Scenario::AddEntity: no entity id left"});
}

// Values become ids by truncation toward zero through 64 bits; -1.0 is no id, so the scenario
// picks one (the first after the anchor at 5).
TEST_F(ScenarioModes, AddEntityAtIdConvertsTheValue) {
    const std::pair<float, unsigned> cases[] = {
        {7.9f, 7u}, {-0.5f, 0u}, {-1.0f, 6u}, {-2.0f, 0xFFFFFFFEu}, {4294967040.0f, 0xFFFFFF00u}};
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(value);
        Scenario* fresh = Manager().CreateScenario();
        StaticMeshEntity anchor("anchor", {}, 1.0f), crate("crate", {}, 1.0f);
        ASSERT_TRUE(fresh->AddEntityAtID(&anchor, 5u));
        Aco_Storyloom& add =
            Mode(MODE_Scenario_AddEntityAtID, {&Ref("s", fresh), &Ref("crate", &crate), &Value("iID", value)});
        EXPECT_EQ(add.GetFloat(), 0.0f);
        EXPECT_EQ(fresh->GetEntityID(&crate), expected);
    }
}

// Removing leaves the reference alone; ids given back are reused only once the scenario is
// prepared for editing; the other commands reach the scenario.
TEST_F(ScenarioModes, Commands) {
    StaticMeshEntity b("b", {}, 1.0f), c("c", {}, 1.0f);
    EXPECT_EQ(Mode(MODE_Scenario_RemoveEntity, {&scenarioRef, &entityRef}).GetFloat(), 0.0f);
    EXPECT_EQ(scenario->GetEntitiesCount(), 0u);
    EXPECT_EQ(entityRef.GetRef(), &a);
    EXPECT_EQ(scenario->AddEntity(&b), 1u);
    EXPECT_EQ(Mode(MODE_Scenario_InitForEditing, {&scenarioRef}).GetFloat(), 0.0f);
    EXPECT_EQ(scenario->AddEntity(&c), 0u);

    EXPECT_EQ(Mode(MODE_Scenario_RenderVirtualEntities, {&scenarioRef}).GetFloat(), 0.0f);
    EXPECT_EQ(scenario->GetRenderPassCount(), 1u);

    EXPECT_EQ(Mode(MODE_Scenario_Update_Pause, {&scenarioRef}).GetFloat(), 0.0f);
    EXPECT_TRUE(scenario->IsPaused());
    scenario->Update(1.0f);
    EXPECT_EQ(Mode(MODE_Scenario_Update_Resume, {&scenarioRef}).GetFloat(), 0.0f);
    EXPECT_FALSE(scenario->IsPaused());
}

// Every evaluation makes a new scenario; the reference follows the newest.
TEST_F(ScenarioModes, CreateTwiceGivesTwoScenarios) {
    Aco_CoreRef& made = Ref("made");
    Aco_Storyloom& create = Mode(MODE_Scenario_Create, {&made});
    EXPECT_EQ(create.GetFloat(), 0.0f);
    EXPECT_EQ(create.GetFloat(), 0.0f);
    ASSERT_EQ(Manager().GetScenarios().size(), 3u);
    EXPECT_EQ(made.GetRef(), static_cast<Core::RefSupport*>(std::next(Manager().GetScenarios().begin(), 2)->get()));
}

// A lookup that finds nothing is 106.0 for the output link, whose reference stays where it was.
// (The walk with "GetFirstEntity" and "GetNextEntity" to its end is examples/scenario_road.json's.)
TEST_F(ScenarioModes, LookupsThatFindNothingKeepTheReference) {
    StaticMeshEntity b("b", {}, 1.0f);
    scenario->AddEntity(&b);
    Aco_CoreRef& found = Ref("found", scenario);
    Aco_FloatChannel& id = Value("iID", 1.0f);
    Aco_Storyloom& lookup = Mode(MODE_Scenario_GetEntity, {&scenarioRef, &id, &found});
    EXPECT_EQ(lookup.GetFloat(), 0.0f);
    EXPECT_EQ(found.GetRef(), &b);
    found.SetRef(scenario);
    id.SetFloat(3.0f);
    EXPECT_EQ(lookup.GetFloat(), 106.0f);
    EXPECT_EQ(found.GetRef(), static_cast<Core::RefSupport*>(scenario));

    Aco_CoreRef& kept = Ref("kept", &a);
    EXPECT_EQ(Mode(MODE_Scenario_GetFirstEntity, {&Ref("empty", Manager().CreateScenario()), &kept}).GetFloat(),
              106.0f);
    EXPECT_EQ(kept.GetRef(), &a);
    ExpectLog({EvaluationReport("Scenario_GetEntity", "ChildLinkInvalid[CoreEntity]"),
               EvaluationReport("Scenario_GetFirstEntity", "ChildLinkInvalid[CoreEntity]")});
}

// The export flag is truncated and clamped to 0..4, and 4 with nothing linked; the core wraps
// the state in a tag for flags 0 and 1 only. The state goes behind what "Data" holds, indented
// by whole tabs: the value truncated toward zero, which the scenario bounds.
TEST_F(ScenarioModes, StateExport) {
    const std::string deepest(Scenario::MaxStateIndent, '\t');
    const struct {
        const char* before;
        bool linkFlag;
        float flag, indent;
        bool wrapped;
        std::string start;
    } cases[] = {
        {nullptr, false, 0.0f, 0.0f, false, ""},
        {nullptr, true, 7.0f, 0.0f, false, ""},
        {nullptr, true, 2.0f, 0.0f, false, ""},
        {nullptr, true, -2.0f, 0.0f, true, "<ScenarioState>"},
        {nullptr, true, 1.9f, 0.0f, true, "<ScenarioState>"},
        {"kept\n", true, 0.0f, 2.9f, true, "kept\n\t\t<ScenarioState>"},
        {"", true, 0.0f, 0.99f, true, "<ScenarioState>"},
        {"", true, 0.0f, -3.0f, true, deepest + "<ScenarioState>"},
        {"", true, 0.0f, 1e30f, true, deepest + "<ScenarioState>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "flag " << c.flag << ", indent " << c.indent);
        Aco_StringChannel& data = Text("Data", c.before);
        Aco_CustomEnum& flag = Enum("ExportFlag", "SerializerFlag", c.flag);
        Aco_Storyloom& exporter = Mode(MODE_Scenario_State_Export,
                                       {&scenarioRef, &data, c.linkFlag ? &flag : nullptr, &Value("Indent", c.indent)});
        EXPECT_EQ(exporter.GetFloat(), 0.0f);
        EXPECT_EQ(TextOf(data).find("<ScenarioState>") != std::string::npos, c.wrapped);
        EXPECT_EQ(TextOf(data).substr(0, c.start.size()), c.start);
    }
    // "Indent" is read before "Data" is found missing.
    Probe& indent = Make<Probe>("Indent");
    EXPECT_EQ(Mode(MODE_Scenario_State_Export, {&scenarioRef, nullptr, nullptr, &indent}).GetFloat(), 105.0f);
    EXPECT_EQ(indent.reads, 1);
    ExpectLog({EvaluationReport("Scenario_State_Export", "ChildLinkError[Data]")});
}

// Import restores the exported state and leaves "Data" as it was; the flag must match the
// kind of text (a bare text with nothing linked is examples/scenario_road.json's). A text the
// scenario rejects is its report, not a failure of the mode.
TEST_F(ScenarioModes, StateImport) {
    scenario->Update(1.5f);
    std::string text;
    scenario->ExportState(static_cast<CustomEnums::SerializerFlag::State>(1), text, 0);
    scenario->Update(10.0f);
    Aco_StringChannel& data = Text("Data", text.c_str());
    Aco_CustomEnum& flag = Enum("ImportFlag", "SerializerFlag", 1.0f);
    EXPECT_EQ(Mode(MODE_Scenario_State_Import, {&scenarioRef, &data, &flag}).GetFloat(), 0.0f);
    EXPECT_EQ(scenario->GetPlayTime(), 1.5f);
    EXPECT_EQ(TextOf(data), text);

    Aco_StringChannel& damaged = Text("Data", "<ScenarioState>damaged");
    EXPECT_EQ(Mode(MODE_Scenario_State_Import, {&scenarioRef, &damaged}).GetFloat(), 0.0f);
    EXPECT_EQ(scenario->GetEntity(0), &a);
    EXPECT_THAT(ErrorLog(), testing::ElementsAre(testing::StartsWith("Scenario::ImportState")));
    Core::ClearErrorLog();
}

// A closed gate runs no mode: nothing is read, written or reported, even for a failing mode.
TEST_F(ScenarioModes, ClosedGateTouchesNoChild) {
    StaticMeshEntity crate("crate", {}, 1.0f);
    Probe& id = Make<Probe>("iID");
    id.SetFloat(5.0f);
    Aco_Storyloom& adds = Mode(MODE_Scenario_AddEntityAtID, {&scenarioRef, &Ref("crate", &crate), &id});
    Aco_Storyloom& failing = Mode(MODE_Scenario_Destroy);
    adds.SetEvaluationGate(false);
    failing.SetEvaluationGate(false);
    adds.SetFloat(55.0f);
    EXPECT_EQ(adds.GetFloat(), 0.0f);
    EXPECT_EQ(failing.GetFloat(), 0.0f);
    EXPECT_EQ(id.reads, 0);
    EXPECT_EQ(scenario->GetEntitiesCount(), 1u);

    adds.SetEvaluationGate(true);
    EXPECT_EQ(adds.GetFloat(), 0.0f);
    EXPECT_EQ(id.reads, 1);
    EXPECT_EQ(scenario->GetEntityID(&crate), 5u);
}

// Neither the catalogue nor a channel file can give a channel an unknown mode; a damaged host
// can. Unknown ids answer 1.0 and are printed unsigned, behind one prefix, to the error log only.
TEST_F(ModeTest, UnknownModesAnswerOne) {
    struct ForcedMode : Aco_Storyloom {
        void Force(unsigned int mode) { _currentMode = mode; }
    };
    Mode(MODE_Scenario_Create);  // builds the mode table, so a new channel starts without a mode
    Aco_Storyloom withoutMode;
    ASSERT_EQ(withoutMode.GetCurrentMode(), MODE_NONE);
    EXPECT_EQ(withoutMode.GetFloat(), 1.0f);
    ExpectLog({"CGR[].Channel[Storyloom].ModeNotRecognized[4294967295]"});
    for (unsigned int mode : {31u, 50u, 0x80000000u}) {
        ForcedMode channel;
        channel.Force(mode);
        EXPECT_EQ(channel.GetFloat(), 1.0f);
        ExpectLog({"CGR[].Channel[Storyloom].ModeNotRecognized[" + std::to_string(mode) + "]"});
    }
    for (const std::string& message : DebugMessages())
        EXPECT_EQ(message.find("ModeNotRecognized["), std::string::npos) << message;
}

}  // namespace
