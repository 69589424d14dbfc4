#pragma once
#include <string>

namespace Core {

// printf-style formatting into a fresh string. The core keeps away from the framework's
// shared report buffer so that a report a caller is still composing is never overwritten.
std::string FormatString(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace Core
