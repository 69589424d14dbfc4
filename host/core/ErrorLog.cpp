#include "storyloom/host/core/ErrorLog.h"

#include <cstdio>

namespace Core {
namespace {

struct ErrorLog {
    std::vector<std::string> lines;
    bool echo = false;
};

ErrorLog& Log() {
    static ErrorLog log;
    return log;
}

}  // namespace

void WriteErrorLog(const std::string& text) {
    ErrorLog& log = Log();
    log.lines.push_back(text);
    if (log.echo) std::fprintf(stderr, "ERRLOG: %s\n", text.c_str());
}

void WriteErrorLog(const char* text) { WriteErrorLog(std::string(text ? text : "ERRLOG: called without a text")); }

const std::vector<std::string>& GetErrorLog() { return Log().lines; }
void ClearErrorLog() { Log().lines.clear(); }
void SetErrorLogEcho(bool toStderr) { Log().echo = toStderr; }

}  // namespace Core
