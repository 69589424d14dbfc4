#include "ReportParts.h"

#include "HtmlText.h"
#include "RecordFields.h"

using nlohmann::json;

namespace ReportParts {

void AppendCode(std::string& out, const std::string& text) {
    if (text.empty()) return;
    out += "<code>";
    HtmlText::Append(out, text);
    out += "</code>";
}

void AppendJson(std::string& out, const json& value) {
    out += "<pre class=\"json\">";
    HtmlText::Append(out, value.dump(2, ' ', false, json::error_handler_t::replace));
    out += "</pre>\n";
}

void AppendLines(std::string& out, const char* title, const json& lines, const char* cssClass) {
    const json& list = RecordFields::List(lines);
    if (list.empty()) return;
    out += "<details open class=\"lines ";
    out += cssClass;
    out += "\"><summary>";
    out += title;
    out += " (" + std::to_string(list.size()) + ")</summary><pre>";
    for (const json& line : list) {
        HtmlText::Append(out, RecordFields::Text(line));
        out += '\n';
    }
    out += "</pre></details>\n";
}

void AppendResult(std::string& out, const std::string& text) {
    const std::string result = text.empty() ? "none" : text;
    // Known results only make a class: the text itself may be anything.
    static const char* const kKnown[] = {"met", "failed", "none", "not run"};
    std::string cssClass = "other";
    for (const char* known : kKnown)
        if (result == known) cssClass = known;
    for (char& c : cssClass)
        if (c == ' ') c = '-';
    out += "<span class=\"result result-" + cssClass + "\">";
    HtmlText::Append(out, result);
    out += "</span>";
}

}  // namespace ReportParts
