// `storyloom run` grows with the graph: ten times the channels and steps take about ten times
// the allocations and the lookups of channels, ids and entities, never a walk over all of
// them for each one (the benchmark bench_program_scale times it at 100,000 channels).
#include <memory>

#include "support/CountingNew.h"
#include "support/ScaleGraph.h"
#include "GraphTestSupport.h"

namespace {

struct Cost {
    unsigned long allocations;  // the whole road: read, check, build, run
    size_t checkProbes, graphProbes;
};

Cost CostOf(size_t entities) {
    const std::string text = ScaleGraph(entities);
    Cost cost{};
    cost.allocations = CountingNew::AllocationsOf([&] { EXPECT_EQ(RunGraph(text).status, ExitStatus::Success); });
    nlohmann::json description = nlohmann::json::parse(text);
    ModeList modes(Plugin());
    GraphCheck check(modes, Plugin());
    EXPECT_TRUE(check.Check(description).empty());
    cost.checkProbes = check.Probes();
    ChannelGraph graph(Plugin());
    std::string error;
    EXPECT_TRUE(graph.Build(description, error)) << error;
    std::unique_ptr<FILE, int (*)(FILE*)> quiet(std::fopen("/dev/null", "w"), std::fclose);
    EXPECT_TRUE(StepRunner(graph, quiet.get(), {}).Run(description["steps"], error)) << error;
    cost.graphProbes = graph.Probes();
    return cost;
}

TEST(ProgramScale, TenTimesTheGraphCostsAboutTenTimesTheWork) {
    const Cost small = CostOf(100), large = CostOf(1000);  // 402 and 4,002 channels
    EXPECT_LE(large.allocations, 12 * small.allocations);
    EXPECT_LE(large.checkProbes, 12 * small.checkProbes);
    EXPECT_LE(large.graphProbes, 12 * small.graphProbes);
}

}  // namespace
