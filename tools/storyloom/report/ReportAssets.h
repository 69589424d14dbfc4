#pragma once

// The report page's style and script, kept beside this header as report.css and report.js.
namespace ReportAssets {
const char* Style();
const char* Script();
}  // namespace ReportAssets
