// "storyloom save GRAPH OUT.cgr": writes a graph's channels as a channel file.
#include <cstdio>
#include <memory>

#include "CommandSupport.h"
#include "Commands.h"
#include "GraphFile.h"
#include "GraphProgram.h"
#include "OutputFile.h"

namespace {
struct SaveArguments {
    std::string graph;
    std::string saved;
};

ExitStatus::Code Save(const SaveArguments& args) {
    A3dPluginLoader plugin;
    std::string text;
    if (ExitStatus::Code status = OpenGraph(args.graph, plugin, text)) return status;
    if (!IsChannelFile(args.saved)) return Fail(ExitStatus::UsageError, args.saved + ": a channel file ends in .cgr");
    nlohmann::json description;
    std::vector<std::string> problems;
    if (GraphProgram::Load(text, args.graph, plugin, description, problems) != ExitStatus::Success)
        return Fail(ExitStatus::Failed, problems.front());
    std::vector<unsigned char> bytes;
    std::string error;
    if (!GraphFile::Save(description, plugin, bytes, error)) return Fail(ExitStatus::Failed, args.graph + ": " + error);
    OutputFile file(args.saved);
    if (!file.Write(std::string(bytes.begin(), bytes.end()), error) || !file.Commit(error))
        return Fail(ExitStatus::Failed, error);
    std::printf("wrote %s\n", args.saved.c_str());
    return ExitStatus::Success;
}
}  // namespace

CLI::App* SetUpSave(CLI::App& app, ExitStatus::Code& status) {
    auto args = std::make_shared<SaveArguments>();
    CLI::App* save = app.add_subcommand(
        "save", "Write a graph's channels with the channel file format (.cgr); run and check read such files too");
    save->add_option("GRAPH", args->graph, "graph description (.json)")->required();
    save->add_option("OUT", args->saved, "channel file to write (.cgr)")->required();
    save->callback([args, &status] { status = Save(*args); });
    return save;
}
