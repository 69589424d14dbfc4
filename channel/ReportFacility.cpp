#include "storyloom/channel/ReportFacility.h"

#include <cstdarg>
#include <cstdio>

#include "storyloom/host/engine/A3dEngine.h"

namespace {
const char* FormatInto(const char* function, const char* check, va_list args) {
    char* buffer = ReportBuffer();
    int head = std::snprintf(buffer, REPORT_BUFFER_SIZE, "%s%s", function ? function : "", "().");
    if (head < 0) head = 0;
    size_t used = static_cast<size_t>(head) < REPORT_BUFFER_SIZE ? static_cast<size_t>(head) : REPORT_BUFFER_SIZE - 1;
    if (check) std::vsnprintf(buffer + used, REPORT_BUFFER_SIZE - used, check, args);
    return buffer;
}
}  // namespace

const char* FormatCheckFailure(const char* function, const char* check, ...) {
    va_list args;
    va_start(args, check);
    const char* text = FormatInto(function, check, args);
    va_end(args);
    return text;
}

// Formatting a condition with every "%" doubled gives the condition itself.
const char* FormatFailedCondition(const char* function, const char* condition) {
    return FormatCheckFailure(function, "%s", condition ? condition : "");
}

void ReportToDebugSink(const char* text) { globalEngine.ShowDebugMessage(text); }
