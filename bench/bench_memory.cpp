// Memory per object: the heap bytes a scenario's entities, a graph's channels, a dictionary's
// entries and a scenario's rule nodes take in use, against the bytes of the objects themselves
// and their texts. What lies between the two is bookkeeping: lists, tables, the allocator's
// own headers; a ratio near 1 means an object costs what it holds.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "PerformanceTable.h"
#include "ScalingTiming.h"

#include "storyloom/coreframework/LanguageDictionary.h"
#include "storyloom/scenario_channel/Aco_Storyloom.h"

namespace {

constexpr int kObjects = 10000;

Core::ScenarioManager& Manager() { return Core::CoreEngine::Instance().GetScenarioManager(); }

// Bytes the allocator hands out, its headers included.
double HeapInUse() { return double(mallinfo2().uordblks); }

template <class F>
double HeapGrowthOf(F&& work) {
    const double before = HeapInUse();
    work();
    return HeapInUse() - before;
}

std::string Numbered(const char* prefix, int n) {
    char text[64];
    std::snprintf(text, sizeof text, "%s%05d", prefix, n);
    return text;
}

// Named entities, each added to one scenario.
void Entities(benchmark::State& state) {
    double held = 0, own = 0;
    for (auto _ : state) {
        Core::Scenario* scenario = Manager().CreateScenario();
        std::vector<std::unique_ptr<Core::StaticMeshEntity>> entities;
        entities.reserve(kObjects);
        held += HeapGrowthOf([&] {
            for (int i = 0; i < kObjects; ++i) {
                entities.push_back(std::make_unique<Core::StaticMeshEntity>(Numbered("guard of the north gate ", i),
                                                                            VelmMathLib::Vec3(), 1.0f));
                scenario->AddEntity(entities.back().get());
            }
        });
        for (const auto& entity : entities) own += sizeof(Core::StaticMeshEntity) + entity->GetName().size() + 1;
        Manager().DestroyScenario(scenario);
    }
    BytesRow(state, "bytes per entity in a scenario vs the entity and its name", held, own, 2.0,
             double(kObjects) * state.iterations());
}

// Channels given a mode and linked to a reference they share and a value of their own.
void Channels(benchmark::State& state) {
    double held = 0, own = 0;
    for (auto _ : state) {
        Aco_CoreRef scenarioRef;
        std::vector<std::unique_ptr<Aco_FloatChannel>> values(kObjects);
        for (auto& value : values) value = std::make_unique<Aco_FloatChannel>();
        std::vector<std::unique_ptr<Aco_Storyloom>> channels;
        channels.reserve(kObjects);
        held += HeapGrowthOf([&] {
            for (int i = 0; i < kObjects; ++i) {
                channels.push_back(std::make_unique<Aco_Storyloom>());
                channels.back()->SetCurrentMode(MODE_Scenario_GetEntityCount);
                channels.back()->LinkChild(0, &scenarioRef);
                channels.back()->LinkChild(1, values[i].get());
            }
        });
        own += double(kObjects) * sizeof(Aco_Storyloom);
    }
    BytesRow(state, "bytes per mode channel with two links vs the channel object", held, own, 2.0,
             double(kObjects) * state.iterations());
}

// Entries with a dotted key and sentence-long texts, as a game's lines are.
void DictionaryEntries(benchmark::State& state) {
    double held = 0, own = 0;
    for (auto _ : state) {
        LanguageDictionary dictionary("$(", ")");
        held += HeapGrowthOf([&] {
            for (int i = 0; i < kObjects; ++i)
                dictionary.AddItem(Numbered("quest.north_gate.line", i), Numbered("The guard lowers his spear. ", i),
                                   Numbered("Der Wachmann senkt seinen Speer. ", i));
        });
        for (const auto& [key, item] : dictionary.GetItems())
            own += sizeof(LanguageItem) + key.size() + item->GetTranslated().size() + item->GetSource().size() + 3;
    }
    BytesRow(state, "bytes per dictionary entry vs the entry and its three texts", held, own, 2.0,
             double(kObjects) * state.iterations());
}

// Event nodes of a channel-defined kind with four value slots.
void QuestNodes(benchmark::State& state) {
    constexpr const char* kType = "Gate Reached";
    constexpr int kSlots = 4;
    double held = 0, own = 0;
    for (auto _ : state) {
        Aco_Storyloom construct;
        construct.SetCurrentMode(MODE_OnConstruct_Event);
        construct.SetChannelName(kType);
        std::vector<std::unique_ptr<Aco_FloatChannel>> slots(kSlots);
        for (auto& slot : slots) {
            slot = std::make_unique<Aco_FloatChannel>();
            slot->SetChannelName("Speed");
            construct.LinkChild(0, slot.get());
        }
        construct.GetFloat();
        Core::Scenario* scenario = Manager().CreateScenario();
        held += HeapGrowthOf([&] {
            for (int i = 0; i < kObjects; ++i) scenario->AddEventNode()->SetEvent(kType);
        });
        own += double(kObjects) * (sizeof(Core::EventNode) + sizeof(QuestEvent) +
                                   kSlots * (sizeof(Core::TVariableSlot<Core::TVariable<float>>) + sizeof("Speed")));
        Manager().DestroyScenario(scenario);
    }
    BytesRow(state, "bytes per event node of four slots vs its node, event and slots", held, own, 2.0,
             double(kObjects) * state.iterations());
}

}  // namespace

BENCHMARK(Entities)->Iterations(1);
BENCHMARK(Channels)->Iterations(1);
BENCHMARK(DictionaryEntries)->Iterations(1);
BENCHMARK(QuestNodes)->Iterations(1);

SCALING_BENCHMARK_MAIN()
