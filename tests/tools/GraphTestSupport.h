#pragma once
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "GraphProgram.h"

// The plug-in loaded once for the program's tests, as the program loads it.
inline const A3dPluginLoader& Plugin() {
    static A3dPluginLoader plugin;
    if (!plugin.IsLoaded()) {
        const char* path = std::getenv("STORYLOOM_PLUGIN");
        if (path) plugin.Load(path);
    }
    return plugin;
}

struct RunResult {
    int status;
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
