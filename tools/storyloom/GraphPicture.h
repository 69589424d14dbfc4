#pragma once
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

// Draws a checked graph description with Graphviz: channels as boxes, links as arrows
// labelled with the link's name. `values` maps channel ids to the value shown in the box.
namespace GraphPicture {
// False with the reason in `error`; the picture's format follows the extension (.svg, .png).
bool Write(const nlohmann::json& description, const std::map<std::string, std::string>& values,
           const std::map<std::string, std::vector<std::string>>& linkNames, const std::string& path,
           std::string& error);
}  // namespace GraphPicture
