#pragma once
#include <string>

#include <nlohmann/json.hpp>

// Pieces the report page's sections share; each escapes what it shows.
namespace ReportParts {

// <code>text</code>; nothing for no text, as an empty element says nothing.
void AppendCode(std::string& out, const std::string& text);
// JSON indented, as a block.
void AppendJson(std::string& out, const nlohmann::json& value);
// Lines (errorLog, debug...) as an expandable block titled with their count; nothing when none.
void AppendLines(std::string& out, const char* title, const nlohmann::json& lines, const char* cssClass = "");
// A step's result ("met", "failed", "none", "not run") as a badge.
void AppendResult(std::string& out, const std::string& result);

}  // namespace ReportParts
