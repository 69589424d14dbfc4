#include "ReportGraph.h"

#include <cstdio>
#include <cstdlib>

#include "GraphPicture.h"
#include "HtmlText.h"
#include "RecordFields.h"
#include "ReportStatus.h"

using nlohmann::json;
using RecordFields::Field;
using RecordFields::List;
using RecordFields::Text;

namespace ReportGraph {
namespace {
std::string EvaluationLine(const json& channel) {
    const json& status = Field(channel, "lastStatus");
    if (Text(Field(channel, "mode")).empty()) return "";
    if (status.is_null()) return "never evaluated";
    return "evaluated " + Text(Field(channel, "evaluations")) + "x, last " + Text(status);
}

std::vector<GraphPicture::Box> Boxes(const json& channels) {
    std::vector<GraphPicture::Box> boxes;
    for (size_t index = 0; index < channels.size(); ++index) {
        const json& channel = channels[index];
        const ReportStatus::Look& look = ReportStatus::OfChannel(channel);
        GraphPicture::Box box;
        box.id = Text(Field(channel, "id"));
        const std::string mode = Text(Field(channel, "mode"));
        box.label = GraphPicture::Shown(box.id) + "\n" + GraphPicture::Shown(Text(Field(channel, "kind"))) +
                    (mode.empty() ? "" : " " + GraphPicture::Shown(mode) + "\n" + GraphPicture::Shown(EvaluationLine(channel)));
        box.attributes = {{"id", "channel-" + std::to_string(index)},
                          {"class", look.cssClass},
                          {"style", ReportStatus::IsNeverEvaluated(look) ? "filled,dashed" : "filled"},
                          {"fillcolor", look.fill}};
        for (const json& link : List(Field(channel, "links"))) {
            GraphPicture::Link drawn{Text(Field(link, "name")), {}};
            for (const json& child : List(Field(link, "children"))) drawn.children.push_back(Text(child));
            box.links.push_back(std::move(drawn));
        }
        boxes.push_back(std::move(box));
    }
    return boxes;
}

// Graphviz sizes its pictures in points, which HTML does not take: the same size in pixels.
void SizeInPixels(std::string& svg, const char* attribute) {
    const std::string key = std::string(" ") + attribute + "=\"";
    const size_t at = svg.find(key);
    if (at == std::string::npos) return;
    const size_t from = at + key.size(), end = svg.find('"', from);
    if (end == std::string::npos) return;
    char pixels[32];
    std::snprintf(pixels, sizeof pixels, "%.0f", std::strtod(svg.c_str() + from, nullptr) * 4 / 3);
    svg.replace(from, end - from, pixels);
}

// The <svg> element alone: no XML prolog, DOCTYPE or comments (which hold the node names).
std::string Inline(const std::string& picture) {
    const size_t start = picture.find("<svg");
    std::string svg;
    for (size_t at = start == std::string::npos ? picture.size() : start; at < picture.size();) {
        const size_t comment = picture.find("<!--", at);
        svg.append(picture, at, comment == std::string::npos ? std::string::npos : comment - at);
        if (comment == std::string::npos) break;
        const size_t end = picture.find("-->", comment);
        at = end == std::string::npos ? picture.size() : end + 3;
    }
    SizeInPixels(svg, "width");
    SizeInPixels(svg, "height");
    return svg;
}

void AppendLegend(std::string& out) {
    out += "<ul class=\"legend\">";
    for (const ReportStatus::Look& look : ReportStatus::All()) {
        out += "<li class=\"";
        out += look.cssClass;
        out += "\">";
        out += look.name;
        out += "</li>";
    }
    out += "</ul>\n";
}

void AppendList(std::string& out, const json& channels) {
    out += "<ol class=\"channel-list\">\n";
    for (size_t index = 0; index < channels.size(); ++index) {
        const json& channel = channels[index];
        out += "<li id=\"channel-" + std::to_string(index) + "\"><code>";
        HtmlText::Append(out, Text(Field(channel, "id")));
        out += "</code> ";
        const std::string mode = Text(Field(channel, "mode"));
        HtmlText::Append(out, Text(Field(channel, "kind")) + (mode.empty() ? "" : " " + mode));
        if (!mode.empty()) {
            out += ' ';
            ReportStatus::AppendBadge(out, Field(channel, "lastStatus"));
        }
        for (const json& link : List(Field(channel, "links"))) {
            out += " <span class=\"link\">";
            HtmlText::Append(out, Text(Field(link, "name")));
            out += " &rarr;";
            for (const json& child : List(Field(link, "children"))) {
                out += ' ';
                HtmlText::Append(out, Text(child));
            }
            out += "</span>";
        }
        out += "</li>\n";
    }
    out += "</ol>\n";
}
}  // namespace

void Append(std::string& out, const json& record) {
    const json& channels = List(Field(record, "channels"));
    const std::vector<GraphPicture::Box> boxes = Boxes(channels);
    std::string error, picture;
    out += "<section id=\"graph\" class=\"graph\">\n<h2>Graph</h2>\n";
    AppendLegend(out);
    if (GraphPicture::FitsLayout(boxes, error) && GraphPicture::Render(boxes, "svg", picture, error)) {
        out += "<div class=\"picture\">\n" + Inline(picture) + "</div>\n";
    } else {
        out += "<p class=\"note\">Not drawn: ";
        HtmlText::Append(out, error);
        out += ". The channels are listed instead.</p>\n";
        AppendList(out, channels);
    }
    out += "</section>\n";
}

}  // namespace ReportGraph
