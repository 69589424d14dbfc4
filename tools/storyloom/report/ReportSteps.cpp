#include "ReportSteps.h"

#include "EvaluationTree.h"
#include "HtmlText.h"
#include "RecordFields.h"
#include "ReportParts.h"
#include "ReportStatus.h"

using nlohmann::json;
using RecordFields::Field;
using RecordFields::List;
using RecordFields::Text;

namespace ReportSteps {
namespace {
bool EvaluatedSomething(const json& step) {
    return !Field(step, "status").is_null() || !List(Field(step, "evaluated")).empty();
}

// The step's kind; for a step of none but an expectation, the keys it was written with.
std::string KindOf(const json& step) {
    std::string kind = Text(Field(step, "kind"));
    const json& written = Field(step, "step");
    if (!kind.empty() || !written.is_object()) return kind;
    for (const auto& [key, value] : written.items())
        if (key != "comment") kind += (kind.empty() ? "" : " ") + key;
    return kind;
}

// What the step does in a few words: its kind and subject, or its comment.
void AppendTitle(std::string& out, const json& step) {
    const std::string kind = KindOf(step), comment = Text(Field(step, "comment"));
    if (kind.empty()) {
        out += "<span class=\"comment\">";
        HtmlText::Append(out, comment.empty() ? "nothing to do" : comment);
        out += "</span>";
        return;
    }
    HtmlText::Append(out, kind);
    const std::string subject = Text(Field(step, "subject"));
    if (!subject.empty()) {
        out += ' ';
        ReportParts::AppendCode(out, subject);
    }
}

void AppendExpectation(std::string& out, const json& step) {
    const json& expect = Field(step, "expect");
    const std::string failure = Text(Field(step, "failure"));
    if (expect.is_null() && failure.empty()) return;
    out += "<div class=\"expect\"><h4>Expectation ";
    ReportParts::AppendResult(out, Text(Field(step, "result")));
    out += " ";
    ReportParts::AppendCode(out, Text(Field(step, "expectPath")));
    out += "</h4>\n";
    if (!expect.is_null()) ReportParts::AppendJson(out, expect);
    if (!failure.empty()) {
        out += "<p class=\"failure\">";
        HtmlText::Append(out, failure);
        out += "</p>\n";
    }
    out += "</div>\n";
}

void AppendEvaluated(std::string& out, const json& step) {
    const json& evaluated = List(Field(step, "evaluated"));
    if (evaluated.empty()) return;
    out += "<p class=\"evaluated\">Evaluated:";
    for (const json& id : evaluated) {
        out += ' ';
        ReportParts::AppendCode(out, Text(id));
    }
    out += "</p>\n";
}

void AppendVariables(std::string& out, const json& variables) {
    if (List(variables).empty()) return;
    out += "<table class=\"variables\"><caption>variables changed</caption>\n"
           "<tr><th>scenario</th><th>name</th><th>before</th><th>after</th></tr>\n";
    for (const json& change : List(variables)) {
        out += "<tr>";
        for (const char* key : {"scenario", "name", "before", "after"}) {
            const json& value = Field(change, key);
            out += "<td>";
            if (value.is_null()) out += "<span class=\"unset\">unset</span>";
            else HtmlText::Append(out, Text(value));
            out += "</td>";
        }
        out += "</tr>\n";
    }
    out += "</table>\n";
}

bool IsBase64(const std::string& text) {
    return !text.empty() && text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=") ==
                                std::string::npos;
}

void AppendPictures(std::string& out, const json& pictures) {
    for (const json& picture : List(pictures)) {
        const std::string file = Text(Field(picture, "file")), png = Text(Field(picture, "png"));
        if (!IsBase64(png)) {
            out += "<p class=\"note\">";
            HtmlText::Append(out, file);
            out += ": not shown, its data is not base64.</p>\n";
            continue;
        }
        out += "<figure><img src=\"data:image/png;base64," + png + "\" alt=\"";
        HtmlText::Append(out, file);
        out += "\"><figcaption>";
        HtmlText::Append(out, file);
        out += "</figcaption></figure>\n";
    }
}

void AppendSection(std::string& out, const json& step, size_t index) {
    const std::string number = std::to_string(index);
    out += "<section class=\"step\" id=\"step-" + number + "\">\n<h3>Step " + number + ": ";
    AppendTitle(out, step);
    out += ' ';
    if (EvaluatedSomething(step)) ReportStatus::AppendBadge(out, Field(step, "status"));
    out += "</h3>\n";
    const std::string path = Text(Field(step, "path")), comment = Text(Field(step, "comment"));
    const bool commentShown = !comment.empty() && !KindOf(step).empty();
    if (!path.empty() || commentShown) {
        out += "<p class=\"path\">";
        ReportParts::AppendCode(out, path);
        if (commentShown) {
            out += " <span class=\"comment\">";
            HtmlText::Append(out, comment);
            out += "</span>";
        }
        out += "</p>\n";
    }
    if (Field(step, "ran") == false) out += "<p class=\"note\">Not run: an earlier step failed.</p>\n";
    if (!List(Field(step, "output")).empty()) {
        out += "<pre class=\"output\">";
        for (const json& line : List(Field(step, "output"))) {
            HtmlText::Append(out, Text(line));
            out += '\n';
        }
        out += "</pre>\n";
    }
    AppendExpectation(out, step);
    AppendEvaluated(out, step);
    if (!List(Field(step, "tree")).empty()) {
        out += "<details open class=\"evaluations\"><summary>evaluations</summary>\n";
        EvaluationTree::Append(out, Field(step, "tree"));
        out += "</details>\n";
    }
    ReportParts::AppendLines(out, "error log", Field(step, "errorLog"), "error");
    ReportParts::AppendLines(out, "debug", Field(step, "debug"));
    ReportParts::AppendLines(out, "dictionary", Field(step, "dictionary"));
    ReportParts::AppendLines(out, "checks", Field(step, "checks"));
    AppendVariables(out, Field(step, "variables"));
    AppendPictures(out, Field(step, "pictures"));
    out += "<details class=\"written\"><summary>step as written</summary>\n";
    ReportParts::AppendJson(out, Field(step, "step"));
    out += "</details>\n</section>\n";
}
}  // namespace

size_t OpenStep(const json& record) {
    const json& steps = List(Field(record, "steps"));
    const size_t failed = RecordFields::Index(Field(record, "failedStep"), steps.size());
    if (failed < steps.size()) return failed;
    for (size_t index = 0; index < steps.size(); ++index)
        if (EvaluatedSomething(steps[index])) return index;
    return 0;
}

void AppendList(std::string& out, const json& steps) {
    out += "<ol class=\"step-list\">\n";
    for (size_t index = 0; index < List(steps).size(); ++index) {
        const json& step = steps[index];
        const std::string number = std::to_string(index);
        out += "<li id=\"entry-" + number + "\"><a href=\"#step-" + number + "\"><span class=\"number\">" + number +
               "</span> ";
        AppendTitle(out, step);
        out += "</a> ";
        if (EvaluatedSomething(step)) ReportStatus::AppendBadge(out, Field(step, "status"));
        const std::string result = Text(Field(step, "result"));
        if (!result.empty() && result != "none") ReportParts::AppendResult(out, result);
        out += "</li>\n";
    }
    out += "</ol>\n";
}

void AppendSections(std::string& out, const json& steps) {
    for (size_t index = 0; index < List(steps).size(); ++index) AppendSection(out, steps[index], index);
}

}  // namespace ReportSteps
