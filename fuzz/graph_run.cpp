// The program's graph loader and runner on any text, cycles allowed: every run ends with an
// exit status of the program and, when it fails, a reason; nothing crashes or hangs.
#include <memory>

#include "FuzzSupport.h"
#include "storyloom/host/core/ErrorLog.h"
#include "GraphProgram.h"
#include "LinkedPlugin.h"

namespace {
const A3dPluginLoader& Plugin() {
    static A3dPluginLoader plugin;
    std::string error;
    if (!plugin.IsLoaded() && !LinkedPlugin::Open(plugin, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::abort();
    }
    return plugin;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzRun run;
    FuzzInput input(data, size);
    RunOptions options;
    const uint8_t choice = input.Byte();
    options.allowErrors = choice & 1;
    options.allowCycles = choice & 2;
    std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen("/dev/null", "w"), std::fclose);
    FUZZ_CHECK(out);
    std::string error;
    const ExitStatus::Code status = GraphProgram::Run(input.Rest(), "fuzz.json", Plugin(), options, out.get(), error);
    FUZZ_CHECK(status == ExitStatus::Success || status == ExitStatus::Failed || status == ExitStatus::UsageError);
    FUZZ_CHECK(status == ExitStatus::Success || !error.empty());
    Core::ClearErrorLog();
    return 0;
}
