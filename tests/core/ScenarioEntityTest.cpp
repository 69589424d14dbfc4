#include <limits>
#include <map>
#include <string>
#include <memory>
#include <vector>

#include "CoreTestSupport.h"

namespace {

using Core::Scenario;
using VelmMathLib::Vec3;

class CoreScenarioEntity : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        scenario = Manager().CreateScenario();
        for (const char* name : {"a", "b", "c", "d"})
            entities.push_back(std::make_unique<Core::StaticMeshEntity>(name, Vec3(), 1.0f));
    }
    Core::StaticMeshEntity* E(size_t i) { return entities[i].get(); }
    std::vector<std::string> Walk() const {
        std::vector<std::string> names;
        for (Core::ScenarioSupport* e = scenario->GetFirstEntity(); e; e = scenario->GetNextEntity(e))
            names.push_back(e->GetName());
        return names;
    }

    Scenario* scenario = nullptr;
    std::vector<std::unique_ptr<Core::StaticMeshEntity>> entities;
};

// Ids count from 0; a removed id stays unused until RefreshUnusedIDsList collects it, then
// the lowest collected id is handed out first.
TEST_F(CoreScenarioEntity, IdsAndFreeIdReuse) {
    EXPECT_EQ(scenario->AddEntity(E(0)), 0u);
    EXPECT_EQ(scenario->AddEntity(E(1)), 1u);
    EXPECT_EQ(scenario->AddEntity(E(2)), 2u);
    EXPECT_EQ(scenario->AddEntity(E(1)), 1u);  // already here: same id, no second entry
    EXPECT_EQ(scenario->GetEntitiesCount(), 3u);

    EXPECT_TRUE(scenario->RemoveEntity(E(0)));
    EXPECT_TRUE(scenario->RemoveEntity(E(1)));
    EXPECT_EQ(scenario->AddEntity(E(3)), 3u);
    scenario->RefreshUnusedIDsList();
    EXPECT_EQ(scenario->AddEntity(E(0)), 0u);
    EXPECT_EQ(scenario->AddEntity(E(1)), 1u);
    EXPECT_EQ(scenario->GetEntity(1), E(1));
    EXPECT_EQ(scenario->GetEntityID(E(3)), 3u);
    EXPECT_TRUE(Core::GetErrorLog().empty());
}

// Gaps are collected as ranges: far ids cost nothing, and ids claimed inside a gap split it.
TEST_F(CoreScenarioEntity, FarIdsAndExhaustion) {
    ASSERT_TRUE(scenario->AddEntityAtID(E(0), 0xFFFFFFFEu));
    EXPECT_EQ(scenario->AddEntity(E(1)), Scenario::NoID);  // past the last id, nothing collected yet
    EXPECT_EQ(Core::GetErrorLog().size(), 1u);
    scenario->RefreshUnusedIDsList();
    EXPECT_EQ(scenario->AddEntity(E(1)), 0u);
    ASSERT_TRUE(scenario->AddEntityAtID(E(2), 2u));
    EXPECT_EQ(scenario->AddEntity(E(3)), 1u);
    scenario->RemoveEntity(E(1));
    EXPECT_EQ(scenario->AddEntity(E(1)), 3u);  // 0 is not collected until the next refresh
}

// AddEntityAtID: NoID means "any id"; taken ids and second ids are refused. The walk follows
// ids, whatever order the entities were added in, and ends with null.
TEST_F(CoreScenarioEntity, AddAtIdAndWalkInIdOrder) {
    EXPECT_EQ(scenario->GetFirstEntity(), nullptr);
    struct Case {
        size_t entity;
        unsigned id;
        bool accepted;
        unsigned idAfter;
    };
    const Case cases[] = {
        {0, 7, true, 7},                  // free id
        {1, 7, false, Scenario::NoID},    // held by another
        {0, 7, true, 7},                  // same place again
        {0, 8, false, 7},                 // already here elsewhere
        {1, Scenario::NoID, true, 8},     // any id: past the highest used
        {2, 2, true, 2},                  // below the others
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "entity " << c.entity << " at " << c.id);
        EXPECT_EQ(scenario->AddEntityAtID(E(c.entity), c.id), c.accepted);
        EXPECT_EQ(scenario->GetEntityID(E(c.entity)), c.idAfter);
    }
    EXPECT_FALSE(scenario->AddEntityAtID(nullptr, 3));
    EXPECT_EQ(scenario->AddEntity(nullptr), Scenario::NoID);
    EXPECT_FALSE(scenario->RemoveEntity(E(3)));
    EXPECT_EQ(Core::GetErrorLog().size(), 5u);

    EXPECT_EQ(Walk(), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_EQ(scenario->GetNextEntity(E(1)), nullptr);
    EXPECT_EQ(scenario->GetNextEntity(E(3)), nullptr);  // not in the scenario
    EXPECT_EQ(scenario->GetNextEntity(nullptr), nullptr);
}

// A deleted entity leaves every scenario it was in; a destroyed scenario lets its entities go.
TEST_F(CoreScenarioEntity, EntityAndScenarioDeathInEitherOrder) {
    Scenario* other = Manager().CreateScenario();
    scenario->AddEntity(E(0));
    scenario->AddEntity(E(1));
    other->AddEntity(E(1));
    entities[1].reset();
    EXPECT_EQ(scenario->GetEntitiesCount(), 1u);
    EXPECT_EQ(scenario->GetEntity(1), nullptr);
    EXPECT_EQ(other->GetFirstEntity(), nullptr);
    EXPECT_EQ(Walk(), (std::vector<std::string>{"a"}));

    EXPECT_TRUE(E(0)->IsInScenario(*scenario));
    Manager().DestroyScenario(scenario);
    EXPECT_FALSE(E(0)->IsInScenario(*other));
    EXPECT_TRUE(other->AddEntity(E(0)) != Scenario::NoID);
    entities.clear();  // dies while in `other`, after `scenario` is gone
    EXPECT_EQ(other->GetEntitiesCount(), 0u);
}

// Ids near zero and ids far beyond the number of entities, added, removed, collected and
// handed out again in a long mixed run, always answer like a plain map from id to entity:
// the same walk, count, lookups both ways and refusals.
TEST_F(CoreScenarioEntity, MixedRunAnswersLikeAMapById) {
    std::vector<std::unique_ptr<Core::StaticMeshEntity>> crowd;
    for (int i = 0; i < 300; ++i)
        crowd.push_back(std::make_unique<Core::StaticMeshEntity>("m" + std::to_string(i), Vec3(), 1.0f));
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
        switch (next(6)) {
            case 0:
            case 1: {
                const unsigned id = next(4) ? next(400) : 100000 + next(50);
                const bool held = model.count(id) && model[id] != entity;
                const bool accepted = !held && (!present || ids[entity] == id);
                EXPECT_EQ(scenario->AddEntityAtID(entity, id), accepted);
                if (accepted) model[id] = entity, ids[entity] = id;
                break;
            }
            case 2: {
                const unsigned id = scenario->AddEntity(entity);
                if (present) {
                    EXPECT_EQ(id, ids[entity]);
                } else {
                    ASSERT_EQ(model.count(id), 0u);
                    model[id] = entity, ids[entity] = id;
                }
                break;
            }
            case 3:
            case 4:
                EXPECT_EQ(scenario->RemoveEntity(entity), present);
                if (present) model.erase(ids[entity]), ids.erase(entity);
                break;
            default:
                // Another scenario holding the same entities under other ids changes nothing here.
                if (second->GetEntityID(entity) == Scenario::NoID) second->AddEntity(entity);
                else second->RemoveEntity(entity);
                if (next(8) == 0) scenario->RefreshUnusedIDsList();
        }
        if (step % 50 && step < 3990) continue;
        ASSERT_EQ(scenario->GetEntitiesCount(), model.size());
        std::vector<Core::ScenarioSupport*> walked, expected;
        for (Core::ScenarioSupport* e = scenario->GetFirstEntity(); e; e = scenario->GetNextEntity(e)) walked.push_back(e);
        for (const auto& entry : model) {
            expected.push_back(entry.second);
            EXPECT_EQ(scenario->GetEntity(entry.first), entry.second);
            EXPECT_EQ(scenario->GetEntityID(entry.second), entry.first);
        }
        ASSERT_EQ(walked, expected);
        // A step from any entity, not only the one the walk answered last.
        for (size_t i = 0; i + 1 < expected.size(); i += 7) EXPECT_EQ(scenario->GetNextEntity(expected[i]), expected[i + 1]);
    }
    Core::ClearErrorLog();
}

TEST_F(CoreScenarioEntity, ManagerAndPlayClock) {
    Scenario* second = Manager().CreateScenario();
    EXPECT_NE(second, scenario);
    EXPECT_EQ(Manager().GetScenarios().size(), 2u);
    EXPECT_TRUE(Manager().DestroyScenario(second));
    EXPECT_FALSE(Manager().DestroyScenario(second));
    EXPECT_FALSE(Manager().DestroyScenario(nullptr));
    EXPECT_FALSE(Manager().HoldsScenario(second));

    EXPECT_FALSE(scenario->IsPaused());
    scenario->Update(1.5f);
    scenario->Pause();
    scenario->Update(10.0f);
    scenario->Resume();
    scenario->Update(0.25f);
    for (float bad : {-1.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()})
        scenario->Update(bad);
    EXPECT_FLOAT_EQ(scenario->GetPlayTime(), 1.75f);
    EXPECT_EQ(Core::GetErrorLog().size(), 5u);
}

}  // namespace
