#pragma once
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

// Draws channels with Graphviz: boxes, and arrows to each link's children labelled with the
// link's name. Write draws a checked graph description; `values` maps channel ids to the value
// shown in the box.
namespace GraphPicture {
// Boxes and arrow segments of a layout (see FitsLayout): its time grows faster than that, and
// a larger graph would keep the program busy for minutes.
constexpr size_t kMaxLayoutSize = 2000;

struct Link {
    std::string name;
    std::vector<std::string> children;
};

// A channel's box. `label` is made of Shown texts, one per line; `attributes` are Graphviz node
// attributes of its own (id, class, fillcolor...).
struct Box {
    std::string id;
    std::string label;
    std::map<std::string, std::string> attributes;
    std::vector<Link> links;
};

// Text a picture can show: whole characters only, at most `maxBytes` of them (then "…");
// control characters and bytes that start no character as \xNN, a backslash as \\, so two
// different ids never show alike.
std::string Shown(const std::string& text, size_t maxBytes = std::string::npos);

// False with the reason in `error` when the layout would be too large: a box per channel, and per
// link an arrow segment for each layer of the picture it crosses.
bool FitsLayout(const std::vector<Box>& boxes, std::string& error);
bool FitsLayout(const nlohmann::json& description, std::string& error);

// The picture in `format` ("svg", "png") into `picture`; false with the reason in `error`.
bool Render(const std::vector<Box>& boxes, const std::string& format, std::string& picture, std::string& error);

// False with the reason in `error`; the picture's format follows the extension (.svg, .png).
bool Write(const nlohmann::json& description, const std::map<std::string, std::string>& values,
           const std::map<std::string, std::vector<std::string>>& linkNames, const std::string& path,
           std::string& error);
}  // namespace GraphPicture
