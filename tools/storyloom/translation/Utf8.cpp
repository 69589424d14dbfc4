#include "Utf8.h"

namespace Utf8 {

std::size_t CharAt(const std::string& text, std::size_t at, std::uint32_t& code) {
    const unsigned char lead = text[at];
    const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    if (length == 0 || at + length > text.size()) return 0;
    code = length == 1 ? lead : lead & (0x7f >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char c = text[at + i];
        if ((c >> 6) != 2) return 0;
        code = code << 6 | (c & 0x3f);
    }
    static constexpr std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) return 0;
    return length;
}

void Append(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
        return;
    }
    const int length = code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
    static constexpr unsigned char leads[] = {0, 0, 0xc0, 0xe0, 0xf0};
    out += static_cast<char>(leads[length] | code >> (6 * (length - 1)));
    for (int i = length - 2; i >= 0; --i) out += static_cast<char>(0x80 | (code >> (6 * i) & 0x3f));
}

}  // namespace Utf8
