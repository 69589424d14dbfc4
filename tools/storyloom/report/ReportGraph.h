#pragma once
#include <string>

#include <nlohmann/json.hpp>

// The graph of a run record on the report page.
namespace ReportGraph {

// The record's channels laid out by Graphviz as inline SVG, each node coloured by its last
// status and given the id "channel-N" (N its place in the record's channels), with a legend.
// When the layout would be too large, or Graphviz fails, a note and the channels as a list
// whose items carry those ids.
void Append(std::string& out, const nlohmann::json& record);

}  // namespace ReportGraph
