#include "ReportSummary.h"

#include "HtmlText.h"
#include "RecordFields.h"
#include "ReportParts.h"
#include "ReportStatus.h"

using nlohmann::json;
using RecordFields::Field;
using RecordFields::List;
using RecordFields::Text;

namespace ReportSummary {
namespace {
// Statuses are counted under their numbers, written as keys.
json StatusFromKey(const std::string& key) {
    const json parsed = json::parse(key, nullptr, false);
    return parsed.is_number() ? parsed : json(key);
}

// Counts by name ({"0": 2}) as "name ×count" items.
void AppendCounts(std::string& out, const json& counts, bool statuses) {
    if (!counts.is_object()) return;
    for (const auto& [name, count] : counts.items()) {
        if (statuses) ReportStatus::AppendBadge(out, StatusFromKey(name));
        else ReportParts::AppendCode(out, name);
        out += " &times;";
        HtmlText::Append(out, Text(count));
        out += ' ';
    }
}

void AppendChannels(std::string& out, const json& channels) {
    if (List(channels).empty()) return;
    out += "<table><caption>channels</caption>\n"
           "<tr><th>channel</th><th>mode</th><th>evaluations</th><th>statuses</th></tr>\n";
    for (const json& channel : List(channels)) {
        out += "<tr><td>";
        ReportParts::AppendCode(out, Text(Field(channel, "id")));
        out += "</td><td>";
        HtmlText::Append(out, Text(Field(channel, "mode")));
        out += "</td><td>";
        HtmlText::Append(out, Text(Field(channel, "evaluations")));
        out += "</td><td>";
        AppendCounts(out, Field(channel, "statuses"), true);
        out += "</td></tr>\n";
    }
    out += "</table>\n";
}

void AppendModes(std::string& out, const json& modes) {
    if (List(modes).empty()) return;
    out += "<table><caption>modes</caption>\n"
           "<tr><th>mode</th><th>evaluations</th><th>links read</th><th>links never read</th></tr>\n";
    for (const json& mode : List(modes)) {
        out += "<tr><td>";
        HtmlText::Append(out, Text(Field(mode, "mode")));
        out += "</td><td>";
        HtmlText::Append(out, Text(Field(mode, "evaluations")));
        out += "</td><td>";
        AppendCounts(out, Field(mode, "linksRead"), false);
        out += "</td><td class=\"never\">";
        for (const json& link : List(Field(mode, "linksNeverRead"))) {
            ReportParts::AppendCode(out, Text(link));
            out += ' ';
        }
        out += "</td></tr>\n";
    }
    out += "</table>\n";
}
}  // namespace

void AppendHeader(std::string& out, const json& record) {
    const bool passed = Field(record, "passed") == true;
    out += "<header class=\"summary\">\n<h1>Run of ";
    ReportParts::AppendCode(out, Text(Field(record, "graph")));
    out += passed ? " <span class=\"verdict passed\">passed</span>" : " <span class=\"verdict failed\">failed</span>";
    out += "</h1>\n";
    if (!Text(Field(record, "description")).empty()) {
        out += "<p class=\"description\">";
        HtmlText::Append(out, Text(Field(record, "description")));
        out += "</p>\n";
    }
    const json& expectations = Field(record, "expectations");
    out += "<p class=\"counts\">Expectations met: ";
    HtmlText::Append(out, Text(Field(expectations, "met")));
    out += ", failed: ";
    HtmlText::Append(out, Text(Field(expectations, "failed")));
    out += ". Steps: " + std::to_string(List(Field(record, "steps")).size()) + ".</p>\n";
    // Failures the check foresaw, which --allow-errors ran anyway.
    for (const json& warning : List(Field(record, "warnings"))) {
        out += "<p class=\"warning\">warning: ";
        HtmlText::Append(out, Text(warning));
        out += "</p>\n";
    }
    if (!Text(Field(record, "failure")).empty()) {
        out += "<p class=\"failure\">";
        HtmlText::Append(out, Text(Field(record, "failure")));
        out += "</p>\n";
    }
    const size_t steps = List(Field(record, "steps")).size();
    const size_t failed = RecordFields::Index(Field(record, "failedStep"), steps);
    if (failed < steps) {
        const std::string number = std::to_string(failed);
        out += "<p>First failure: <a href=\"#step-" + number + "\">step " + number + "</a></p>\n";
    }
    out += "</header>\n";
}

void AppendCoverage(std::string& out, const json& record) {
    const json& coverage = Field(record, "coverage");
    out += "<section id=\"coverage\" class=\"coverage\">\n<h2>Coverage</h2>\n";
    const json& never = List(Field(coverage, "neverEvaluated"));
    out += "<p>Channels never evaluated (" + std::to_string(never.size()) + "):";
    for (const json& id : never) {
        out += ' ';
        ReportParts::AppendCode(out, Text(id));
    }
    out += "</p>\n";
    AppendChannels(out, Field(coverage, "channels"));
    AppendModes(out, Field(coverage, "modes"));
    out += "</section>\n";
}

}  // namespace ReportSummary
