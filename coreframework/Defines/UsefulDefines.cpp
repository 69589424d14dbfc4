#include "coreframework/Defines/UsefulDefines.h"

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
