#pragma once
#include <string>

#include <nlohmann/json.hpp>

// A run record's steps on the report page.
namespace ReportSteps {

// The step the page opens on: a failed run's failing step; otherwise the first step that
// evaluated something, as comment-only steps would leave the graph blank; else the first.
size_t OpenStep(const nlohmann::json& record);

// The list the reader steps through: one entry per step, linking to its section.
void AppendList(std::string& out, const nlohmann::json& steps);

// Every step as a section holding all its details, so the page reads whole without its script.
void AppendSections(std::string& out, const nlohmann::json& steps);

}  // namespace ReportSteps
