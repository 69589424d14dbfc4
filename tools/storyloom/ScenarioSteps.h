#pragma once
#include <cstdio>
#include <string>

#include <nlohmann/json.hpp>

#include "ChannelGraph.h"

// Steps that act on the scenario core directly, the way a level script or the editor would:
// variables and scenario rules (event nodes) built from registered node types.
namespace ScenarioSteps {

// {"variable": "<scenario ref id>", "kind": "float", "name": "keys", "value": "1"}
bool AddVariable(const ChannelGraph& graph, const nlohmann::json& step, FILE* out, std::string& error);
// {"node": "<scenario ref id>", "event": type, "conditions": [...], "actions": [...]}; a
// node entry is a type name or {"type": name, "bind": {"<slot>": "<variable>"}}.
bool AddNode(const ChannelGraph& graph, const nlohmann::json& step, FILE* out, std::string& error);
// {"printVariable": "<scenario ref id>", "name": "keys"}
bool PrintVariable(const ChannelGraph& graph, const nlohmann::json& step, FILE* out, std::string& error);

}  // namespace ScenarioSteps
