#include "EvaluationTree.h"

#include "HtmlText.h"
#include "RecordFields.h"
#include "ReportParts.h"
#include "ReportStatus.h"

using nlohmann::json;
using RecordFields::Field;
using RecordFields::List;
using RecordFields::Text;

namespace EvaluationTree {
namespace {
// Deeper trees are cut: browsers lay out nested blocks recursively, and no reader opens that far.
constexpr size_t kMaxDepth = 64;

// One line per value, "read LINK CHILD: VALUE": lighter than a table, as a long run holds thousands.
void AppendValues(std::string& out, const char* verb, const json& values) {
    for (const json& value : List(values)) {
        out += "<li>";
        out += verb;
        out += ' ';
        HtmlText::Append(out, Text(Field(value, "link")));
        out += ' ';
        ReportParts::AppendCode(out, Text(Field(value, "child")));
        out += ": ";
        HtmlText::Append(out, Text(Field(value, "value")));
        out += "</li>\n";
    }
}

// What was evaluated and how it ended.
void AppendHeadline(std::string& out, const json& node) {
    if (Field(node, "channel").is_null()) {
        out += "<span class=\"product\">";
        HtmlText::Append(out, Text(Field(node, "product")) + " " + Text(Field(node, "type")));
        out += "</span>";
        if (!Field(node, "answer").is_null()) {
            out += " &rarr; ";
            HtmlText::Append(out, Text(Field(node, "answer")));
        }
    } else {
        ReportParts::AppendCode(out, Text(Field(node, "channel")));
        out += ' ';
        HtmlText::Append(out, Text(Field(node, "mode")));
        out += " &rarr; ";
        ReportStatus::AppendBadge(out, Field(node, "status"));
    }
}

bool HasDetails(const json& node) {
    for (const char* key : {"read", "written", "errorLog", "debug", "children"})
        if (!List(Field(node, key)).empty()) return true;
    return false;
}

void AppendNodes(std::string& out, const json& nodes, size_t depth) {
    if (List(nodes).empty()) return;
    if (depth == kMaxDepth) {
        out += "<p class=\"note\">Deeper evaluations not shown.</p>\n";
        return;
    }
    out += "<ul class=\"tree\">\n";
    for (const json& node : List(nodes)) {
        // A node with nothing more to tell is a line, not a block to open.
        if (!HasDetails(node)) {
            out += "<li class=\"leaf\">";
            AppendHeadline(out, node);
            out += "</li>\n";
            continue;
        }
        out += "<li><details open><summary>";
        AppendHeadline(out, node);
        out += "</summary>\n";
        if (!List(Field(node, "read")).empty() || !List(Field(node, "written")).empty()) {
            out += "<ul class=\"values\">\n";
            AppendValues(out, "read", Field(node, "read"));
            AppendValues(out, "wrote", Field(node, "written"));
            out += "</ul>\n";
        }
        ReportParts::AppendLines(out, "error log", Field(node, "errorLog"), "error");
        ReportParts::AppendLines(out, "debug", Field(node, "debug"));
        AppendNodes(out, Field(node, "children"), depth + 1);
        out += "</details></li>\n";
    }
    out += "</ul>\n";
}
}  // namespace

void Append(std::string& out, const json& nodes) { AppendNodes(out, nodes, 0); }

}  // namespace EvaluationTree
