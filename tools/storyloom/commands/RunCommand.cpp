// "storyloom run GRAPH": builds a graph and runs its steps.
#include <cstdio>
#include <memory>

#include "CommandSupport.h"
#include "Commands.h"
#include "GraphProgram.h"
#include "LinkedPlugin.h"

namespace {
struct RunArguments {
    std::string graph;
    RunOptions run;
};

ExitStatus::Code Run(const RunArguments& args) {
    A3dPluginLoader plugin;
    std::string text, error;
    if (ExitStatus::Code status = OpenGraph(args.graph, plugin, text)) return status;
    std::printf("Loaded channel type \"%s\" from %s\n", plugin.GetType()->typeName, LinkedPlugin::Path().c_str());
    const ExitStatus::Code status = GraphProgram::Run(text, args.graph, plugin, args.run, stdout, error);
    return status == ExitStatus::Success ? status : Fail(status, error);
}
}  // namespace

CLI::App* SetUpRun(CLI::App& app, ExitStatus::Code& status) {
    auto args = std::make_shared<RunArguments>();
    CLI::App* run = app.add_subcommand("run", "Build a graph and run its steps; exit 1 on a failure no expectation covers");
    run->add_option("GRAPH", args->graph, "graph description (.json) or channel file (.cgr)")->required();
    run->add_flag("--trace", args->run.trace, "print each evaluation's mode and its links before and after");
    run->add_flag("--allow-errors", args->run.allowErrors, "print failed evaluations and error-log lines, go on, exit 0");
    run->add_option("--max-text", args->run.maxText, "refuse a Translate step whose text would grow past BYTES")
        ->capture_default_str();
    run->callback([args, &status] { status = Run(*args); });
    return run;
}
