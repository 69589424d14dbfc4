#pragma once
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "storyloom/host/engine/A3dPluginLoader.h"
#include "Coverage.h"
#include "ExitStatus.h"
#include "GraphCheck.h"
#include "StepRunner.h"

// What the program does with graph text, callable in-process (tests, fuzzing): nothing here
// exits or lets an exception out; each call answers the program's exit status.
namespace GraphProgram {

// What a caught exception tells the user.
std::string Reason(const std::exception& e);

// Parses and checks graph text; the syntax error or the problems found, each as one line
// starting with `source`. Success when it may be built. Given `runFailures`, the problems of a
// well-formed graph that only say where its run would fail go there instead, and do not stop it.
ExitStatus::Code Load(const std::string& text, const std::string& source, const A3dPluginLoader& plugin,
                      nlohmann::json& description, std::vector<std::string>& problems, bool allowCycles = false,
                      std::vector<std::string>* runFailures = nullptr);

// What a run keeps besides its output, when asked for: a report page of it, and its share of
// the coverage of several runs. Both are kept for a failed run too.
struct RunKeeping {
    std::string reportPath;
    Coverage* coverage = nullptr;
};

// Loads, builds and runs graph text, printing to `out`; the reason of a failure in `error`.
ExitStatus::Code Run(const std::string& text, const std::string& source, const A3dPluginLoader& plugin,
                     const RunOptions& options, FILE* out, std::string& error, const RunKeeping& keeping = {});

// Loads, builds and runs graph text quietly (failures allowed), then draws the graph with
// each channel's value after the run to `picturePath` (.svg or .png).
ExitStatus::Code Draw(const std::string& text, const std::string& source, const A3dPluginLoader& plugin,
                      const std::string& picturePath, std::string& error);

}  // namespace GraphProgram
