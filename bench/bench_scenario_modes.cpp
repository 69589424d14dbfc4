// What a channel evaluation costs over the core calls it makes: "Scenario_GetEntityCount"
// against GetEntitiesCount and SetFloat called directly, in the same run; and the evaluation of
// a mode whose work is one counter, which is little more than the dispatch. Prints both
// against the direct calls.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "scenario_channel/Aco_Storyloom.h"

namespace {

// A scenario of three entities, its reference channel and a value channel for the count.
struct CountGraph {
    CountGraph() {
        for (const char* name : {"a", "b", "c"}) {
            entities.push_back(std::make_unique<Core::StaticMeshEntity>(name, VelmMathLib::Vec3(), 1.0f));
            scenario->AddEntity(entities.back().get());
        }
        scenarioRef.SetRef(scenario);
        channel.SetCurrentMode(MODE_Scenario_GetEntityCount);
        channel.LinkChild(0, &scenarioRef);
        channel.LinkChild(1, &count);
    }
    ~CountGraph() { Core::CoreEngine::Instance().GetScenarioManager().DestroyScenario(scenario); }

    Core::Scenario* scenario = Core::CoreEngine::Instance().GetScenarioManager().CreateScenario();
    std::vector<std::unique_ptr<Core::StaticMeshEntity>> entities;
    Aco_CoreRef scenarioRef;
    Aco_FloatChannel count;
    Aco_Storyloom channel;
};

void DirectCalls(benchmark::State& state) {
    CountGraph graph;
    Core::Scenario* scenario = graph.scenario;
    Aco_FloatChannel* count = &graph.count;
    benchmark::DoNotOptimize(scenario);
    benchmark::DoNotOptimize(count);  // keeps SetFloat a virtual call, as the mode makes it
    for (auto _ : state) {
        count->SetFloat(static_cast<float>(scenario->GetEntitiesCount()));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(DirectCalls);

void ChannelEvaluation(benchmark::State& state) {
    CountGraph graph;
    for (auto _ : state) benchmark::DoNotOptimize(graph.channel.GetFloat());
    if (graph.count.GetFloat() != 3.0f) state.SkipWithError("the mode did not write the count");
}
BENCHMARK(ChannelEvaluation);

// "ScenarioEditor_RenderGraph" only counts a render: what is left is finding and calling its
// handler.
void DispatchOnly(benchmark::State& state) {
    Aco_Storyloom channel;
    channel.SetCurrentMode(MODE_ScenarioEditor_RenderGraph);
    for (auto _ : state) benchmark::DoNotOptimize(channel.GetFloat());
    if (channel.GetFloat() != 0.0f) state.SkipWithError("the mode did not answer done");
}
BENCHMARK(DispatchOnly);

// Prints as usual and keeps each benchmark's time per iteration for the closing ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (!run.error_occurred && run.run_type == Run::RT_Iteration)
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    auto direct = reporter.times.find("DirectCalls");
    auto channel = reporter.times.find("ChannelEvaluation");
    auto dispatch = reporter.times.find("DispatchOnly");
    if (direct == reporter.times.end() || channel == reporter.times.end() || dispatch == reporter.times.end() ||
        direct->second <= 0.0)
        return 1;
    std::printf("Scenario_GetEntityCount evaluation / direct calls: %.1f\n", channel->second / direct->second);
    std::printf("ScenarioEditor_RenderGraph evaluation / direct calls: %.1f\n", dispatch->second / direct->second);
    return 0;
}
