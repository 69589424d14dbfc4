#pragma once
#include <string>

#include <nlohmann/json.hpp>

// What a reader of the report page sees first, and last: how the run went, and what it covered.
namespace ReportSummary {

// The graph's name and description, passed or failed, expectations met and failed, the
// failure line and a link to the first failing step.
void AppendHeader(std::string& out, const nlohmann::json& record);

// Evaluations and statuses per channel, links read and never read per mode, the channels
// never evaluated.
void AppendCoverage(std::string& out, const nlohmann::json& record);

}  // namespace ReportSummary
