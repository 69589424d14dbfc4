#pragma once
#include <string>

#include <nlohmann/json.hpp>

// The run report: one self-contained HTML page (inline style, script, SVG and pictures) of a
// recorded run, readable without its script, which adds stepping and highlighting.
namespace ReportPage {

// Writes one self-contained HTML page of a recorded run; false with the reason in `error`.
bool Write(const nlohmann::json& record, const std::string& path, std::string& error);

}  // namespace ReportPage
