#pragma once
#include <cstdio>
#include <string>

#include <nlohmann/json.hpp>

#include "tools/storyloom/ChannelGraph.h"

// Runs the steps of a graph description in order and prints what each did.
class StepRunner {
public:
    StepRunner(ChannelGraph& graph, FILE* out) : _graph(graph), _out(out) {}

    // False with the reason in `error` at the first step that cannot run at all; a mode
    // that fails is not such a step: its status is printed and the run goes on.
    bool Run(const nlohmann::json& steps, std::string& error);

private:
    bool RunStep(const nlohmann::json& step, std::string& error);
    A3d_Channel* Channel(const nlohmann::json& step, const char* key, std::string& error);
    std::string Describe(A3d_Channel* channel) const;

    ChannelGraph& _graph;
    FILE* _out;
};
