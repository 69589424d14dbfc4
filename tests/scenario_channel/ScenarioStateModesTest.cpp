// State export and import through "Data", and the designer's whole road.
#include <memory>
#include <vector>

#include "ScenarioModesFixture.h"
#include "storyloom/host/Aco_CustomEnum.h"

namespace {

using Core::StaticMeshEntity;
using VelmMathLib::Vec3;

// The scenario core wraps the state in a tag for flags 0 and 1 only, which makes the flag
// the channel passed visible in the text.
bool IsWrapped(const char* text) { return std::string(text).find("<ScenarioState>") != std::string::npos; }

class StateModes : public ScenarioModeTest {
protected:
    void SetUp() override {
        ScenarioModeTest::SetUp();
        scenario = Manager().CreateScenario();
        scenario->AddEntity(&crate);
        scenario->Update(1.5f);
        scenarioRef.SetRef(scenario);
    }
    Core::Scenario* scenario = nullptr;
    StaticMeshEntity crate{"crate", Vec3(), 1.0f};
    Aco_CoreRef scenarioRef;
};

// The flag is truncated and clamped to 0..4, and is 4 with nothing linked.
TEST_F(StateModes, ExportFlagFromTheEnumeration) {
    struct Case {
        bool linkFlag;
        float flag;
        bool wrapped;
    } cases[] = {{false, 0.0f, false}, {true, 7.0f, false}, {true, -2.0f, true},
                 {true, 1.9f, true},   {true, 2.0f, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.linkFlag ? c.flag : -99.0f);
        Aco_StringChannel data;
        Aco_CustomEnum flag;
        flag.SetFloat(c.flag);
        Aco_FloatChannel indent;
        Aco_Storyloom channel;
        BuildChannel(channel, MODE_Scenario_State_Export, {&scenarioRef, &data, c.linkFlag ? &flag : nullptr, &indent});
        EXPECT_EQ(channel.GetFloat(), 0.0f);
        ASSERT_NE(data.GetString(), nullptr);
        EXPECT_EQ(IsWrapped(data.GetString()), c.wrapped);
    }
    EXPECT_TRUE(Core::GetErrorLog().empty());
}

// The state is appended to what "Data" holds, indented by whole tabs: the value truncated
// toward zero to an unsigned number, which the scenario bounds.
TEST_F(StateModes, ExportAppendsIndentedText) {
    struct Case {
        const char* before;
        float indent;
        std::string expectedStart;
    } cases[] = {{nullptr, 0.0f, "<ScenarioState>"},
                 {"kept\n", 2.9f, "kept\n\t\t<ScenarioState>"},
                 {"", 0.99f, "<ScenarioState>"},
                 {"", -3.0f, std::string(Core::Scenario::MaxStateIndent, '\t') + "<ScenarioState>"},
                 {"", 1e30f, std::string(Core::Scenario::MaxStateIndent, '\t') + "<ScenarioState>"}};
    for (const Case& c : cases) {
        Aco_StringChannel data;
        data.SetString(c.before);
        Aco_CustomEnum flag;  // 0: wrapped
        Aco_FloatChannel indent = Value(c.indent);
        Aco_Storyloom channel;
        BuildChannel(channel, MODE_Scenario_State_Export, {&scenarioRef, &data, &flag, &indent});
        EXPECT_EQ(channel.GetFloat(), 0.0f);
        ASSERT_NE(data.GetString(), nullptr);
        EXPECT_EQ(std::string(data.GetString()).substr(0, c.expectedStart.size()), c.expectedStart);
    }
}

// "Indent" is read before "Data"; either missing stops the export.
TEST_F(StateModes, ExportStopsOnMissingIndentOrData) {
    CountingValue indent;
    Aco_Storyloom noData;
    BuildChannel(noData, MODE_Scenario_State_Export, {&scenarioRef, nullptr, nullptr, &indent});
    EXPECT_EQ(noData.GetFloat(), 105.0f);
    EXPECT_EQ(indent.reads, 1);
    ExpectLogged(EvaluationReport("Scenario_State_Export", "ChildLinkError[Data]"));

    Core::ClearErrorLog();
    Aco_StringChannel data;
    Aco_Storyloom noIndent;
    BuildChannel(noIndent, MODE_Scenario_State_Export, {&scenarioRef, &data});
    EXPECT_EQ(noIndent.GetFloat(), 105.0f);
    EXPECT_EQ(data.GetString(), nullptr);
    ExpectLogged(EvaluationReport("Scenario_State_Export", "ChildLinkError[Indent]"));
}

// Import restores the exported state and leaves "Data" as it was; the flag must match the
// kind of text, 4 (bare) when nothing is linked.
TEST_F(StateModes, ImportRestoresStateAndLeavesData) {
    struct Case {
        bool linkFlag;
        float flag;
        int exportedWith;
    } cases[] = {{false, 0.0f, 4}, {true, 1.0f, 1}};
    for (const Case& c : cases) {
        std::string text;
        scenario->ExportState(static_cast<CustomEnums::SerializerFlag::State>(c.exportedWith), text, 0);
        scenario->Update(10.0f);
        Aco_StringChannel data;
        data.SetString(text.c_str());
        Aco_CustomEnum flag;
        flag.SetFloat(c.flag);
        Aco_Storyloom channel;
        BuildChannel(channel, MODE_Scenario_State_Import, {&scenarioRef, &data, c.linkFlag ? &flag : nullptr});
        EXPECT_EQ(channel.GetFloat(), 0.0f);
        EXPECT_EQ(scenario->GetPlayTime(), 1.5f);
        EXPECT_EQ(std::string(data.GetString()), text);
    }
    EXPECT_TRUE(Core::GetErrorLog().empty());

    Aco_Storyloom noData;
    BuildChannel(noData, MODE_Scenario_State_Import, {&scenarioRef});
    EXPECT_EQ(noData.GetFloat(), 105.0f);
    ExpectLogged(EvaluationReport("Scenario_State_Import", "ChildLinkError[Data]"));
}

// A text the scenario rejects is the scenario's report, not a failure of the mode.
TEST_F(StateModes, RejectedTextIsNoModeFailure) {
    Aco_StringChannel data;
    data.SetString("<ScenarioState>damaged");
    Aco_Storyloom channel;
    BuildChannel(channel, MODE_Scenario_State_Import, {&scenarioRef, &data});
    EXPECT_EQ(channel.GetFloat(), 0.0f);
    EXPECT_EQ(scenario->GetEntity(0), &crate);
    ASSERT_EQ(Core::GetErrorLog().size(), 1u);
    EXPECT_EQ(Core::GetErrorLog()[0].rfind("Scenario::ImportState", 0), 0u);
}

// The designer's road: create, fill, walk, export, destroy, recreate, import, look up by id.
TEST_F(ScenarioModeTest, DesignersRoad) {
    std::vector<std::unique_ptr<StaticMeshEntity>> entities;
    std::vector<std::unique_ptr<Aco_CoreRef>> entityRefs;
    std::vector<std::unique_ptr<Aco_Storyloom>> adders;
    Aco_CoreRef scenarioRef, current, next, found;
    Aco_FloatChannel id, indent;
    Aco_StringChannel data;
    Aco_Storyloom create, first, walk, exporter, destroy, importer, lookup;
    BuildChannel(create, MODE_Scenario_Create, {&scenarioRef});
    BuildChannel(first, MODE_Scenario_GetFirstEntity, {&scenarioRef, &current});
    BuildChannel(walk, MODE_Scenario_GetNextEntity, {&scenarioRef, &current, &next});
    BuildChannel(exporter, MODE_Scenario_State_Export, {&scenarioRef, &data, nullptr, &indent});
    BuildChannel(destroy, MODE_Scenario_Destroy, {&scenarioRef});
    BuildChannel(importer, MODE_Scenario_State_Import, {&scenarioRef, &data});
    BuildChannel(lookup, MODE_Scenario_GetEntity, {&scenarioRef, &id, &found});
    for (const char* name : {"gate", "tower", "well"}) {
        entities.push_back(std::make_unique<StaticMeshEntity>(name, Vec3(), 1.0f));
        entityRefs.push_back(std::make_unique<Aco_CoreRef>());
        entityRefs.back()->SetRef(entities.back().get());
        adders.push_back(std::make_unique<Aco_Storyloom>());
        BuildChannel(*adders.back(), MODE_Scenario_AddEntity, {&scenarioRef, entityRefs.back().get(), &id});
    }

    ASSERT_EQ(create.GetFloat(), 0.0f);
    std::vector<float> ids;
    for (auto& adder : adders) {
        ASSERT_EQ(adder->GetFloat(), 0.0f);
        ids.push_back(id.GetFloat());
    }
    auto nameAt = [](const Aco_CoreRef& ref) { return dynamic_cast<Core::EntityBase&>(*ref.GetRef()).GetName(); };
    ASSERT_EQ(first.GetFloat(), 0.0f);
    std::vector<std::string> walked{nameAt(current)};
    while (walk.GetFloat() == 0.0f && walked.size() < 4) {
        walked.push_back(nameAt(next));
        current.SetRef(next.GetRef());
    }
    EXPECT_THAT(walked, ::testing::ElementsAre("gate", "tower", "well"));
    ASSERT_EQ(exporter.GetFloat(), 0.0f);
    ASSERT_EQ(destroy.GetFloat(), 0.0f);
    ASSERT_EQ(scenarioRef.GetRef(), nullptr);
    ASSERT_EQ(create.GetFloat(), 0.0f);
    ASSERT_EQ(importer.GetFloat(), 0.0f);

    for (size_t i = 0; i < entities.size(); ++i) {
        id.SetFloat(ids[i]);
        found.ResetRef();
        EXPECT_EQ(lookup.GetFloat(), 0.0f);
        EXPECT_EQ(found.GetRef(), static_cast<Core::RefSupport*>(entities[i].get()));
    }
    // The last walk step ran past the end, which is the walk's only report.
    ExpectLogged(EvaluationReport("Scenario_GetNextEntity", "ChildLinkInvalid[CoreEntity]"));
}

}  // namespace
