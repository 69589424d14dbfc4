#include "storyloom/host/core/TextFormat.h"

#include <cstdarg>
#include <cstdio>

namespace Core {

std::string FormatString(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    int size = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string text;
    if (size > 0) {
        text.resize(static_cast<size_t>(size) + 1);
        std::vsnprintf(&text[0], text.size(), format, args);
        text.pop_back();
    }
    va_end(args);
    return text;
}

}  // namespace Core
