#pragma once
#include <string>
#include <vector>

namespace Core {

// The library's error log: every failure the core meets, and every evaluation failure of the
// channels built on it, lands here as one line. A null text is logged as a report of itself.
void WriteErrorLog(const char* text);
void WriteErrorLog(const std::string& text);

const std::vector<std::string>& GetErrorLog();
void ClearErrorLog();

// When on, every line is also written to standard error as it arrives (off by default).
void SetErrorLogEcho(bool toStderr);

}  // namespace Core

#define ERRLOG(text) ::Core::WriteErrorLog(text)
