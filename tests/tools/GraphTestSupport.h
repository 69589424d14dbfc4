#pragma once
#include <cstdio>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "GraphProgram.h"
#include "LinkedPlugin.h"

// The plug-in opened once for the program's tests, as the program opens it.
inline const A3dPluginLoader& Plugin() {
    static A3dPluginLoader plugin;
    std::string error;
    if (!plugin.IsLoaded() && !LinkedPlugin::Open(plugin, error)) ADD_FAILURE() << error;
    return plugin;
}

struct RunResult {
    ExitStatus::Code status;
    std::string error;
    std::string output;
};

// Runs graph text in-process and keeps what it printed.
inline RunResult RunGraph(const std::string& text, RunOptions options = {}) {
    RunResult result{};
    std::unique_ptr<FILE, int (*)(FILE*)> out(std::tmpfile(), std::fclose);
    result.status = GraphProgram::Run(text, "graph.json", Plugin(), options, out.get(), result.error);
    std::rewind(out.get());
    char buffer[4096];
    size_t read;
    while ((read = std::fread(buffer, 1, sizeof buffer, out.get())) > 0) result.output.append(buffer, read);
    return result;
}

// A small graph that runs cleanly: a scenario, one entity added to it.
inline std::string BaseGraph() {
    return R"({"entities": [{"name": "Hero", "kind": "StaticMesh", "position": [0, 0, 0], "radius": 1}],
  "channels": [
    {"id": "scenario", "kind": "CoreRef"},
    {"id": "hero", "kind": "CoreRef", "ref": "Hero"},
    {"id": "heroId", "kind": "Value", "value": 7},
    {"id": "label", "kind": "Text", "text": "a label"},
    {"id": "create", "kind": "Storyloom", "mode": "Scenario_Create", "links": ["scenario"]},
    {"id": "add", "kind": "Storyloom", "mode": "Scenario_AddEntity", "links": ["scenario", "hero", "heroId"]}
  ],
  "steps": [{"evaluate": "create"}, {"evaluate": "add"}, {"print": ["heroId", "label"]},
    {"expect": {"channel": "heroId", "value": 0}}]})";
}
