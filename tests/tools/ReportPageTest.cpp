// The run report page: every record text escaped, one script, pictures inlined, the step it
// opens on, and a graph too large to lay out listed instead of drawn.
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "GraphPicture.h"
#include "ReportPage.h"

using nlohmann::json;

namespace {
const std::string kHostile = "</script><svg onload=x>&\"'\x01\x7f\xff";
const std::string kHostileEscaped = "&lt;/script&gt;&lt;svg onload=x&gt;&amp;&quot;&#39;\\u{1}\\u{7F}\\xFF";

std::string PageOf(const json& record) {
    std::string error;
    EXPECT_TRUE(ReportPage::Write(record, "report.html", error)) << error;
    std::ifstream in("report.html", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

json Channel(const std::string& id, const json& lastStatus, const json& links = json::array()) {
    return {{"id", id}, {"kind", "Storyloom"}, {"mode", "Scenario_Create"}, {"evaluations", 1},
            {"lastStatus", lastStatus}, {"links", links}};
}

// Every text the page shows holds the hostile one.
json HostileRecord() {
    const json tree = json::array({{{"channel", kHostile}, {"mode", kHostile}, {"status", 105},
                                    {"read", {{{"link", kHostile}, {"child", kHostile}, {"value", kHostile}}}},
                                    {"errorLog", {kHostile}},
                                    {"children", {{{"product", "condition"}, {"type", kHostile}, {"answer", false}}}}}});
    return {{"graph", kHostile}, {"description", kHostile}, {"passed", false}, {"failure", kHostile},
            {"failedStep", 1}, {"expectations", {{"met", 1}, {"failed", 1}}},
            {"channels", {Channel(kHostile, 105, {{{"name", kHostile}, {"children", {"b"}}}}), Channel("b", nullptr)}},
            {"steps",
             {{{"kind", ""}, {"comment", kHostile}, {"step", {{"comment", kHostile}}}},
              {{"kind", "evaluate"}, {"subject", kHostile}, {"path", "$.steps[1]"}, {"status", 105},
               {"output", {kHostile}}, {"expect", {{"text", kHostile}}}, {"expectPath", kHostile},
               {"result", "failed"}, {"failure", kHostile}, {"evaluated", {kHostile, "b"}}, {"tree", tree},
               {"debug", {kHostile}}, {"dictionary", {kHostile}}, {"checks", {kHostile}},
               {"variables", {{{"scenario", kHostile}, {"name", kHostile}, {"before", nullptr}, {"after", kHostile}}}},
               {"pictures", {{{"file", kHostile}, {"png", "iVBORw0KGgo="}}, {{"file", "bad.png"}, {"png", "\"><b>"}}}}}}},
            {"coverage",
             {{"channels", {{{"id", kHostile}, {"mode", kHostile}, {"evaluations", 1}, {"statuses", {{kHostile, 1}}}}}},
              {"neverEvaluated", {kHostile}},
              {"modes", {{{"mode", kHostile}, {"linksRead", {{kHostile, 1}}}, {"linksNeverRead", {kHostile}}}}}}}};
}
}  // namespace

TEST(ReportPage, EscapesEveryRecordTextAndEndsItsOneScriptOnce) {
    const std::string page = PageOf(HostileRecord());
    EXPECT_EQ(page.find("<svg onload"), std::string::npos);
    EXPECT_EQ(page.find_first_of("\x01\x7f\xff"), std::string::npos);
    EXPECT_EQ(Count(page, "<script"), 1u);
    EXPECT_EQ(Count(page, "</script"), 1u);
    EXPECT_LT(page.find("<script"), page.find("</script>\n</head>"));
    // Texts shown in the page, and in the script's data (the hostile id there, "<" as \u003c).
    EXPECT_GE(Count(page, kHostileEscaped), 20u);
    EXPECT_NE(page.find(R"(\u003c/script>\u003csvg onload=x>&\"'\u0001\u007f\ufffd)"), std::string::npos);
    // The graph is drawn, nodes with their index and status (Graphviz writes "-" as a reference).
    EXPECT_NE(page.find("<g id=\"channel&#45;0\" class=\"node status&#45;link&#45;error\">"), std::string::npos);
    EXPECT_EQ(page.find("<?xml"), std::string::npos);
    EXPECT_NE(page.find("<img src=\"data:image/png;base64,iVBORw0KGgo=\" alt=\"" + kHostileEscaped + "\">"),
              std::string::npos);
    EXPECT_NE(page.find("bad.png: not shown"), std::string::npos);
    EXPECT_EQ(page.find("&gt;&lt;b&gt;"), std::string::npos);
    EXPECT_NE(page.find("<a href=\"#step-1\">step 1</a>"), std::string::npos);
}

TEST(ReportPage, OpensOnTheFailingStepElseTheFirstThatEvaluated) {
    const json comment = {{"kind", ""}}, evaluating = {{"kind", "evaluate"}, {"status", 0}};
    const json notRun = {{"kind", "evaluate"}, {"ran", false}, {"status", nullptr}};
    struct Case {
        json failedStep, steps;
        int open;
    } cases[] = {
        {2, {comment, evaluating, notRun}, 2},
        {nullptr, {comment, evaluating, notRun}, 1},
        {7, {comment, comment, evaluating}, 2},  // past the steps: as if none failed
        {-1, {comment, comment}, 0},
        {nullptr, json::array(), 0},
    };
    for (const Case& c : cases) {
        const std::string page = PageOf({{"failedStep", c.failedStep}, {"steps", c.steps}});
        EXPECT_NE(page.find("const run = {\"channels\":[],\"evaluated\":"), std::string::npos);
        EXPECT_NE(page.find("\"open\":" + std::to_string(c.open) + "}"), std::string::npos) << c.failedStep;
        EXPECT_EQ(Count(page, "<section class=\"step\""), c.steps.size());
    }
}

TEST(ReportPage, ListsTheChannelsOfAGraphTooLargeToLayOut) {
    json channels = json::array();
    for (size_t index = 0; index <= GraphPicture::kMaxLayoutSize; ++index)
        channels.push_back(Channel("c" + std::to_string(index), index % 2 ? json(0) : json()));
    const std::string page = PageOf({{"channels", channels}});
    EXPECT_EQ(page.find("<svg"), std::string::npos);
    EXPECT_NE(page.find("Not drawn: too large to draw"), std::string::npos);
    const std::string last = std::to_string(GraphPicture::kMaxLayoutSize);
    EXPECT_NE(page.find("<li id=\"channel-" + last + "\"><code>c" + last + "</code>"), std::string::npos);
}

TEST(ReportPage, WritesWhateverTheRecordMissesAndFailsOnAFolderThatIsNot) {
    for (const json& odd : {json(), json(3), json{{"channels", 1}, {"steps", {1, nullptr, "x"}}}}) {
        const std::string page = PageOf(odd);
        EXPECT_NE(page.find("</html>"), std::string::npos) << odd;
    }
    std::string error;
    EXPECT_FALSE(ReportPage::Write(json::object(), "no-such-folder/report.html", error));
    EXPECT_NE(error.find("no-such-folder/report.html: cannot be written"), std::string::npos) << error;
}
