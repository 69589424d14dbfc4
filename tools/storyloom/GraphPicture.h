#pragma once
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

// Draws a checked graph description with Graphviz: channels as boxes, links as arrows
// labelled with the link's name. `values` maps channel ids to the value shown in the box.
namespace GraphPicture {
// Boxes and arrow segments of a layout (see FitsLayout): its time grows faster than that, and
// a larger graph would keep the program busy for minutes.
constexpr size_t kMaxLayoutSize = 2000;

// False with the reason in `error` when the layout would be too large: a box per channel, and per
// link an arrow segment for each layer of the picture it crosses.
bool FitsLayout(const nlohmann::json& description, std::string& error);

// False with the reason in `error`; the picture's format follows the extension (.svg, .png).
bool Write(const nlohmann::json& description, const std::map<std::string, std::string>& values,
           const std::map<std::string, std::vector<std::string>>& linkNames, const std::string& path,
           std::string& error);
}  // namespace GraphPicture
