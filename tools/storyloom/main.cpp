// The command-line host: reaches the plug-in as the engine does (dlopen, GetType, InitDLL)
// and checks, runs, draws and lists channel graphs described in JSON. Each command is a file
// of commands/, listed in its table.
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "CommandSupport.h"
#include "Commands.h"
#include "DumpFolder.h"
#include "GraphProgram.h"

namespace {
int Main(int argc, char** argv) {
    CLI::App app("Checks, runs, draws and lists Storyloom channel graphs described in JSON.", "storyloom");
    app.require_subcommand(1);
    ExitStatus::Code status = ExitStatus::Success;
    std::vector<std::string> words(argv + 1, argv + argc);
    std::vector<std::string> names;
    std::string shortFor;
    for (const Command& command : Commands()) {
        names.push_back(command.setUp(app, status)->get_name());
        if (shortFor.empty() && command.standsFor && !words.empty() && command.standsFor(words[0]))
            shortFor = names.back();
    }
    if (!shortFor.empty()) words.insert(words.begin(), shortFor);
    if (!words.empty() && words[0][0] != '-' && std::find(names.begin(), names.end(), words[0]) == names.end()) {
        std::string known;
        for (const std::string& name : names) known += (known.empty() ? "" : ", ") + name;
        return Fail(ExitStatus::UsageError, "unknown command \"" + words[0] + "\"; commands: " + known);
    }
    std::reverse(words.begin(), words.end());
    try {
        app.parse(words);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        return Fail(ExitStatus::UsageError, std::string(e.what()) + " (see storyloom --help)");
    }
    return status;
}

int MainCatchingAll(int argc, char** argv) {
    try {
        return Main(argc, argv);
    } catch (const std::exception& e) {
        return Fail(ExitStatus::Failed, GraphProgram::Reason(e));
    } catch (...) {
        return Fail(ExitStatus::Failed, "an unexpected failure");
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
    if (status != ExitStatus::Success) return status;  // the command has said what went wrong
    // An earlier write may have failed, its reason since overwritten.
    return Fail(ExitStatus::Failed, std::string("standard output: cannot be written") +
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
    std::_Exit(ExitStatus::Failed);
}
}  // namespace

int main(int argc, char** argv) {
    std::set_terminate(EndUnexpectedly);
    // A reader that went away is a failed write, reported like any other.
    std::signal(SIGPIPE, SIG_IGN);
    std::string error;
    if (!DumpFolder::Enter(error)) return Fail(ExitStatus::Failed, error);
    const int status = CheckStandardOutput(MainCatchingAll(argc, argv));
    ReportDumps();
    return status;
}
