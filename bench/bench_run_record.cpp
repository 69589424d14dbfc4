// The cost of recording a run: the same graph run as the program runs it, with and without
// the evaluation recorder (what --report and --coverage turn on).
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>

#include <nlohmann/json.hpp>

#include "GraphProgram.h"
#include "LinkedPlugin.h"
#include "PerformanceTable.h"
#include "ScalingTiming.h"
#include "support/ScaleGraph.h"

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

// 1,000 channels (250 entities each added by its own channel, a count, plain notes) and 1,000
// steps: the size a designer's report should open at once.
std::string ThousandChannels() {
    nlohmann::json graph = {{"entities", nlohmann::json::array()},
                            {"channels",
                             {{{"id", "scenario"}, {"kind", "CoreRef"}},
                              {{"id", "count"}, {"kind", "Value"}},
                              {{"id", "create"}, {"kind", "Storyloom"}, {"mode", "Scenario_Create"}, {"links", {"scenario"}}},
                              {{"id", "countAll"}, {"kind", "Storyloom"}, {"mode", "Scenario_GetEntityCount"},
                               {"links", {"scenario", "count"}}}}},
                            {"steps", {{{"evaluate", "create"}}}}};
    for (int i = 0; i < 250; ++i) {
        const std::string n = std::to_string(i);
        AddEntityByChannel(graph, n);
        graph["steps"].push_back({{"evaluate", "add" + n}});
    }
    while (graph["channels"].size() < 1000)
        graph["channels"].push_back({{"id", "note" + std::to_string(graph["channels"].size())}, {"kind", "Text"}});
    while (graph["steps"].size() < 1000) graph["steps"].push_back({{"evaluate", "countAll"}});
    return graph.dump();
}

double WallSeconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void ReportOfAThousandChannels(benchmark::State& state) {
    A3dPluginLoader plugin;
    std::string error;
    if (!LinkedPlugin::Open(plugin, error)) return state.SkipWithError(error.c_str());
    const std::string text = ThousandChannels();
    const std::string page = "bench-report.html";
    std::unique_ptr<FILE, int (*)(FILE*)> quiet(std::fopen("/dev/null", "w"), std::fclose);
    double seconds = 0;
    for (auto _ : state)
        seconds += WallSeconds([&] { GraphProgram::Run(text, "thousand.json", plugin, {}, quiet.get(), error, {page}); });
    if (!error.empty()) return state.SkipWithError(error.c_str());
    std::ifstream written(page, std::ios::binary | std::ios::ate);
    state.counters["page_bytes"] = double(written.tellg());
    std::remove(page.c_str());
    TableRow(state, "run --report, 1,000 channels and 1,000 steps (Graphviz layout included), vs 5 s", seconds,
             5.0 * double(state.iterations()), 1.0);
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
BENCHMARK(ReportOfAThousandChannels)->Unit(benchmark::kMillisecond)->Iterations(3);

SCALING_BENCHMARK_MAIN();
