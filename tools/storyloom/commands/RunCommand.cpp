// "storyloom run GRAPH...": builds each graph and runs its steps.
#include <algorithm>
#include <cstdio>
#include <memory>

#include "CommandSupport.h"
#include "Commands.h"
#include "GraphProgram.h"
#include "LinkedPlugin.h"
#include "OutputFile.h"

namespace {
struct RunArguments {
    std::vector<std::string> graphs;
    RunOptions run;
    std::string report, coverage;
};

// Every graph runs, failed ones too, so that coverage is the whole suite's; each failure is
// its own line, and the worst status is the run's.
ExitStatus::Code Run(const RunArguments& args) {
    if (!args.report.empty() && args.graphs.size() > 1)
        return Fail(ExitStatus::UsageError, "--report shows one run: give it one GRAPH");
    A3dPluginLoader plugin;
    if (ExitStatus::Code status = OpenPlugin(plugin)) return status;
    std::printf("Loaded channel type \"%s\" from %s\n", plugin.GetType()->typeName, LinkedPlugin::Path().c_str());
    const ModeList modes(plugin);
    Coverage coverage(modes);
    GraphProgram::RunKeeping keeping{args.report, args.coverage.empty() ? nullptr : &coverage};
    ExitStatus::Code worst = ExitStatus::Success;
    for (const std::string& graph : args.graphs) {
        std::string text, error;
        ExitStatus::Code status = ReadGraph(graph, plugin, text);
        if (status == ExitStatus::Success) {
            if (args.graphs.size() > 1) std::printf("== %s\n", graph.c_str());
            status = GraphProgram::Run(text, graph, plugin, args.run, stdout, error, keeping);
            if (status != ExitStatus::Success) Fail(status, error);
        }
        worst = std::max(worst, status);
    }
    if (args.coverage.empty()) return worst;
    std::string error;
    OutputFile file(args.coverage);
    if (!file.Write(coverage.Json().dump(2) + "\n", error) || !file.Commit(error)) return Fail(ExitStatus::Failed, error);
    return worst;
}
}  // namespace

CLI::App* SetUpRun(CLI::App& app, ExitStatus::Code& status) {
    auto args = std::make_shared<RunArguments>();
    CLI::App* run = app.add_subcommand("run", "Build graphs and run their steps; exit 1 on a failure no expectation covers");
    run->add_option("GRAPH", args->graphs, "graph descriptions (.json) or channel files (.cgr), run in turn")->required();
    run->add_flag("--trace", args->run.trace, "print each evaluation as a tree: mode, links read and written, nested ones");
    run->add_flag("--allow-errors", args->run.allowErrors, "print failed evaluations, error-log lines and the failures a check foresees; go on, exit 0");
    run->add_option("--max-text", args->run.maxText, "refuse a Translate step whose text would grow past BYTES")
        ->capture_default_str();
    run->add_option("--report", args->report, "write the run as one self-contained HTML page (one GRAPH)");
    run->add_option("--coverage", args->coverage, "write what the runs exercised, per channel and mode, as JSON");
    run->callback([args, &status] { status = Run(*args); });
    return run;
}
