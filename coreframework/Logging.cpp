#include "storyloom/coreframework/Logging.h"

#include <ctime>

#include "storyloom/coreframework/Defines/UsefulDefines.h"
#include "storyloom/coreframework/debugrenderer/DebugRenderer.h"

namespace {

// Constant-initialised, so it exists before any other library's static constructors run.
DefaultLogger defaultLogger;

std::vector<AssertionReport>& AssertionReports() {
    static std::vector<AssertionReport> reports;
    return reports;
}

struct NamedResult {
    HRESULT value;
    const char* name;
};

#define STORYLOOM_RESULT_ROW(name, value) {value, #name},
constexpr NamedResult namedResults[] = {STORYLOOM_NAMED_RESULTS(STORYLOOM_RESULT_ROW)};
#undef STORYLOOM_RESULT_ROW

}  // namespace

void DefaultLogger::Log(const std::string&, int) {}

DefaultLogger& DefaultLogger::Instance() { return defaultLogger; }

int WriteTimeStamp(FILE* file) {
    if (!file) return 1;
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[127];
    std::snprintf(stamp, sizeof(stamp), "%02hu/%02hu/%02hu %02hu:%02hu:%02hu > ",
                  static_cast<unsigned short>((local.tm_year + 1900) % 100),
                  static_cast<unsigned short>(local.tm_mon + 1),
                  static_cast<unsigned short>(local.tm_mday),
                  static_cast<unsigned short>(local.tm_hour),
                  static_cast<unsigned short>(local.tm_min),
                  static_cast<unsigned short>(local.tm_sec));
    std::fputs(stamp, file);
    return 0;
}

void AppendResultName(std::string& out) {
    const HRESULT lastResult = DebugRenderer::GetLastResult();
    for (const NamedResult& row : namedResults) {
        if (row.value == lastResult) {
            out += row.name;
            return;
        }
    }
    out += FormatText("HRESULT_CODE(%u)", static_cast<unsigned>(lastResult) & 0xFFFFu);
}

bool FrameworkCheck(bool holds, const char* condition, const char* sourcePath, int line) {
    if (holds) return true;
    AssertionReport report{std::string("(") + condition + ") && 0", sourcePath, line};
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", report.expression.c_str(),
                 sourcePath, line);
    AssertionReports().push_back(std::move(report));
    return false;
}

const std::vector<AssertionReport>& GetAssertionReports() { return AssertionReports(); }

void ClearAssertionReports() { AssertionReports().clear(); }
