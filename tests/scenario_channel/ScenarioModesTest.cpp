#include <cmath>
#include <vector>

#include "ScenarioModesFixture.h"

namespace {

using Core::Scenario;
using Core::StaticMeshEntity;
using VelmMathLib::Vec3;

struct ModeCase {
    unsigned int mode;
    bool readsEntity;  // from link 1
};

// Every mode that reads its scenario from link 0.
const ModeCase kScenarioReaders[] = {
    {MODE_Scenario_Destroy, false},
    {MODE_Scenario_AddEntity, true},
    {MODE_Scenario_AddEntityAtID, true},
    {MODE_Scenario_RemoveEntity, true},
    {MODE_Scenario_IsEntityInScenario, false},
    {MODE_Scenario_IsIDInScenario, false},
    {MODE_Scenario_GetEntity, false},
    {MODE_Scenario_GetEntityID, true},
    {MODE_Scenario_GetEntityCount, false},
    {MODE_GetIsEntityInUse, true},
    {MODE_Scenario_GetFirstEntity, false},
    {MODE_Scenario_GetNextEntity, true},
    {MODE_Scenario_GetPlayTime, false},
    {MODE_Scenario_InitForEditing, false},
    {MODE_Scenario_RenderVirtualEntities, false},
    {MODE_Scenario_Update_Pause, false},
    {MODE_Scenario_Update_Resume, false},
    {MODE_Scenario_State_Export, false},
    {MODE_Scenario_State_Import, false},
};

// A scenario holding entity "a" at id 0, and channels to point at them.
class ScenarioWithEntity : public ScenarioModeTest {
protected:
    void SetUp() override {
        ScenarioModeTest::SetUp();
        scenario = Manager().CreateScenario();
        scenario->AddEntity(&a);
        scenarioRef.SetRef(scenario);
        entityRef.SetRef(&a);
    }
    Scenario* scenario = nullptr;
    StaticMeshEntity a{"a", Vec3(), 1.0f};
    Aco_CoreRef scenarioRef, entityRef;
};

// A missing or wrong scenario or entity stops the mode before it does anything, reported once.
TEST_F(ScenarioWithEntity, ReferenceFailuresStopEveryMode) {
    Aco_CoreRef emptyRef;
    struct Setup {
        unsigned int link;
        Aco_CoreRef* ref;
        float status;
        const char* text;
    } setups[] = {{0, nullptr, 105.0f, "ChildLinkError[CoreScenario]"},
                  {0, &emptyRef, 106.0f, "ChildLinkInvalid[CoreScenario]"},
                  {0, &entityRef, 106.0f, "ChildLinkInvalid[CoreScenario]"},
                  {1, nullptr, 105.0f, "ChildLinkError[CoreEntity]"},
                  {1, &emptyRef, 106.0f, "ChildLinkInvalid[CoreEntity]"},
                  {1, &scenarioRef, 106.0f, "ChildLinkInvalid[CoreEntity]"}};
    for (const ModeCase& mode : kScenarioReaders) {
        for (const Setup& setup : setups) {
            if (setup.link == 1 && !mode.readsEntity) continue;
            const std::string shortName = ShortNameOf(mode.mode);
            SCOPED_TRACE(shortName + " " + setup.text);
            Core::ClearErrorLog();
            Aco_Storyloom channel;
            Aco_CoreRef* scenarioLink = setup.link == 0 ? setup.ref : &scenarioRef;
            BuildChannel(channel, mode.mode, {scenarioLink, setup.link == 1 ? setup.ref : nullptr});
            EXPECT_EQ(channel.GetFloat(), setup.status);
            ExpectLogged(EvaluationReport(shortName, setup.text));
            EXPECT_EQ(Manager().GetScenarios().size(), 1u);  // Destroy never reached the manager
            EXPECT_EQ(scenario->GetEntitiesCount(), 1u);
        }
    }
}

TEST_F(ScenarioWithEntity, ValueResults) {
    StaticMeshEntity far("far", Vec3(), 1.0f);
    ASSERT_TRUE(scenario->AddEntityAtID(&far, 0xFFFFFF00u));
    scenario->Update(2.5f);
    auto* holder = new Core::EntityVar("target", *scenario);  // puts "far" in use
    holder->SetValue(&far);
    ASSERT_TRUE(scenario->AddVariable(holder));
    Aco_CoreRef farRef;
    farRef.SetRef(&far);
    struct Case {
        unsigned int mode;
        Aco_CoreRef* entity;
        float expected;
    } cases[] = {
        {MODE_Scenario_GetEntityID, &entityRef, 0.0f},
        {MODE_Scenario_GetEntityID, &farRef, 4294967040.0f},  // high ids stay positive
        {MODE_GetIsEntityInUse, &entityRef, 0.0f},
        {MODE_GetIsEntityInUse, &farRef, 1.0f},
        {MODE_Scenario_GetEntityCount, nullptr, 2.0f},
        {MODE_Scenario_GetPlayTime, nullptr, 2.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Aco_Storyloom channel;
        Aco_FloatChannel out = Value(-7.0f);
        if (c.entity)
            BuildChannel(channel, c.mode, {&scenarioRef, c.entity, &out});
        else
            BuildChannel(channel, c.mode, {&scenarioRef, &out});
        EXPECT_EQ(channel.GetFloat(), 0.0f);
        EXPECT_EQ(out.GetFloat(), c.expected);
    }
    EXPECT_TRUE(Core::GetErrorLog().empty());
}

// The id goes to "iID"; an entity added stays added when it cannot; no id is -1.0.
TEST_F(ScenarioWithEntity, AddEntity) {
    StaticMeshEntity crate("crate", Vec3(), 1.0f), barrel("barrel", Vec3(), 1.0f), late("late", Vec3(), 1.0f);
    Aco_CoreRef crateRef, barrelRef, lateRef;
    crateRef.SetRef(&crate);
    barrelRef.SetRef(&barrel);
    lateRef.SetRef(&late);
    Aco_FloatChannel id = Value(-7.0f);
    Aco_Storyloom adds, addsWithoutId, addsLate;
    BuildChannel(adds, MODE_Scenario_AddEntity, {&scenarioRef, &crateRef, &id});
    BuildChannel(addsWithoutId, MODE_Scenario_AddEntity, {&scenarioRef, &barrelRef});
    BuildChannel(addsLate, MODE_Scenario_AddEntity, {&scenarioRef, &lateRef, &id});

    EXPECT_EQ(adds.GetFloat(), 0.0f);
    EXPECT_EQ(id.GetFloat(), 1.0f);
    EXPECT_EQ(scenario->GetEntity(1), &crate);
    EXPECT_EQ(addsWithoutId.GetFloat(), 105.0f);
    ExpectLogged(EvaluationReport("Scenario_AddEntity", "ChildLinkError[iID]"));
    EXPECT_EQ(scenario->GetEntityID(&barrel), 2u);

    StaticMeshEntity last("last", Vec3(), 1.0f);
    ASSERT_TRUE(scenario->AddEntityAtID(&last, 0xFFFFFFFEu));  // no id is left after it
    EXPECT_EQ(addsLate.GetFloat(), 0.0f);
    EXPECT_EQ(id.GetFloat(), -1.0f);
}

// Values become ids by truncation toward zero through 64 bits; without one nothing is added.
TEST_F(ScenarioModeTest, AddEntityAtIdConvertsTheValue) {
    struct Case {
        bool linkId;
        float value;
        unsigned int id;
    } cases[] = {{true, 7.9f, 7u},  {true, -0.5f, 0u}, {true, -1.0f, 6u},  // -1.0: no id, the scenario picks
                 {true, -2.0f, 0xFFFFFFFEu}, {true, 4294967040.0f, 0xFFFFFF00u}, {false, 0.0f, Scenario::NoID}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        Core::ClearErrorLog();
        Scenario* scenario = Manager().CreateScenario();
        StaticMeshEntity anchor("anchor", Vec3(), 1.0f), crate("crate", Vec3(), 1.0f);
        ASSERT_TRUE(scenario->AddEntityAtID(&anchor, 5u));
        Aco_CoreRef scenarioRef, crateRef;
        scenarioRef.SetRef(scenario);
        crateRef.SetRef(&crate);
        Aco_FloatChannel id = Value(c.value);
        Aco_Storyloom channel;
        BuildChannel(channel, MODE_Scenario_AddEntityAtID, {&scenarioRef, &crateRef, c.linkId ? &id : nullptr});
        EXPECT_EQ(channel.GetFloat(), c.linkId ? 0.0f : 105.0f);
        EXPECT_EQ(scenario->GetEntityID(&crate), c.id);
        if (!c.linkId) ExpectLogged(EvaluationReport("Scenario_AddEntityAtID", "ChildLinkError[iID]"));
    }
}

TEST_F(ScenarioWithEntity, RemoveEntity) {
    Aco_Storyloom channel;
    BuildChannel(channel, MODE_Scenario_RemoveEntity, {&scenarioRef, &entityRef});
    EXPECT_EQ(channel.GetFloat(), 0.0f);
    EXPECT_EQ(scenario->GetEntitiesCount(), 0u);
    EXPECT_EQ(entityRef.GetRef(), &a);  // the mode leaves the reference alone
}

// An entity reference that holds no entity answers "not in it" rather than failing.
TEST_F(ScenarioWithEntity, IsEntityInScenario) {
    StaticMeshEntity outsider("outsider", Vec3(), 1.0f);
    Aco_CoreRef outsiderRef, emptyRef;
    outsiderRef.SetRef(&outsider);
    struct Case {
        Aco_CoreRef* entity;
        bool linkId;
        float found, id;
    } cases[] = {{&entityRef, true, 1.0f, 0.0f},
                 {&outsiderRef, true, 0.0f, -1.0f},
                 {&emptyRef, true, 0.0f, -1.0f},
                 {&scenarioRef, true, 0.0f, -1.0f},
                 {&entityRef, false, 1.0f, 99.0f}};  // "iID [optional]" may stay empty
    for (const Case& c : cases) {
        Aco_FloatChannel found = Value(99.0f), id = Value(99.0f);
        Aco_Storyloom channel;
        BuildChannel(channel, MODE_Scenario_IsEntityInScenario,
                     {&scenarioRef, c.entity, &found, c.linkId ? &id : nullptr});
        EXPECT_EQ(channel.GetFloat(), 0.0f);
        EXPECT_EQ(found.GetFloat(), c.found);
        EXPECT_EQ(id.GetFloat(), c.id);
    }
    EXPECT_TRUE(Core::GetErrorLog().empty());
}

TEST_F(ScenarioWithEntity, IsIDInScenario) {
    struct Case {
        float id;
        bool linkAnswer;
        float answer;
    } cases[] = {{0.0f, true, 1.0f}, {0.7f, true, 1.0f}, {1.0f, true, 0.0f}, {0.0f, false, 99.0f}};
    for (const Case& c : cases) {
        Aco_FloatChannel id = Value(c.id), answer = Value(99.0f);
        Aco_Storyloom channel;
        BuildChannel(channel, MODE_Scenario_IsIDInScenario, {&scenarioRef, &id, c.linkAnswer ? &answer : nullptr});
        EXPECT_EQ(channel.GetFloat(), 0.0f);  // an empty "bInScenario" is no failure
        EXPECT_EQ(answer.GetFloat(), c.answer);
    }
    EXPECT_TRUE(Core::GetErrorLog().empty());
}

// A lookup that finds nothing names the output link and leaves its reference where it was.
TEST_F(ScenarioWithEntity, GetEntity) {
    Aco_CoreRef found;
    found.SetRef(scenario);
    Aco_FloatChannel id = Value(0.0f);
    Aco_Storyloom channel;
    BuildChannel(channel, MODE_Scenario_GetEntity, {&scenarioRef, &id, &found});
    EXPECT_EQ(channel.GetFloat(), 0.0f);
    EXPECT_EQ(found.GetRef(), static_cast<Core::RefSupport*>(&a));

    found.SetRef(scenario);
    id.SetFloat(3.0f);
    EXPECT_EQ(channel.GetFloat(), 106.0f);
    ExpectLogged(EvaluationReport("Scenario_GetEntity", "ChildLinkInvalid[CoreEntity]"));
    EXPECT_EQ(found.GetRef(), static_cast<Core::RefSupport*>(scenario));
}

// First fills a reference; Next, fed the entity found last, walks on and answers 106.0 past
// the last entity, keeping its output on the last one.
TEST_F(ScenarioModeTest, WalkOfThreeEntitiesEndsInInvalid) {
    Scenario* scenario = Manager().CreateScenario();
    StaticMeshEntity a("a", Vec3(), 1.0f), b("b", Vec3(), 1.0f), c("c", Vec3(), 1.0f);
    for (StaticMeshEntity* e : {&a, &b, &c}) scenario->AddEntity(e);
    Aco_CoreRef scenarioRef, current, next;
    scenarioRef.SetRef(scenario);
    Aco_Storyloom first, walk;
    BuildChannel(first, MODE_Scenario_GetFirstEntity, {&scenarioRef, &current});
    BuildChannel(walk, MODE_Scenario_GetNextEntity, {&scenarioRef, &current, &next});

    ASSERT_EQ(first.GetFloat(), 0.0f);
    std::vector<float> statuses;
    std::vector<Core::RefSupport*> visited{current.GetRef()};
    for (int step = 0; step < 3; ++step) {
        statuses.push_back(walk.GetFloat());
        if (statuses.back() == 0.0f) visited.push_back(next.GetRef());
        current.SetRef(next.GetRef());
    }
    EXPECT_THAT(statuses, ::testing::ElementsAre(0.0f, 0.0f, 106.0f));
    EXPECT_THAT(visited, ::testing::ElementsAre(&a, &b, &c));
    EXPECT_EQ(next.GetRef(), static_cast<Core::RefSupport*>(&c));
    ExpectLogged(EvaluationReport("Scenario_GetNextEntity", "ChildLinkInvalid[CoreEntity]"));
}

TEST_F(ScenarioModeTest, FirstEntityOfAnEmptyScenarioIsInvalid) {
    Scenario* scenario = Manager().CreateScenario();
    StaticMeshEntity kept("kept", Vec3(), 1.0f);
    Aco_CoreRef scenarioRef, entity;
    scenarioRef.SetRef(scenario);
    entity.SetRef(&kept);
    Aco_Storyloom channel;
    BuildChannel(channel, MODE_Scenario_GetFirstEntity, {&scenarioRef, &entity});
    EXPECT_EQ(channel.GetFloat(), 106.0f);
    ExpectLogged(EvaluationReport("Scenario_GetFirstEntity", "ChildLinkInvalid[CoreEntity]"));
    EXPECT_EQ(entity.GetRef(), static_cast<Core::RefSupport*>(&kept));
}

TEST_F(ScenarioModeTest, PauseResumeAndPlayTime) {
    Scenario* scenario = Manager().CreateScenario();
    Aco_CoreRef scenarioRef;
    scenarioRef.SetRef(scenario);
    Aco_FloatChannel playTime;
    Aco_Storyloom pause, resume, clock;
    BuildChannel(pause, MODE_Scenario_Update_Pause, {&scenarioRef});
    BuildChannel(resume, MODE_Scenario_Update_Resume, {&scenarioRef});
    BuildChannel(clock, MODE_Scenario_GetPlayTime, {&scenarioRef, &playTime});

    EXPECT_EQ(pause.GetFloat(), 0.0f);
    EXPECT_TRUE(scenario->IsPaused());
    scenario->Update(1.0f);
    EXPECT_EQ(resume.GetFloat(), 0.0f);
    EXPECT_FALSE(scenario->IsPaused());
    scenario->Update(0.75f);
    EXPECT_EQ(clock.GetFloat(), 0.0f);
    EXPECT_EQ(playTime.GetFloat(), 0.75f);
}

// Ids given back are reused only after the scenario is prepared for editing.
TEST_F(ScenarioWithEntity, InitForEditingCollectsFreedIds) {
    StaticMeshEntity b("b", Vec3(), 1.0f), c("c", Vec3(), 1.0f);
    scenario->AddEntity(&b);
    scenario->RemoveEntity(&a);
    Aco_Storyloom init;
    BuildChannel(init, MODE_Scenario_InitForEditing, {&scenarioRef});
    EXPECT_EQ(init.GetFloat(), 0.0f);
    EXPECT_EQ(scenario->AddEntity(&c), 0u);
}

TEST_F(ScenarioWithEntity, RenderVirtualEntities) {
    Aco_Storyloom render;
    BuildChannel(render, MODE_Scenario_RenderVirtualEntities, {&scenarioRef});
    EXPECT_EQ(render.GetFloat(), 0.0f);
    EXPECT_EQ(scenario->GetRenderPassCount(), 1u);
}

// Every evaluation makes a new scenario; the reference follows the newest.
TEST_F(ScenarioModeTest, CreateTwiceGivesTwoScenarios) {
    Aco_CoreRef scenarioRef;
    Aco_Storyloom create;
    BuildChannel(create, MODE_Scenario_Create, {&scenarioRef});
    EXPECT_EQ(create.GetFloat(), 0.0f);
    EXPECT_EQ(create.GetFloat(), 0.0f);
    ASSERT_EQ(Manager().GetScenarios().size(), 2u);
    EXPECT_EQ(scenarioRef.GetRef(), static_cast<Core::RefSupport*>(Manager().GetScenarios()[1].get()));

    Aco_Storyloom unlinked;
    BuildChannel(unlinked, MODE_Scenario_Create, {});
    EXPECT_EQ(unlinked.GetFloat(), 105.0f);
    ExpectLogged(EvaluationReport("Scenario_Create", "ChildLinkError[CoreScenario]"));
    EXPECT_EQ(Manager().GetScenarios().size(), 2u);
}

}  // namespace
