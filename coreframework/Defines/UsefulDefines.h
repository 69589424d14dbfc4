#pragma once
#include <string>

// Size of the process-wide report buffer shared by every formatted report.
constexpr unsigned REPORT_BUFFER_SIZE = 20480;

// The shared report buffer: a report lives there until the next report overwrites it.
char* ReportBuffer();

// printf-style formatting into the shared report buffer, then copied into the shared text
// that is returned. The text stays valid until the next call. A null format gives "".
// Output longer than the buffer is cut at REPORT_BUFFER_SIZE - 1 characters.
const std::string& FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Replaces every occurrence of `marker`, left to right; inserted text is not searched again.
// An empty marker leaves the text as it is.
void ReplaceAll(std::string& text, const std::string& marker, const std::string& replacement);
