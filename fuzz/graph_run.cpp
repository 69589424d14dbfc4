// The program's graph loader and runner on any text, cycles allowed, traced, recorded for a
// report page and for coverage: every run ends with an exit status of the program and, when it
// fails, a reason; nothing crashes or hangs.
#include <memory>

#include <nlohmann/json.hpp>

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

// A step's file stays in the scratch folder the fuzzer runs in: no path leads out of it.
bool WritesOutsideItsFolder(const std::string& text) {
    const nlohmann::json graph = nlohmann::json::parse(text, nullptr, false);
    if (!graph.is_object() || !graph.contains("steps") || !graph["steps"].is_array()) return false;
    for (const nlohmann::json& step : graph["steps"]) {
        if (step.is_object() && step.contains("to") && step["to"].is_string() &&
            step["to"].get<std::string>().find('/') != std::string::npos)
            return true;
    }
    return false;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzRun run;
    FuzzInput input(data, size);
    RunOptions options;
    const uint8_t choice = input.Byte();
    options.allowErrors = choice & 1;
    options.allowCycles = choice & 2;
    options.trace = choice & 4;
    static const ModeList modes(Plugin());
    Coverage coverage(modes);
    GraphProgram::RunKeeping keeping{choice & 8 ? "fuzz-report.html" : "", choice & 16 ? &coverage : nullptr};
    std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen("/dev/null", "w"), std::fclose);
    FUZZ_CHECK(out);
    const std::string text = input.Rest();
    if (WritesOutsideItsFolder(text)) return 0;
    std::string error;
    const ExitStatus::Code status = GraphProgram::Run(text, "fuzz.json", Plugin(), options, out.get(), error, keeping);
    if (keeping.coverage) FUZZ_CHECK(coverage.Json()["modes"].size() == modes.GetModes().size());
    FUZZ_CHECK(status == ExitStatus::Success || status == ExitStatus::Failed || status == ExitStatus::UsageError);
    FUZZ_CHECK(status == ExitStatus::Success || !error.empty());
    Core::ClearErrorLog();
    return 0;
}
