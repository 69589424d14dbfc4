// "storyloom check GRAPH": lists a graph's problems without running it.
#include <cstdio>
#include <memory>

#include "CommandSupport.h"
#include "Commands.h"
#include "GraphProgram.h"

namespace {
struct CheckArguments {
    std::string graph;
};

ExitStatus::Code Check(const CheckArguments& args) {
    A3dPluginLoader plugin;
    std::string text;
    if (ExitStatus::Code status = OpenGraph(args.graph, plugin, text)) return status;
    nlohmann::json description;
    std::vector<std::string> problems;
    if (GraphProgram::Load(text, args.graph, plugin, description, problems) == ExitStatus::Success) {
        std::printf("%s: no problems\n", args.graph.c_str());
        return ExitStatus::Success;
    }
    for (const std::string& line : problems) std::printf("%s\n", line.c_str());
    return Fail(ExitStatus::Failed,
                args.graph + ": " + std::to_string(problems.size()) + " problem" + (problems.size() == 1 ? "" : "s"));
}
}  // namespace

CLI::App* SetUpCheck(CLI::App& app, ExitStatus::Code& status) {
    auto args = std::make_shared<CheckArguments>();
    CLI::App* check = app.add_subcommand("check", "Validate a graph without running it; exit 1 when it has problems");
    check->add_option("GRAPH", args->graph, "graph description (.json)")->required();
    check->callback([args, &status] { status = Check(*args); });
    return check;
}
