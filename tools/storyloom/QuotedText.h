#pragma once
#include <cstddef>
#include <string>

// Text read from a file, made safe for a one-line message: in double quotes, printable ASCII
// as is, every other byte (and the quote and backslash) escaped, at most `shown` bytes of it.
namespace QuotedText {
constexpr size_t kShownBytes = 64;

std::string ForMessage(const std::string& text, size_t shown = kShownBytes);
}  // namespace QuotedText
