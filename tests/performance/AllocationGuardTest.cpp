// Properties the benchmarks measure that must not regress unseen: evaluations of the modes
// that only read and write values and references allocate nothing once the graph has run,
// a text without placeholders is translated without allocating, and reading a translation
// text allocates in proportion to its items, as do a scenario's entities, its state text and
// its rule nodes; channels of one mode share their position records.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/CountingNew.h"
#include "support/SampleTranslationText.h"
#include "storyloom/coreframework/LanguageDictionary.h"
#include "storyloom/coreframework/LanguageDictionaryXMLSerializer.h"
#include "storyloom/scenario_channel/Aco_Storyloom.h"

namespace {

using CountingNew::AllocationsOf;

Core::ScenarioManager& Manager() { return Core::CoreEngine::Instance().GetScenarioManager(); }

// A scenario holding one entity, and the reference and value channels a mode links.
struct EntityGraph {
    EntityGraph() {
        scenario->AddEntity(&entity);
        scenarioRef.SetRef(scenario);
        entityRef.SetRef(&entity);
    }
    ~EntityGraph() { Manager().DestroyScenario(scenario); }

    Core::Scenario* scenario = Manager().CreateScenario();
    Core::StaticMeshEntity entity{"walker", VelmMathLib::Vec3(), 1.0f};
    Aco_CoreRef scenarioRef, entityRef;
    Aco_FloatChannel value;
};

// Evaluations run every frame and must not touch the heap once the graph is built.
TEST(AllocationGuard, ValueAndReferenceModesEvaluateWithoutAllocating) {
    struct Case {
        const char* name;
        unsigned int mode;
        bool linksEntity;  // the entity sits between the scenario and the value
        float written;     // what the mode writes into the value child
    };
    for (const Case& c : {Case{"Scenario_GetEntityCount", MODE_Scenario_GetEntityCount, false, 1.0f},
                          Case{"Scenario_AddEntity", MODE_Scenario_AddEntity, true, 0.0f}}) {
        SCOPED_TRACE(c.name);
        EntityGraph graph;
        Aco_Storyloom channel;
        channel.SetCurrentMode(c.mode);
        unsigned int position = 0;
        channel.LinkChild(position++, &graph.scenarioRef);
        if (c.linksEntity) channel.LinkChild(position++, &graph.entityRef);
        channel.LinkChild(position, &graph.value);
        graph.value.SetFloat(-7.0f);

        float result = -1.0f;
        EXPECT_EQ(AllocationsOf([&] {
                      for (int frame = 0; frame < 100; ++frame) result = channel.GetFloat();
                  }),
                  0u);
        EXPECT_EQ(result, 0.0f);
        EXPECT_EQ(graph.value.GetFloat(), c.written);
    }
}

// Most texts a game translates hold no placeholder: they are left as they are, untouched.
TEST(AllocationGuard, TranslateOfATextWithoutPlaceholdersDoesNotAllocate) {
    LanguageDictionary dictionary("$(", ")");
    dictionary.AddItem("key", "translation", "");
    for (const std::string& plain : {std::string(), std::string("words) and (more"),
                                     std::string("ends with a dollar $"), std::string(1 << 20, 'x')}) {
        std::string text = plain;
        EXPECT_EQ(AllocationsOf([&] { dictionary.Translate(text); }), 0u) << plain.substr(0, 40);
        EXPECT_EQ(text, plain);
    }
}

unsigned long ImportAllocations(int items, std::size_t& read) {
    std::string text = TranslationText(items);
    LanguageDictionary dictionary("$(", ")");
    const unsigned long allocations =
        AllocationsOf([&] { LanguageDictionaryXMLSerializer::Import(text, dictionary); });
    read = dictionary.GetItems().size();
    return allocations;
}

// A reader that copies or rebuilds what it has read allocates more per item as the text grows.
// Map nodes and items come from the dictionary's pages: an entry costs the heap at most the
// blocks of its two texts.
TEST(AllocationGuard, ImportAllocationsGrowWithTheItems) {
    std::size_t smallRead = 0, largeRead = 0;
    const unsigned long small = ImportAllocations(1000, smallRead);
    const unsigned long large = ImportAllocations(10000, largeRead);
    ASSERT_EQ(smallRead, 1000u);
    ASSERT_EQ(largeRead, 10000u);
    EXPECT_GT(small, 0u);
    EXPECT_LE(large, 20 * small);
    EXPECT_LE(large, 2 * largeRead + 100);
}

// Entities added, walked and removed, and the state written and read back, cost a few
// allocations per entity whatever their number: no node per entity or per record.
TEST(AllocationGuard, EntitiesAndStateAllocateAFewTimesPerEntity) {
    for (int count : {1000, 10000}) {
        SCOPED_TRACE(count);
        std::vector<std::unique_ptr<Core::StaticMeshEntity>> crowd;
        for (int i = 0; i < count; ++i)
            crowd.push_back(std::make_unique<Core::StaticMeshEntity>("e" + std::to_string(i), VelmMathLib::Vec3(), 1.0f));
        Core::Scenario* scenario = Manager().CreateScenario();
        unsigned walked = 0;
        const unsigned long entities = AllocationsOf([&] {
            for (auto& entity : crowd) scenario->AddEntity(entity.get());
            for (Core::ScenarioSupport* e = scenario->GetFirstEntity(); e; e = scenario->GetNextEntity(e)) ++walked;
            for (auto& entity : crowd) scenario->RemoveEntity(entity.get());
        });
        for (auto& entity : crowd) scenario->AddEntity(entity.get());
        int failures = 0;
        const unsigned long state = AllocationsOf([&] {
            std::string text;
            failures += scenario->ExportState(CustomEnums::SerializerFlag::Export, text, 0);
            failures += scenario->ImportState(CustomEnums::SerializerFlag::Import, text);
        });
        // Read into a new scenario every entity is found by name: a table of the live ones.
        Core::Scenario* loaded = Manager().CreateScenario();
        std::string text;
        failures += scenario->ExportState(CustomEnums::SerializerFlag::Export, text, 0);
        const unsigned long byName = AllocationsOf(
            [&] { failures += loaded->ImportState(CustomEnums::SerializerFlag::Import, text); });
        const unsigned loadedCount = loaded->GetEntitiesCount();
        Manager().DestroyScenario(loaded);
        Manager().DestroyScenario(scenario);
        ASSERT_EQ(walked, unsigned(count));
        ASSERT_EQ(failures, 0);
        ASSERT_EQ(loadedCount, unsigned(count));
        // An entity in one scenario keeps that membership inline, and the scenario's table of
        // ids grows by doubling; the state's record texts are read and written.
        EXPECT_LE(entities, count / 10ul);
        EXPECT_LE(state, 5ul * count + 100);
        EXPECT_LE(byName, 8ul * count + 100);
    }
}

// Making, firing into and destroying rule nodes costs the same per node at any number.
TEST(AllocationGuard, RuleNodesAllocateTheSamePerNodeAtAnyNumber) {
    Aco_Storyloom construct;
    construct.SetCurrentMode(MODE_OnConstruct_Event);
    construct.SetChannelName("Gate Reached");
    ASSERT_EQ(construct.GetFloat(), 0.0f);
    auto& events = CoreFramework::Singleton<Core::EventFactoryManager>::Instance();
    Core::EventParams params(nullptr);
    unsigned long perThousand[2] = {};
    for (int size : {0, 1}) {
        const int count = size ? 10000 : 1000;
        Core::Scenario* scenario = Manager().CreateScenario();
        unsigned fired = 0;
        const unsigned long allocations = AllocationsOf([&] {
            for (int i = 0; i < count; ++i) scenario->AddEventNode()->SetEvent("Gate Reached");
            fired = events.FireEvent("Gate Reached", params);
            Manager().DestroyScenario(scenario);
        });
        ASSERT_EQ(fired, 0u);  // nothing is linked to activate them
        perThousand[size] = allocations * 1000 / count;
    }
    EXPECT_LE(perThousand[1], perThousand[0] + 10);
}

// Channels of one mode declare alike, and share one copy of each position's record.
TEST(AllocationGuard, ChannelsOfOneModeShareTheirPositionRecords) {
    const std::size_t before = SharedChildCreation::KeptCount();
    {
        std::vector<Aco_Storyloom> channels(1000);
        for (Aco_Storyloom& channel : channels) channel.SetCurrentMode(MODE_Scenario_GetEntityCount);
        EXPECT_LE(SharedChildCreation::KeptCount(), before + 2);
    }
    EXPECT_LE(SharedChildCreation::KeptCount(), before);
}

}  // namespace
