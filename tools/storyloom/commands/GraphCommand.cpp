// "storyloom graph GRAPH -o PICTURE": draws a graph after running it.
#include <cstdio>
#include <memory>

#include "CommandSupport.h"
#include "Commands.h"
#include "GraphPicture.h"
#include "GraphProgram.h"

namespace {
struct GraphArguments {
    std::string graph;
    std::string output;
};

ExitStatus::Code Draw(const GraphArguments& args) {
    A3dPluginLoader plugin;
    std::string text, error;
    if (ExitStatus::Code status = OpenGraph(args.graph, plugin, text)) return status;
    const ExitStatus::Code status = GraphProgram::Draw(text, args.graph, plugin, args.output, error);
    if (status != ExitStatus::Success) return Fail(status, error);
    std::printf("wrote %s\n", args.output.c_str());
    return status;
}
}  // namespace

CLI::App* SetUpGraph(CLI::App& app, ExitStatus::Code& status) {
    auto args = std::make_shared<GraphArguments>();
    CLI::App* graph = app.add_subcommand(
        "graph", "Draw a graph after running it, with Graphviz; at most " + std::to_string(GraphPicture::kMaxLayoutSize) +
                     " boxes and arrow segments (a link counts once per layer it crosses)");
    graph->add_option("GRAPH", args->graph, "graph description (.json)")->required();
    graph->add_option("-o,--output", args->output, "picture to write (.svg or .png)")->required();
    graph->callback([args, &status] { status = Draw(*args); });
    return graph;
}
