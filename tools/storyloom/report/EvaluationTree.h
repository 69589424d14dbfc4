#pragma once
#include <string>

#include <nlohmann/json.hpp>

// A step's evaluations on the report page: channel evaluations, and the scenario node products
// that called back into the graph, nested as they happened.
namespace EvaluationTree {

// `nodes` as nested expandable blocks with what each read, wrote and logged.
void Append(std::string& out, const nlohmann::json& nodes);

}  // namespace EvaluationTree
