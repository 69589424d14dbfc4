#include "GraphPicture.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <functional>
#include <memory>

#include <graphviz/gvc.h>
#include <pthread.h>

#include "OutputFile.h"

using nlohmann::json;

namespace GraphPicture {
namespace {
// Graphviz's layout recurses along the graph's paths, deeper than a small main-thread stack
// (ulimit -s) allows for graphs below the limit.
constexpr size_t kLayoutStackBytes = size_t(64) << 20;

// Length of the UTF-8 character at `at` when it is one XML may hold; 0 otherwise.
size_t CharacterLength(const std::string& text, size_t at) {
    const auto byte = [&](size_t i) { return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0; };
    const unsigned char lead = byte(0);
    const auto continues = [&](size_t i, unsigned char low = 0x80, unsigned char high = 0xbf) {
        return byte(i) >= low && byte(i) <= high;
    };
    if (lead >= 0x20 && lead < 0x7f) return 1;
    if (lead >= 0xc2 && lead <= 0xdf) return continues(1) ? 2 : 0;
    if (lead >= 0xe0 && lead <= 0xef) {
        const bool second = lead == 0xe0 ? continues(1, 0xa0) : lead == 0xed ? continues(1, 0x80, 0x9f) : continues(1);
        // U+FFFE and U+FFFF are no characters to XML.
        const bool nonCharacter = lead == 0xef && byte(1) == 0xbf && byte(2) >= 0xbe;
        return second && continues(2) && !nonCharacter ? 3 : 0;
    }
    if (lead >= 0xf0 && lead <= 0xf4) {
        const bool second = lead == 0xf0 ? continues(1, 0x90) : lead == 0xf4 ? continues(1, 0x80, 0x8f) : continues(1);
        return second && continues(2) && continues(3) ? 4 : 0;
    }
    return 0;
}

// Graphviz reads entities and backslash escapes in labels, and passes entities in names
// through to the SVG: "&" and "\" are written so that it shows them as they are.
std::string ForGraphviz(const std::string& shown, bool label) {
    std::string out;
    for (char c : shown) {
        if (c == '&') out += "&amp;";
        else if (c == '\\' && label) out += "\\\\";
        else if (c == '\n' && label) out += "\\l";
        else out += c;
    }
    return out;
}

std::string Text(const json& entry, const char* key) {
    return entry.contains(key) && entry[key].is_string() ? entry[key].get<std::string>() : "";
}

void Set(void* object, const char* name, const std::string& value) {
    agsafeset(object, const_cast<char*>(name), const_cast<char*>(value.c_str()), const_cast<char*>(""));
}

Agnode_t* Node(Agraph_t* graph, const std::string& id) {
    return agnode(graph, const_cast<char*>(ForGraphviz(Shown(id), false).c_str()), 1);
}

// A box per channel, its label the lines Write shows; links named by `linkNames` in order.
std::vector<Box> Boxes(const json& description, const std::map<std::string, std::string>& values,
                       const std::map<std::string, std::vector<std::string>>& linkNames) {
    std::vector<Box> boxes;
    for (const json& entry : description.value("channels", json::array())) {
        Box box;
        box.id = Text(entry, "id");
        box.label = Shown(box.id) + "\n" + Shown(Text(entry, "kind"));
        if (!Text(entry, "mode").empty()) box.label += " " + Shown(Text(entry, "mode"));
        if (!Text(entry, "name").empty()) box.label += "\nname: " + Shown(Text(entry, "name"));
        if (!Text(entry, "group").empty()) box.label += "\ngroup: " + Shown(Text(entry, "group"));
        auto value = values.find(box.id);
        if (value != values.end()) box.label += "\n= " + Shown(value->second, 60);
        auto names = linkNames.find(box.id);
        const json links = entry.contains("links") && entry["links"].is_array() ? entry["links"] : json::array();
        for (size_t position = 0; position < links.size(); ++position) {
            Link link;
            if (names != linkNames.end() && position < names->second.size()) link.name = names->second[position];
            const json& at = links[position];
            for (const json& child : at.is_array() ? at : json::array({at}))
                if (child.is_string()) link.children.push_back(child.get<std::string>());
            box.links.push_back(std::move(link));
        }
        boxes.push_back(std::move(box));
    }
    return boxes;
}

// One node per box, one arrow per linked child.
void AddBoxes(Agraph_t* graph, const std::vector<Box>& boxes) {
    for (const Box& box : boxes) {
        Agnode_t* node = Node(graph, box.id);
        Set(node, "label", ForGraphviz(box.label + "\n", true));
        for (const auto& [name, value] : box.attributes) Set(node, name.c_str(), value);
    }
    for (const Box& box : boxes)
        for (const Link& link : box.links)
            for (const std::string& child : link.children)
                Set(agedge(graph, Node(graph, box.id), Node(graph, child), nullptr, 1), "label",
                    ForGraphviz(Shown(link.name), true));
}

// Runs `work` on a thread of its own with a stack of `bytes`; false when none can be had.
bool RunOnLargeStack(const std::function<void()>& work, size_t bytes) {
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) return false;
    pthread_t thread;
    auto run = [](void* argument) -> void* {
        (*static_cast<const std::function<void()>*>(argument))();
        return nullptr;
    };
    const bool started = pthread_attr_setstacksize(&attributes, bytes) == 0 &&
                         pthread_create(&thread, &attributes, run, const_cast<std::function<void()>*>(&work)) == 0;
    pthread_attr_destroy(&attributes);
    return started && pthread_join(thread, nullptr) == 0;
}

// What the layout works on: a box per channel, and per link an arrow segment for each layer it
// crosses, with every channel one layer below its lowest parent (as the layout ranks them).
size_t LayoutSize(const std::vector<Box>& boxes) {
    std::map<std::string, size_t> index;
    for (const Box& box : boxes) index.emplace(box.id, index.size());
    std::vector<std::vector<size_t>> children(index.size());
    std::vector<size_t> parents(index.size()), layer(index.size()), ready;
    for (const Box& box : boxes)
        for (const Link& link : box.links)
            for (const std::string& child : link.children) {
                auto found = index.find(child);
                if (found == index.end()) continue;
                children[index[box.id]].push_back(found->second);
                ++parents[found->second];
            }
    for (size_t node = 0; node < parents.size(); ++node)
        if (!parents[node]) ready.push_back(node);
    while (!ready.empty()) {
        const size_t node = ready.back();
        ready.pop_back();
        for (size_t child : children[node]) {
            layer[child] = std::max(layer[child], layer[node] + 1);
            if (--parents[child] == 0) ready.push_back(child);
        }
    }
    size_t size = index.size();
    for (size_t node = 0; node < children.size(); ++node)
        for (size_t child : children[node]) size += layer[child] > layer[node] ? layer[child] - layer[node] : 1;
    return size;
}

// One for the process, never freed: Graphviz's text-measuring plug-in keeps the last font it
// measured by a pointer into the context, so a later context would measure with a freed name.
GVC_t* Context() {
    static GVC_t* const context = gvContext();
    return context;
}

// Graphviz prints its own complaints on stderr; the program's failure line says what failed.
int KeepGraphvizQuiet(char*) { return 0; }
}  // namespace

std::string Shown(const std::string& text, size_t maxBytes) {
    std::string out;
    for (size_t at = 0; at < text.size();) {
        const size_t length = CharacterLength(text, at);
        std::string piece;
        if (text[at] == '\\') {
            piece = "\\\\";
        } else if (length) {
            piece = text.substr(at, length);
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof(escaped), "\\x%02x", static_cast<unsigned char>(text[at]));
            piece = escaped;
        }
        if (out.size() + piece.size() > maxBytes) return out + "\u2026";
        out += piece;
        at += length ? length : 1;
    }
    return out;
}


bool FitsLayout(const std::vector<Box>& boxes, std::string& error) {
    const size_t size = LayoutSize(boxes);
    if (size <= kMaxLayoutSize) return true;
    error = "too large to draw: its layout would hold " + std::to_string(size) + " boxes and arrow segments, at most " +
            std::to_string(kMaxLayoutSize) + " fit";
    return false;
}

bool FitsLayout(const json& description, std::string& error) { return FitsLayout(Boxes(description, {}, {}), error); }

bool Render(const std::vector<Box>& boxes, const std::string& format, std::string& picture, std::string& error) {
    agseterrf(KeepGraphvizQuiet);
    picture.clear();
    std::exception_ptr failure;
    const std::function<void()> draw = [&] {
        try {
            GVC_t* context = Context();
            std::unique_ptr<Agraph_t, int (*)(Agraph_t*)> graph(
                agopen(const_cast<char*>("storyloom"), Agdirected, nullptr), agclose);
            if (!context || !graph) return;
            Set(graph.get(), "rankdir", "LR");
            agattr(graph.get(), AGNODE, const_cast<char*>("shape"), const_cast<char*>("box"));
            agattr(graph.get(), AGNODE, const_cast<char*>("fontname"), const_cast<char*>("Helvetica"));
            agattr(graph.get(), AGNODE, const_cast<char*>("fontsize"), const_cast<char*>("10"));
            agattr(graph.get(), AGEDGE, const_cast<char*>("fontname"), const_cast<char*>("Helvetica"));
            agattr(graph.get(), AGEDGE, const_cast<char*>("fontsize"), const_cast<char*>("9"));
            AddBoxes(graph.get(), boxes);
            if (gvLayout(context, graph.get(), "dot") != 0) return;
            char* data = nullptr;
            unsigned int length = 0;
            if (gvRenderData(context, graph.get(), format.c_str(), &data, &length) == 0 && data)
                picture.assign(data, length);
            gvFreeRenderData(data);
            gvFreeLayout(context, graph.get());
        } catch (...) {
            failure = std::current_exception();
        }
    };
    if (!RunOnLargeStack(draw, kLayoutStackBytes)) {
        error = "no memory for the layout's stack";
        return false;
    }
    if (failure) std::rethrow_exception(failure);
    if (picture.empty()) {
        error = "Graphviz could not lay the graph out or draw it";
        return false;
    }
    return true;
}

bool Write(const json& description, const std::map<std::string, std::string>& values,
           const std::map<std::string, std::vector<std::string>>& linkNames, const std::string& path,
           std::string& error) {
    const size_t dot = path.rfind('.');
    const std::string format = dot == std::string::npos ? "" : path.substr(dot + 1);
    if (format != "svg" && format != "png") {
        error = path + ": the picture's name must end in .svg or .png";
        return false;
    }
    std::string picture;
    if (!Render(Boxes(description, values, linkNames), format, picture, error)) {
        error = path + ": " + error;
        return false;
    }
    OutputFile file(path);
    return file.Write(picture, error) && file.Commit(error);
}

}  // namespace GraphPicture
