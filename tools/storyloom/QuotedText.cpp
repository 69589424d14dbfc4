#include "QuotedText.h"

#include <cstdio>

namespace QuotedText {

std::string ForMessage(const std::string& text, size_t shown) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size() && i < shown; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof(escaped), "\\x%02x", c);
            out += escaped;
        }
    }
    out += '"';
    if (text.size() > shown) out += " (the first " + std::to_string(shown) + " of " + std::to_string(text.size()) + " bytes)";
    return out;
}

}  // namespace QuotedText
