#include "tools/storyloom/GraphPicture.h"

#include <cstdio>
#include <memory>

#include <graphviz/gvc.h>

#include "tools/storyloom/OutputFile.h"

using nlohmann::json;

namespace GraphPicture {
namespace {
std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n') {
            out += "\\l";
            continue;
        }
        out += c;
    }
    return out + "\"";
}

std::string Text(const json& entry, const char* key) {
    return entry.contains(key) && entry[key].is_string() ? entry[key].get<std::string>() : "";
}

// The description as DOT text: one box per channel, one arrow per linked child.
std::string Dot(const json& description, const std::map<std::string, std::string>& values,
                const std::map<std::string, std::vector<std::string>>& linkNames) {
    std::string dot = "digraph storyloom {\n  rankdir=LR;\n  node [shape=box, fontname=\"Helvetica\", fontsize=10];\n"
                      "  edge [fontname=\"Helvetica\", fontsize=9];\n";
    const json channels = description.value("channels", json::array());
    for (const json& entry : channels) {
        const std::string id = Text(entry, "id");
        std::string label = id + "\n" + Text(entry, "kind");
        if (!Text(entry, "mode").empty()) label += " " + Text(entry, "mode");
        if (!Text(entry, "name").empty()) label += "\nname: " + Text(entry, "name");
        if (!Text(entry, "group").empty()) label += "\ngroup: " + Text(entry, "group");
        auto value = values.find(id);
        if (value != values.end()) label += "\n= " + value->second.substr(0, 60);
        dot += "  " + Quote(id) + " [label=" + Quote(label + "\n") + "];\n";
    }
    for (const json& entry : channels) {
        if (!entry.contains("links") || !entry["links"].is_array()) continue;
        const std::string id = Text(entry, "id");
        auto names = linkNames.find(id);
        for (size_t position = 0; position < entry["links"].size(); ++position) {
            const json& at = entry["links"][position];
            const std::string name =
                names != linkNames.end() && position < names->second.size() ? names->second[position] : "";
            for (const json& child : at.is_array() ? at : json::array({at}))
                if (child.is_string())
                    dot += "  " + Quote(id) + " -> " + Quote(child.get<std::string>()) + " [label=" + Quote(name) +
                           "];\n";
        }
    }
    return dot + "}\n";
}

// Graphviz prints its own complaints on stderr; the program's failure line says what failed.
int KeepGraphvizQuiet(char*) { return 0; }
}  // namespace

bool Write(const json& description, const std::map<std::string, std::string>& values,
           const std::map<std::string, std::vector<std::string>>& linkNames, const std::string& path,
           std::string& error) {
    const size_t dot = path.rfind('.');
    const std::string format = dot == std::string::npos ? "" : path.substr(dot + 1);
    if (format != "svg" && format != "png") {
        error = path + ": the picture's name must end in .svg or .png";
        return false;
    }
    agseterrf(KeepGraphvizQuiet);
    std::unique_ptr<GVC_t, int (*)(GVC_t*)> context(gvContext(), gvFreeContext);
    const std::string text = Dot(description, values, linkNames);
    std::unique_ptr<Agraph_t, int (*)(Agraph_t*)> graph(agmemread(text.c_str()), agclose);
    if (!context || !graph || gvLayout(context.get(), graph.get(), "dot") != 0) {
        error = path + ": Graphviz could not lay the graph out";
        return false;
    }
    char* data = nullptr;
    unsigned int length = 0;
    bool rendered = gvRenderData(context.get(), graph.get(), format.c_str(), &data, &length) == 0 && data;
    gvFreeLayout(context.get(), graph.get());
    const std::string picture = rendered ? std::string(data, length) : std::string();
    gvFreeRenderData(data);
    if (!rendered) {
        error = path + ": Graphviz could not draw the picture";
        return false;
    }
    OutputFile file(path);
    return file.Write(picture, error) && file.Commit(error);
}

}  // namespace GraphPicture
