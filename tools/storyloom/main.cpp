// The command-line host: loads the plug-in as the engine does (dlopen, GetType, InitDLL),
// builds the channel graph a JSON file describes, runs its steps and prints what happened.
#include <cstdio>
#include <fstream>
#include <string>

#include "tools/storyloom/StepRunner.h"

namespace {
void PrintLogs() {
    for (const std::string& line : Core::GetErrorLog()) std::printf("error log: %s\n", line.c_str());
    for (const std::string& line : globalEngine.GetDebugMessages()) std::printf("debug: %s\n", line.c_str());
}

int Usage() {
    std::fprintf(stderr, "usage: storyloom GRAPH.json [PLUGIN.so]\n");
    return 2;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    std::ifstream file(argv[1]);
    nlohmann::json description = nlohmann::json::parse(file, nullptr, false);
    if (!file || description.is_discarded()) {
        std::fprintf(stderr, "storyloom: %s is not a readable JSON file\n", argv[1]);
        return 1;
    }
    std::string path = argc > 2 ? argv[2] : STORYLOOM_PLUGIN_PATH;
    A3dPluginLoader plugin;
    if (!plugin.Load(path)) {
        std::fprintf(stderr, "storyloom: %s\n", plugin.GetError().c_str());
        return 1;
    }
    std::printf("Loaded channel type \"%s\" from %s\n", plugin.GetType()->typeName, path.c_str());
    if (description.contains("description"))
        std::printf("%s\n", description["description"].get<std::string>().c_str());

    std::string error;
    bool ok;
    {
        ChannelGraph graph(plugin);
        ok = graph.Build(description, error);
        if (ok) {
            StepRunner runner(graph, stdout);
            ok = runner.Run(description.value("steps", nlohmann::json::array()), error);
        }
    }
    PrintLogs();
    if (!ok) {
        std::fprintf(stderr, "storyloom: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
