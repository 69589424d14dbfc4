#include "HtmlText.h"

#include <cstdint>
#include <cstdio>

#include "Utf8.h"

namespace HtmlText {
namespace {
bool Allowed(std::uint32_t code) {
    if (code < 0x20) return code == '\t' || code == '\n';
    if (code >= 0x7f && code <= 0x9f) return false;
    return !(code >= 0xfdd0 && code <= 0xfdef) && (code & 0xfffe) != 0xfffe;
}
}  // namespace

void Append(std::string& out, const std::string& text) {
    for (size_t at = 0; at < text.size();) {
        std::uint32_t code = 0;
        const size_t length = Utf8::CharAt(text, at, code);
        char shown[16];
        if (length == 0) {
            std::snprintf(shown, sizeof shown, "\\x%02X", static_cast<unsigned char>(text[at]));
            out += shown;
            ++at;
            continue;
        }
        switch (code) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default:
                if (Allowed(code)) {
                    out.append(text, at, length);
                } else {
                    std::snprintf(shown, sizeof shown, "\\u{%X}", static_cast<unsigned>(code));
                    out += shown;
                }
        }
        at += length;
    }
}

std::string ScriptJson(const nlohmann::json& value) {
    const std::string json = value.dump(-1, ' ', true, nlohmann::json::error_handler_t::replace);
    std::string out;
    out.reserve(json.size());
    for (char c : json) {
        if (c == '<') out += "\\u003c";
        else out += c;
    }
    return out;
}

}  // namespace HtmlText
