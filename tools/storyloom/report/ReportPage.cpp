#include "ReportPage.h"

#include <exception>

#include "HtmlText.h"
#include "OutputFile.h"
#include "RecordFields.h"
#include "ReportAssets.h"
#include "ReportGraph.h"
#include "ReportStatus.h"
#include "ReportSteps.h"
#include "ReportSummary.h"

using nlohmann::json;
using RecordFields::Field;
using RecordFields::List;
using RecordFields::Text;

namespace ReportPage {
namespace {
// What the script needs and the page does not show in a form it can read: the channels' ids in
// the order of the graph's node ids, and each step's evaluated channels.
json ScriptData(const json& record) {
    json channels = json::array(), evaluated = json::array();
    for (const json& channel : List(Field(record, "channels"))) channels.push_back(Text(Field(channel, "id")));
    for (const json& step : List(Field(record, "steps"))) {
        json ids = json::array();
        for (const json& id : List(Field(step, "evaluated"))) ids.push_back(Text(id));
        evaluated.push_back(std::move(ids));
    }
    return {{"open", ReportSteps::OpenStep(record)}, {"channels", channels}, {"evaluated", evaluated}};
}

// The page of `record`, whatever keys it misses.
std::string Page(const json& record) {
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>Run of ";
    HtmlText::Append(page, Text(Field(record, "graph")));
    page += "</title>\n<style>\n" + ReportStatus::Style() + ReportAssets::Style() + "</style>\n<script>\nconst run = " +
            HtmlText::ScriptJson(ScriptData(record)) + ";\n" + ReportAssets::Script() + "</script>\n</head>\n<body>\n";
    ReportSummary::AppendHeader(page, record);
    const json& steps = Field(record, "steps");
    page += "<main class=\"stepper\">\n<nav class=\"steps\" aria-label=\"steps\">\n<h2>Steps</h2>\n";
    ReportSteps::AppendList(page, steps);
    page += "</nav>\n<div class=\"view\">\n";
    ReportGraph::Append(page, record);
    page += "<div class=\"step-details\">\n";
    ReportSteps::AppendSections(page, steps);
    page += "</div>\n</div>\n</main>\n";
    ReportSummary::AppendCoverage(page, record);
    page += "</body>\n</html>\n";
    return page;
}
}  // namespace

bool Write(const json& record, const std::string& path, std::string& error) {
    std::string page;
    try {
        page = Page(record);
    } catch (const std::exception& e) {
        error = path + ": the report could not be made (" + e.what() + ")";
        return false;
    }
    OutputFile file(path);
    return file.Write(page, error) && file.Commit(error);
}

}  // namespace ReportPage
