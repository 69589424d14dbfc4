// The command-line host: loads the plug-in as the engine does (dlopen, GetType, InitDLL)
// and checks, runs, draws and lists channel graphs described in JSON.
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <string>

#include <CLI/CLI.hpp>
#include <dlfcn.h>
#include <sys/stat.h>

#include "storyloom/scenario_channel/StoryloomChannel.h"

#include "DumpFolder.h"
#include "GraphFile.h"
#include "GraphPicture.h"
#include "GraphProgram.h"
#include "OutputFile.h"
#include "GraphSchema.h"
#include "JsonText.h"
#include "ModeReport.h"
#include "TranslateCommand.h"

namespace {
// Standard output goes first, so an error line follows everything printed before it.
int Fail(int status, const std::string& message) {
    std::fflush(stdout);
    std::fprintf(stderr, "storyloom: %s\n", message.c_str());
    return status;
}

// The plug-in this program is linked with, wherever it was installed: loading another copy
// beside it would register every mode twice.
std::string LinkedPluginPath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&GetType), &info) && info.dli_fname) return info.dli_fname;
    return STORYLOOM_PLUGIN_PATH;
}

// True for a file that is not the linked plug-in, by whatever path it is named; a file that
// is not there is left to the loader to report.
bool IsAnotherPlugin(const std::string& path) {
    struct stat given {}, linked {};
    if (stat(path.c_str(), &given) != 0) return false;
    if (stat(LinkedPluginPath().c_str(), &linked) != 0) return true;
    return given.st_dev != linked.st_dev || given.st_ino != linked.st_ino;
}

struct Arguments {
    std::string graph;
    std::string plugin = LinkedPluginPath();
    std::string output;
    std::string saved;
    RunOptions run;
    bool json = false;
    bool markdown = false;
};

bool IsChannelFile(const std::string& path) { return path.size() > 4 && path.compare(path.size() - 4, 4, ".cgr") == 0; }

// Loads the plug-in and the graph, from JSON or from a channel file; an exit status when
// either cannot be had.
int Prepare(const Arguments& args, A3dPluginLoader& plugin, std::string& text, bool needGraph) {
    // A bare name is the loader's to search, as dlopen does.
    const std::string pluginPath =
        args.plugin.find('/') == std::string::npos ? args.plugin : DumpFolder::CallerPath(args.plugin);
    if (IsAnotherPlugin(pluginPath))
        return Fail(GraphProgram::UsageError, args.plugin + ": not the plug-in this program is linked with (" +
                                                  LinkedPluginPath() + "); a copy would register every mode twice");
    if (!plugin.Load(pluginPath)) return Fail(GraphProgram::Failed, "the plug-in does not load: " + plugin.GetError());
    std::string error;
    if (needGraph && !JsonText::ReadFile(args.graph, text, error)) return Fail(GraphProgram::UsageError, error);
    if (needGraph && IsChannelFile(args.graph)) {
        std::vector<unsigned char> bytes(text.begin(), text.end());
        if (!GraphFile::Load(bytes, plugin, text, error)) return Fail(GraphProgram::Failed, args.graph + ": " + error);
    }
    return GraphProgram::Ok;
}

int RunCommand(const Arguments& args) {
    A3dPluginLoader plugin;
    std::string text, error;
    if (int status = Prepare(args, plugin, text, true)) return status;
    std::printf("Loaded channel type \"%s\" from %s\n", plugin.GetType()->typeName, args.plugin.c_str());
    int status = GraphProgram::Run(text, args.graph, plugin, args.run, stdout, error);
    return status == GraphProgram::Ok ? status : Fail(status, error);
}

int CheckCommand(const Arguments& args) {
    A3dPluginLoader plugin;
    std::string text;
    if (int status = Prepare(args, plugin, text, true)) return status;
    nlohmann::json description;
    std::vector<std::string> problems;
    if (GraphProgram::Load(text, args.graph, plugin, description, problems) == GraphProgram::Ok) {
        std::printf("%s: no problems\n", args.graph.c_str());
        return GraphProgram::Ok;
    }
    for (const std::string& line : problems) std::printf("%s\n", line.c_str());
    return Fail(GraphProgram::Failed, args.graph + ": " + std::to_string(problems.size()) + " problem" +
                                          (problems.size() == 1 ? "" : "s"));
}

int ModesCommand(const Arguments& args) {
    A3dPluginLoader plugin;
    std::string unused;
    if (int status = Prepare(args, plugin, unused, false)) return status;
    ModeList modes(plugin);
    const std::string out = args.json       ? ModeReport::Json(modes)
                            : args.markdown ? ModeReport::Markdown(modes)
                                            : ModeReport::Text(modes);
    PrintText(stdout, out);
    return GraphProgram::Ok;
}

int GraphCommand(const Arguments& args) {
    A3dPluginLoader plugin;
    std::string text, error;
    if (int status = Prepare(args, plugin, text, true)) return status;
    int status = GraphProgram::Draw(text, args.graph, plugin, args.output, error);
    if (status != GraphProgram::Ok) return Fail(status, error);
    std::printf("wrote %s\n", args.output.c_str());
    return status;
}

int SaveCommand(const Arguments& args) {
    A3dPluginLoader plugin;
    std::string text;
    if (int status = Prepare(args, plugin, text, true)) return status;
    if (!IsChannelFile(args.saved)) return Fail(GraphProgram::UsageError, args.saved + ": a channel file ends in .cgr");
    nlohmann::json description;
    std::vector<std::string> problems;
    if (GraphProgram::Load(text, args.graph, plugin, description, problems) != GraphProgram::Ok)
        return Fail(GraphProgram::Failed, problems.front());
    std::vector<unsigned char> bytes;
    std::string error;
    if (!GraphFile::Save(description, plugin, bytes, error)) return Fail(GraphProgram::Failed, args.graph + ": " + error);
    OutputFile file(args.saved);
    if (!file.Write(std::string(bytes.begin(), bytes.end()), error) || !file.Commit(error))
        return Fail(GraphProgram::Failed, error);
    std::printf("wrote %s\n", args.saved.c_str());
    return GraphProgram::Ok;
}

int Main(int argc, char** argv) {
    CLI::App app("Checks, runs, draws and lists Storyloom channel graphs described in JSON.", "storyloom");
    app.require_subcommand(1);
    Arguments args;
    int status = GraphProgram::Ok;

    CLI::App* run = app.add_subcommand("run", "Build a graph and run its steps; exit 1 on a failure no expectation covers");
    run->add_option("GRAPH", args.graph, "graph description (.json) or channel file (.cgr)")->required();
    run->add_flag("--trace", args.run.trace, "print each evaluation's mode and its links before and after");
    run->add_flag("--allow-errors", args.run.allowErrors, "print failed evaluations and error-log lines, go on, exit 0");
    run->add_option("--max-text", args.run.maxText, "refuse a Translate step whose text would grow past BYTES")
        ->capture_default_str();
    run->add_option("--plugin", args.plugin, "the plug-in to load")->capture_default_str();
    run->callback([&] { status = RunCommand(args); });

    CLI::App* check = app.add_subcommand("check", "Validate a graph without running it; exit 1 when it has problems");
    check->add_option("GRAPH", args.graph, "graph description (.json)")->required();
    check->add_option("--plugin", args.plugin, "the plug-in to load")->capture_default_str();
    check->callback([&] { status = CheckCommand(args); });

    CLI::App* modes = app.add_subcommand("modes", "List the modes in display order with their links");
    auto* asJson = modes->add_flag("--json", args.json, "as JSON");
    modes->add_flag("--markdown", args.markdown, "as Markdown (docs/modes.md)")->excludes(asJson);
    modes->add_option("--plugin", args.plugin, "the plug-in to load")->capture_default_str();
    modes->callback([&] { status = ModesCommand(args); });

    CLI::App* graph = app.add_subcommand("graph", "Draw a graph after running it, with Graphviz; at most " +
                                                      std::to_string(GraphPicture::kMaxLayoutSize) +
                                                      " boxes and arrow segments (a link counts once "
                                                      "per layer it crosses)");
    graph->add_option("GRAPH", args.graph, "graph description (.json)")->required();
    graph->add_option("-o,--output", args.output, "picture to write (.svg or .png)")->required();
    graph->add_option("--plugin", args.plugin, "the plug-in to load")->capture_default_str();
    graph->callback([&] { status = GraphCommand(args); });

    TranslateArguments translation;
    CLI::App* translate = app.add_subcommand("translate", "Convert a dictionary between XML, CSV, PO and plain text, "
                                                          "translate a text, or find placeholders without an entry");
    translate->add_option("DICTIONARY", translation.dictionary, "dictionary file")->required();
    translate->add_option("--from", translation.from, "its form: xml, csv, po or plain (default: from its name)");
    translate->add_option("--to", translation.to, "the form to write: xml, csv, po or plain (default: from -o)");
    translate->add_option("-o,--output", translation.output, "file to write (default: standard output)");
    translate->add_option("--apply", translation.apply, "translate this text's [[KEY]] placeholders and print it")
        ->each([&](const std::string&) { translation.hasApply = true; });
    translate->add_option("--max-text", translation.maxText, "refuse an --apply text that would grow past BYTES")
        ->capture_default_str();
    translate->add_option("--check", translation.check, "texts whose placeholders must all have an entry; exit 1 if not");
    translate->callback([&] {
        std::string error;
        status = TranslateCommand::Run(translation, stdout, error);
        if (status != GraphProgram::Ok) status = Fail(status, error);
    });

    CLI::App* save = app.add_subcommand("save", "Write a graph's channels with the channel file format (.cgr); "
                                                "run and check read such files too");
    save->add_option("GRAPH", args.graph, "graph description (.json)")->required();
    save->add_option("OUT", args.saved, "channel file to write (.cgr)")->required();
    save->add_option("--plugin", args.plugin, "the plug-in to load")->capture_default_str();
    save->callback([&] { status = SaveCommand(args); });

    CLI::App* schema = app.add_subcommand("schema", "Print the JSON Schema (draft 2020-12) of graph descriptions");
    schema->callback([&] { PrintText(stdout, GraphSchema::Text()); });

    // "storyloom GRAPH.json" stays a short form of "storyloom run GRAPH.json".
    std::vector<std::string> words(argv + 1, argv + argc);
    if (!words.empty() && ((words[0].size() > 5 && words[0].compare(words[0].size() - 5, 5, ".json") == 0) ||
                           IsChannelFile(words[0])))
        words.insert(words.begin(), "run");
    if (!words.empty() && words[0][0] != '-') {
        std::vector<std::string> names;
        for (const CLI::App* command : app.get_subcommands({})) names.push_back(command->get_name());
        if (std::find(names.begin(), names.end(), words[0]) == names.end()) {
            std::string known;
            for (const std::string& name : names) known += (known.empty() ? "" : ", ") + name;
            return Fail(GraphProgram::UsageError, "unknown command \"" + words[0] + "\"; commands: " + known);
        }
    }
    std::reverse(words.begin(), words.end());
    try {
        app.parse(words);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        return Fail(GraphProgram::UsageError, std::string(e.what()) + " (see storyloom --help)");
    }
    return status;
}

int MainCatchingAll(int argc, char** argv) {
    try {
        return Main(argc, argv);
    } catch (const std::exception& e) {
        return Fail(GraphProgram::Failed, GraphProgram::Reason(e));
    } catch (...) {
        return Fail(GraphProgram::Failed, "an unexpected failure");
    }
}

void ReportDumps() {
    for (const std::string& dump : DumpFolder::Close())
        std::fprintf(stderr, "storyloom: the serializer wrote a dump: %s\n", dump.c_str());
}

// Whatever was printed must have arrived: a full disk or a closed pipe fails the run.
int CheckStandardOutput(int status) {
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
    if (status != GraphProgram::Ok) return status;  // the command has said what went wrong
    // An earlier write may have failed, its reason since overwritten.
    return Fail(GraphProgram::Failed, std::string("standard output: cannot be written") +
                                          (errno ? std::string(" (") + std::strerror(errno) + ")" : ""));
}

// The last resort where no exception may pass (a destructor running out of memory inside a
// library): one line and exit 1 rather than an abort. The line needs no memory: it may be gone.
[[noreturn]] void EndUnexpectedly() {
    const char* reason = "an unexpected failure";
    try {
        if (std::exception_ptr thrown = std::current_exception()) std::rethrow_exception(thrown);
    } catch (const std::bad_alloc&) {
        reason = "out of memory";
    } catch (...) {
    }
    std::fflush(stdout);
    std::fprintf(stderr, "storyloom: %s\n", reason);
    try {
        ReportDumps();
    } catch (...) {
    }
    std::_Exit(GraphProgram::Failed);
}
}  // namespace

int main(int argc, char** argv) {
    std::set_terminate(EndUnexpectedly);
    // A reader that went away is a failed write, reported like any other.
    std::signal(SIGPIPE, SIG_IGN);
    std::string error;
    if (!DumpFolder::Enter(error)) return Fail(GraphProgram::Failed, error);
    const int status = CheckStandardOutput(MainCatchingAll(argc, argv));
    ReportDumps();
    return status;
}
