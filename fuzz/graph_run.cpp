// The program's graph loader and runner on any text, cycles allowed: every run ends with an
// exit status of the program and, when it fails, a reason; nothing crashes or hangs.
#include <memory>

#include "FuzzSupport.h"
#include "storyloom/host/core/ErrorLog.h"
#include "GraphProgram.h"

#ifndef STORYLOOM_PLUGIN_PATH
#error "the fuzz target is built with the plug-in's path"
#endif

namespace {
const A3dPluginLoader& Plugin() {
    static A3dPluginLoader plugin;
    if (!plugin.IsLoaded() && !plugin.Load(STORYLOOM_PLUGIN_PATH)) {
        std::fprintf(stderr, "%s\n", plugin.GetError().c_str());
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
    const int status = GraphProgram::Run(input.Rest(), "fuzz.json", Plugin(), options, out.get(), error);
    FUZZ_CHECK(status == GraphProgram::Ok || status == GraphProgram::Failed || status == GraphProgram::UsageError);
    FUZZ_CHECK(status == GraphProgram::Ok || !error.empty());
    Core::ClearErrorLog();
    return 0;
}
