#include "storyloom/coreframework/Defines/UsefulDefines.h"

#include <cstdarg>
#include <cstdio>

char* ReportBuffer() {
    static char buffer[REPORT_BUFFER_SIZE];
    return buffer;
}

const std::string& FormatText(const char* format, ...) {
    static std::string text;
    if (!format) {
        text.clear();
        return text;
    }
    char* buffer = ReportBuffer();
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(buffer, REPORT_BUFFER_SIZE, format, args);
    va_end(args);
    if (written < 0) buffer[0] = '\0';
    text.assign(buffer);
    return text;
}

void ReplaceAll(std::string& text, const std::string& marker, const std::string& replacement) {
    if (marker.empty()) return;
    size_t found = text.find(marker);
    if (found == std::string::npos) return;
    std::string result;
    size_t from = 0;
    for (; found != std::string::npos; found = text.find(marker, from)) {
        result.append(text, from, found - from);
        result += replacement;
        from = found + marker.size();
    }
    result.append(text, from, std::string::npos);
    text = std::move(result);
}
