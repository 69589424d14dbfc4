// The cost of recording a run: the same graph run as the program runs it, with and without
// the evaluation recorder (what --report and --coverage turn on).
#include <cstdio>
#include <memory>

#include <nlohmann/json.hpp>

#include "GraphProgram.h"
#include "LinkedPlugin.h"
#include "PerformanceTable.h"
#include "ScalingTiming.h"

namespace {
// A scenario with an entity, and `steps` steps each evaluating a lookup whose id is itself a
// mode channel's value: two evaluations per step, one nested in the other.
std::string NestedLookups(size_t steps) {
    nlohmann::json graph = {
        {"entities", {{{"name", "Hero"}}}},
        {"channels",
         {{{"id", "scenario"}, {"kind", "CoreRef"}},
          {{"id", "hero"}, {"kind", "CoreRef"}, {"ref", "Hero"}},
          {{"id", "heroId"}, {"kind", "Value"}},
          {{"id", "count"}, {"kind", "Value"}},
          {{"id", "found"}, {"kind", "CoreRef"}},
          {{"id", "create"}, {"kind", "Storyloom"}, {"mode", "Scenario_Create"}, {"links", {"scenario"}}},
          {{"id", "add"}, {"kind", "Storyloom"}, {"mode", "Scenario_AddEntity"}, {"links", {"scenario", "hero", "heroId"}}},
          {{"id", "countAll"}, {"kind", "Storyloom"}, {"mode", "Scenario_GetEntityCount"}, {"links", {"scenario", "count"}}},
          {{"id", "lookup"}, {"kind", "Storyloom"}, {"mode", "Scenario_GetEntity"},
           {"links", {"scenario", "countAll", "found"}}}}},
        {"steps", {{{"evaluate", "create"}}, {{"evaluate", "add"}}}}};
    for (size_t step = 0; step < steps; ++step) graph["steps"].push_back({{"evaluate", "lookup"}});
    return graph.dump();
}

void RunWithAndWithoutRecording(benchmark::State& state) {
    A3dPluginLoader plugin;
    std::string error;
    if (!LinkedPlugin::Open(plugin, error)) return state.SkipWithError(error.c_str());
    const std::string text = NestedLookups(5000);
    std::unique_ptr<FILE, int (*)(FILE*)> quiet(std::fopen("/dev/null", "w"), std::fclose);
    const ModeList modes(plugin);
    double plainSeconds = 0, recordedSeconds = 0;
    for (auto _ : state) {
        Coverage coverage(modes);
        plainSeconds += SecondsOf([&] { GraphProgram::Run(text, "nested.json", plugin, {}, quiet.get(), error); });
        recordedSeconds += SecondsOf([&] {
            GraphProgram::Run(text, "nested.json", plugin, {}, quiet.get(), error, {"", &coverage});
        });
        if (!error.empty()) return state.SkipWithError(error.c_str());
    }
    TableRow(state, "run of 10,000 evaluations: recording every evaluation vs not", recordedSeconds, plainSeconds, 2.0,
             10000);
}
}  // namespace

BENCHMARK(RunWithAndWithoutRecording)->Unit(benchmark::kMillisecond)->Iterations(5);

SCALING_BENCHMARK_MAIN();
