#pragma once
#include <string>

#include <nlohmann/json.hpp>

// Record texts made safe for the report page.
namespace HtmlText {

// `text` for an element's text or a double-quoted attribute: markup characters as references;
// characters HTML must not hold (control characters but tab and line feed, noncharacters) as
// \u{X}, bytes that are not UTF-8 as \xNN, so the page shows them.
void Append(std::string& out, const std::string& text);

// JSON as it may stand inside a <script>: ASCII only, "<" as \u003c so that no "</script>" or
// "<!--" held by a text ends or changes the script.
std::string ScriptJson(const nlohmann::json& value);

}  // namespace HtmlText
