#pragma once
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "ChannelGraph.h"
#include "EvaluationRecorder.h"
#include "ModeList.h"

// What runs exercised, as a union over graphs: per mode channel how often it was evaluated and
// what it answered; per mode, over every graph, the links its evaluations took and never took.
// Every mode of the plug-in is listed, so a suite shows the modes it never ran.
class Coverage {
public:
    explicit Coverage(const ModeList& modes) : _modes(modes) {}

    // Adds one graph's run (`source` names the graph).
    void Add(const std::string& source, const ChannelGraph& graph, const EvaluationRecorder& recorder);

    // {"graphs", "summary", "channels", "neverEvaluated", "modes"}: channels and the ones never
    // evaluated name their graph unless `oneGraph`, where they are that graph's alone.
    nlohmann::json Json(bool oneGraph = false) const;

private:
    struct ModeTally {
        size_t channels = 0, evaluations = 0;
        std::map<std::string, size_t> linksTaken;
    };

    const ModeList& _modes;
    std::vector<std::string> _graphs;
    nlohmann::json _channels = nlohmann::json::array();
    nlohmann::json _neverEvaluated = nlohmann::json::array();
    std::map<std::string, ModeTally> _tallies;
};
