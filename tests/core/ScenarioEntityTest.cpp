#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CoreTestSupport.h"

namespace {

using Core::Scenario;
using VelmMathLib::Vec3;
using CoreScenarioEntity = CoreTest;

std::vector<std::unique_ptr<Core::StaticMeshEntity>> Crowd(int count) {
    std::vector<std::unique_ptr<Core::StaticMeshEntity>> crowd;
    for (int i = 0; i < count; ++i) crowd.push_back(std::make_unique<Core::StaticMeshEntity>("m" + std::to_string(i), Vec3(), 1.0f));
    return crowd;
}

// Ids near zero and ids far beyond the number of entities, added (any id, or a given one),
// removed, collected and handed out again in a long mixed run, always answer like a plain map
// from id to entity: the same walk, count, lookups both ways and refusals. A second scenario
// holding the same entities under other ids changes nothing.
TEST_F(CoreScenarioEntity, MixedRunAnswersLikeAMapById) {
    auto crowd = Crowd(300);
    Scenario* scenario = Manager().CreateScenario();
    Scenario* second = Manager().CreateScenario();
    std::map<unsigned, Core::ScenarioSupport*> model;
    std::map<Core::ScenarioSupport*, unsigned> ids;
    unsigned long seed = 12345;
    auto next = [&seed](unsigned range) {
        seed = seed * 6364136223846793005ul + 1442695040888963407ul;
        return static_cast<unsigned>((seed >> 33) % range);
    };
    for (int step = 0; step < 4000; ++step) {
        SCOPED_TRACE(step);
        Core::StaticMeshEntity* entity = crowd[next(300)].get();
        const bool present = ids.count(entity) != 0;
        const unsigned action = next(6);
        if (action < 2) {
            const unsigned id = next(4) ? next(400) : 100000 + next(50);
            const bool accepted = !(model.count(id) && model[id] != entity) && (!present || ids[entity] == id);
            EXPECT_EQ(scenario->AddEntityAtID(entity, id), accepted);
            if (accepted) model[id] = entity, ids[entity] = id;
        } else if (action == 2) {
            const unsigned id = scenario->AddEntity(entity);
            EXPECT_TRUE(present ? id == ids[entity] : model.count(id) == 0);
            model[id] = entity, ids[entity] = id;
        } else if (action < 5) {
            EXPECT_EQ(scenario->RemoveEntity(entity), present);
            if (present) model.erase(ids[entity]), ids.erase(entity);
        } else {
            if (second->GetEntityID(entity) == Scenario::NoID) second->AddEntity(entity);
            else second->RemoveEntity(entity);
            if (next(8) == 0) scenario->RefreshUnusedIDsList();
        }
        if (step % 50 && step < 3990) continue;
        ASSERT_EQ(scenario->GetEntitiesCount(), model.size());
        std::vector<Core::ScenarioSupport*> walked, expected;
        for (Core::ScenarioSupport* e = scenario->GetFirstEntity(); e; e = scenario->GetNextEntity(e)) walked.push_back(e);
        for (const auto& [id, entity] : model) {
            expected.push_back(entity);
            EXPECT_TRUE(scenario->GetEntity(id) == entity && scenario->GetEntityID(entity) == id);
        }
        ASSERT_EQ(walked, expected);
        // A step from any entity, not only the one the walk answered last.
        for (size_t i = 0; i + 1 < expected.size(); i += 7) EXPECT_EQ(scenario->GetNextEntity(expected[i]), expected[i + 1]);
    }
    EXPECT_TRUE(scenario->AddEntity(nullptr) == Scenario::NoID && !scenario->AddEntityAtID(nullptr, 3));
    EXPECT_EQ(scenario->GetNextEntity(nullptr), nullptr);
    Core::ClearErrorLog();
}

// Past the last id nothing is added until the gaps are collected, then the lowest collected
// id is handed out first (reuse after a removal is with the scenario modes). Gaps are
// collected as ranges, and ids claimed inside a gap split it.
TEST_F(CoreScenarioEntity, FreeIdsAreCollectedThenReused) {
    auto e = Crowd(4);
    Scenario* far = Manager().CreateScenario();
    ASSERT_TRUE(far->AddEntityAtID(e[0].get(), 0xFFFFFFFEu));
    EXPECT_EQ(far->AddEntity(e[1].get()), Scenario::NoID);
    EXPECT_EQ(Core::GetErrorLog().size(), 1u);
    far->RefreshUnusedIDsList();
    EXPECT_EQ(far->AddEntity(e[1].get()), 0u);
    ASSERT_TRUE(far->AddEntityAtID(e[2].get(), 2u));
    EXPECT_EQ(far->AddEntity(e[3].get()), 1u);
    far->RemoveEntity(e[1].get());
    EXPECT_EQ(far->AddEntity(e[1].get()), 3u);  // 0 is not collected until the next refresh
}

// A deleted entity leaves every scenario it was in; a destroyed scenario lets its entities go,
// and the manager destroys each scenario once. The play clock runs only while not paused and
// refuses negative and non-finite steps.
TEST_F(CoreScenarioEntity, EntityAndScenarioDeathAndThePlayClock) {
    auto e = Crowd(2);
    Scenario* scenario = Manager().CreateScenario();
    Scenario* other = Manager().CreateScenario();
    scenario->AddEntity(e[0].get());
    scenario->AddEntity(e[1].get());
    other->AddEntity(e[1].get());
    e[1].reset();
    EXPECT_TRUE(scenario->GetEntitiesCount() == 1u && scenario->GetEntity(1) == nullptr && other->GetFirstEntity() == nullptr);
    EXPECT_EQ(scenario->GetNextEntity(e[0].get()), nullptr);
    EXPECT_TRUE(e[0]->IsInScenario(*scenario));
    EXPECT_TRUE(Manager().GetScenarios().size() == 2u && Manager().DestroyScenario(scenario));
    EXPECT_FALSE(Manager().DestroyScenario(scenario) || Manager().DestroyScenario(nullptr) || Manager().HoldsScenario(scenario));
    EXPECT_FALSE(e[0]->IsInScenario(*other));
    EXPECT_NE(other->AddEntity(e[0].get()), Scenario::NoID);
    e.clear();  // dies while in `other`, after `scenario` is gone
    EXPECT_EQ(other->GetEntitiesCount(), 0u);
    EXPECT_EQ(Core::GetErrorLog().size(), 2u);
    other->Update(1.5f);
    other->Pause();
    other->Update(10.0f);
    other->Resume();
    other->Update(0.25f);
    for (float bad : {-1.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) other->Update(bad);
    EXPECT_FLOAT_EQ(other->GetPlayTime(), 1.75f);
    EXPECT_EQ(Core::GetErrorLog().size(), 5u);
}

}  // namespace
