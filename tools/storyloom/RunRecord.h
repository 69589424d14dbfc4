#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "ChannelGraph.h"
#include "EvaluationRecorder.h"

// A run as its report shows it, in JSON: each step with its evaluation tree, lines and
// changes; the graph's channels with their links and last status.
namespace RunRecord {

// Variable texts by (reference channel id, variable name).
using VariableTexts = std::map<std::pair<std::string, std::string>, std::string>;

// What a step did, besides its evaluations.
struct StepFacts {
    size_t index = 0;
    std::string kind, subject;  // the step's kind and what it names; empty for a comment alone
    bool ran = true;            // false for a step after the run stopped
    bool evaluated = false;     // whether `status` is an evaluation's
    float status = 0.0f;
    bool passed = true;
    std::string failure;  // why the step failed the run
    std::string output;   // what the run printed for it
    std::vector<std::string> errorLog, debug, dictionary, checks;
    VariableTexts variablesBefore, variablesAfter;
};

// One step; `recorder` holds its evaluations (null for a step not run).
nlohmann::json Step(const nlohmann::json& step, const StepFacts& facts, const EvaluationRecorder* recorder,
                    const ChannelGraph& graph);

// The channels of a built graph in their order, each with its links by name and its tally.
nlohmann::json Channels(const ChannelGraph& graph, const EvaluationRecorder& recorder);

// Bytes as base64 (RFC 4648, padded), for pictures inside a page.
std::string Base64(const std::string& bytes);

}  // namespace RunRecord
