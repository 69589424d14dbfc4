// "storyloom modes": the plug-in's modes with their links, as text, JSON or Markdown.
#include <cstdio>
#include <memory>

#include "CommandSupport.h"
#include "Commands.h"
#include "ModeReport.h"
#include "OutputFile.h"

namespace {
struct ModesArguments {
    bool json = false;
    bool markdown = false;
};

ExitStatus::Code ListModes(const ModesArguments& args) {
    A3dPluginLoader plugin;
    if (ExitStatus::Code status = OpenPlugin(plugin)) return status;
    ModeList modes(plugin);
    PrintText(stdout, args.json       ? ModeReport::Json(modes)
                      : args.markdown ? ModeReport::Markdown(modes)
                                      : ModeReport::Text(modes));
    return ExitStatus::Success;
}
}  // namespace

CLI::App* SetUpModes(CLI::App& app, ExitStatus::Code& status) {
    auto args = std::make_shared<ModesArguments>();
    CLI::App* modes = app.add_subcommand("modes", "List the modes in display order with their links");
    CLI::Option* asJson = modes->add_flag("--json", args->json, "as JSON");
    modes->add_flag("--markdown", args->markdown, "as Markdown (docs/modes.md)")->excludes(asJson);
    modes->callback([args, &status] { status = ListModes(*args); });
    return modes;
}
