// What a channel evaluation costs over the core and channel calls it makes. Each mode is
// evaluated in a loop and the same calls are made directly in another (reading the same
// reference channels, without the checks), alternately in the same run; a mode whose work is one counter shows what the dispatch alone costs.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "PerformanceTable.h"
#include "ScalingTiming.h"

#include "storyloom/scenario_channel/Aco_Storyloom.h"

namespace {

constexpr int kCalls = 20000;  // per timed loop, so that the clock's resolution does not show

template <class F>
double LoopSeconds(F&& call) {
    return SecondsOf([&] {
        for (int i = 0; i < kCalls; ++i) call();
    });
}

Core::ScenarioManager& Manager() { return Core::CoreEngine::Instance().GetScenarioManager(); }

// What a direct caller holding the reference channel reads: its object, known to be a scenario.
Core::Scenario* ScenarioOf(const Aco_CoreRef& ref) { return static_cast<Core::Scenario*>(ref.GetRef()); }

// A scenario of three entities and the reference channels to it and to its first entity.
struct ScenarioGraph {
    ScenarioGraph() {
        for (const char* name : {"a", "b", "c"}) {
            entities.push_back(std::make_unique<Core::StaticMeshEntity>(name, VelmMathLib::Vec3(), 1.0f));
            scenario->AddEntity(entities.back().get());
        }
        scenarioRef.SetRef(scenario);
        entityRef.SetRef(entities.front().get());
    }
    ~ScenarioGraph() { Manager().DestroyScenario(scenario); }

    Core::Scenario* scenario = Manager().CreateScenario();
    std::vector<std::unique_ptr<Core::StaticMeshEntity>> entities;
    Aco_CoreRef scenarioRef, entityRef, answerRef;
    Aco_FloatChannel value;
    Aco_Storyloom channel;
};

// One table row: `evaluate` and `direct` alternate so that both see the same machine.
template <class Evaluate, class Direct>
void DispatchRow(benchmark::State& state, const std::string& row, Evaluate evaluate, Direct direct) {
    double evaluation = 0, baseline = 0;
    for (auto _ : state) {
        evaluation += LoopSeconds(evaluate);
        baseline += LoopSeconds(direct);
    }
    TableRow(state, row, evaluation, baseline, 3.0, kCalls);
}

void GetEntityCount(benchmark::State& state) {
    ScenarioGraph graph;
    graph.channel.SetCurrentMode(MODE_Scenario_GetEntityCount);
    graph.channel.LinkChild(0, &graph.scenarioRef);
    graph.channel.LinkChild(1, &graph.value);
    Aco_CoreRef* scenarioRef = &graph.scenarioRef;
    Aco_FloatChannel* count = &graph.value;
    benchmark::DoNotOptimize(count);  // keeps SetFloat a virtual call, as the mode makes it
    benchmark::DoNotOptimize(scenarioRef);
    DispatchRow(state, "dispatch Scenario_GetEntityCount", [&] { benchmark::DoNotOptimize(graph.channel.GetFloat()); },
                [&] {
                    count->SetFloat(static_cast<float>(ScenarioOf(*scenarioRef)->GetEntitiesCount()));
                    benchmark::ClobberMemory();
                });
    if (graph.value.GetFloat() != 3.0f) state.SkipWithError("the mode did not write the count");
}

// Adding an entity already in the scenario answers its id: the steady state of a graph that
// evaluates the mode every frame.
void AddEntity(benchmark::State& state) {
    ScenarioGraph graph;
    graph.channel.SetCurrentMode(MODE_Scenario_AddEntity);
    graph.channel.LinkChild(0, &graph.scenarioRef);
    graph.channel.LinkChild(1, &graph.entityRef);
    graph.channel.LinkChild(2, &graph.value);
    Aco_CoreRef* scenarioRef = &graph.scenarioRef;
    Aco_CoreRef* entityRef = &graph.entityRef;
    Aco_FloatChannel* id = &graph.value;
    benchmark::DoNotOptimize(id);
    benchmark::DoNotOptimize(scenarioRef);
    benchmark::DoNotOptimize(entityRef);
    DispatchRow(state, "dispatch Scenario_AddEntity", [&] { benchmark::DoNotOptimize(graph.channel.GetFloat()); },
                [&] {
                    id->SetFloat(static_cast<float>(
                        ScenarioOf(*scenarioRef)->AddEntity(entityRef->GetRef()->AsScenarioSupport())));
                    benchmark::ClobberMemory();
                });
    if (graph.channel.GetFloat() != 0.0f) state.SkipWithError("the mode failed");
}

void GetEntityByID(benchmark::State& state) {
    ScenarioGraph graph;
    graph.channel.SetCurrentMode(MODE_Scenario_GetEntity);
    graph.channel.LinkChild(0, &graph.scenarioRef);
    graph.channel.LinkChild(1, &graph.value);
    graph.channel.LinkChild(2, &graph.answerRef);
    graph.value.SetFloat(static_cast<float>(graph.scenario->GetEntityID(graph.entities[1].get())));
    Aco_CoreRef* scenarioRef = &graph.scenarioRef;
    Aco_FloatChannel* id = &graph.value;
    Aco_CoreRef* answer = &graph.answerRef;
    benchmark::DoNotOptimize(id);
    benchmark::DoNotOptimize(scenarioRef);
    DispatchRow(state, "dispatch Scenario_GetEntity (by id)",
                [&] { benchmark::DoNotOptimize(graph.channel.GetFloat()); },
                [&] {
                    Core::ScenarioSupport* found =
                        ScenarioOf(*scenarioRef)->GetEntity(static_cast<unsigned>(id->GetFloat()));
                    answer->SetRef(found ? found->AsRefSupport() : nullptr);
                    benchmark::ClobberMemory();
                });
    if (graph.channel.GetFloat() != 0.0f || graph.answerRef.GetRef() != graph.entities[1].get())
        state.SkipWithError("the mode did not find the entity");
}

void EntityIsInArea(benchmark::State& state) {
    Core::StaticMeshEntity entity("walker", VelmMathLib::Vec3(0, 0, 0), 1.0f);
    Core::AreaEntity area("gate");
    area.AddComponent(new Core::SphereAreaComponent(VelmMathLib::Vec3(1, 0, 0), 1.0f));
    Aco_CoreRef entityRef, areaRef;
    entityRef.SetRef(&entity);
    areaRef.SetRef(&area);
    Aco_FloatChannel inArea;
    Aco_Storyloom channel;
    channel.SetCurrentMode(MODE_Entity_IsInArea);
    channel.LinkChild(0, &entityRef);
    channel.LinkChild(1, &areaRef);
    channel.LinkChild(2, &inArea);
    if (channel.GetFloat() != 0.0f || inArea.GetFloat() != 1.0f) {
        state.SkipWithError("the mode did not find the entity in the area");
        return;
    }
    Aco_FloatChannel* out = &inArea;
    Aco_CoreRef* walker = &entityRef;
    Aco_CoreRef* gate = &areaRef;
    benchmark::DoNotOptimize(out);
    benchmark::DoNotOptimize(walker);
    benchmark::DoNotOptimize(gate);
    DispatchRow(state, "dispatch Entity_IsInArea", [&] { benchmark::DoNotOptimize(channel.GetFloat()); },
                [&] {
                    auto* area = static_cast<Core::AreaEntity*>(gate->GetRef());
                    auto* mesh = static_cast<Core::StaticMeshEntity*>(walker->GetRef());
                    out->SetFloat(area->IsTouching(*mesh) ? 1.0f : 0.0f);
                    benchmark::ClobberMemory();
                });
}

// "ScenarioEditor_RenderGraph" only counts a render: what is left is finding and calling its
// handler, held against the cheapest direct call above.
void DispatchOnly(benchmark::State& state) {
    ScenarioGraph graph;
    Aco_Storyloom channel;
    channel.SetCurrentMode(MODE_ScenarioEditor_RenderGraph);
    Core::Scenario* scenario = graph.scenario;
    Aco_FloatChannel* count = &graph.value;
    benchmark::DoNotOptimize(count);
    DispatchRow(state, "dispatch alone (ScenarioEditor_RenderGraph)",
                [&] { benchmark::DoNotOptimize(channel.GetFloat()); },
                [&] {
                    count->SetFloat(static_cast<float>(scenario->GetEntitiesCount()));
                    benchmark::ClobberMemory();
                });
    if (channel.GetFloat() != 0.0f) state.SkipWithError("the mode did not answer done");
}

}  // namespace

BENCHMARK(GetEntityCount)->Iterations(50);
BENCHMARK(AddEntity)->Iterations(50);
BENCHMARK(GetEntityByID)->Iterations(50);
BENCHMARK(EntityIsInArea)->Iterations(50);
BENCHMARK(DispatchOnly)->Iterations(50);

SCALING_BENCHMARK_MAIN()
