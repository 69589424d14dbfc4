#include "XmlText.h"

#include <algorithm>
#include <cstdio>

#include "Utf8.h"

namespace XmlText {

bool IsXmlChar(std::uint32_t code) {
    return code == 9 || code == 10 || code == 13 || (code >= 0x20 && code != 0xfffe && code != 0xffff);
}

namespace {
bool HoldsAll(const std::string& text, bool controls) {
    for (std::size_t at = 0; at < text.size();) {
        std::uint32_t code = 0;
        const std::size_t length = Utf8::CharAt(text, at, code);
        if (length == 0 || (!controls && !IsXmlChar(code))) return false;
        at += length;
    }
    return true;
}
}  // namespace

bool HoldsEntry(const TranslationEntry& entry, bool codes) {
    return HoldsAll(entry.key, false) && HoldsAll(entry.source, codes) && HoldsAll(entry.translated, codes) &&
           HoldsAll(entry.sourceHash, false) && HoldsAll(entry.previousSource, false);
}

void AppendEscaped(std::string& out, const std::string& text, bool inAttribute, bool codes) {
    for (std::size_t at = 0; at < text.size();) {
        std::uint32_t code = 0;
        const std::size_t length = Utf8::CharAt(text, at, code);
        if (length == 0 || !IsXmlChar(code)) {
            if (length != 0 && codes) {
                char hex[32];
                std::snprintf(hex, sizeof hex, "<cp hex=\"%04X\"/>", static_cast<unsigned>(code));
                out += hex;
            } else {
                out += "\xEF\xBF\xBD";
            }
            at += length == 0 ? 1 : length;
            continue;
        }
        switch (code) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += inAttribute ? "&quot;" : "\""; break;
            case '\r': out += "&#13;"; break;
            case '\n': out += inAttribute ? "&#10;" : "\n"; break;
            case '\t': out += inAttribute ? "&#9;" : "\t"; break;
            default: out.append(text, at, length);
        }
        at += length;
    }
}

std::string_view XliffVersion(std::string_view text) {
    const std::string_view head = text.substr(0, 1024);
    const std::size_t element = head.find("<xliff");
    if (element == std::string_view::npos) return "";
    const std::size_t close = head.find('>', element);
    const std::string_view tag = head.substr(element, close == std::string_view::npos ? close : close - element);
    // " version" with its space: "xml:version"-like names in other attributes stay apart.
    std::size_t at = tag.find(" version");
    if (at == std::string_view::npos) return "";
    at = tag.find_first_not_of(" \t\r\n", at + 8);
    if (at == std::string_view::npos || tag[at] != '=') return "";
    at = tag.find_first_not_of(" \t\r\n", at + 1);
    if (at == std::string_view::npos || (tag[at] != '"' && tag[at] != '\'')) return "";
    const std::size_t end = tag.find(tag[at], at + 1);
    return end == std::string_view::npos ? "" : tag.substr(at + 1, end - at - 1);
}

std::size_t LineCounter::LineAt(std::ptrdiff_t offset) {
    const std::size_t at = std::min<std::size_t>(std::max<std::ptrdiff_t>(offset, 0), _text.size());
    if (at < _counted) _counted = 0, _line = 1;
    _line += std::count(_text.begin() + _counted, _text.begin() + at, '\n');
    _counted = at;
    return _line;
}

bool Parse(const std::string& text, pugi::xml_document& document, LineCounter& lines, std::string& error) {
    const pugi::xml_parse_result parsed = document.load_buffer(
        text.data(), text.size(), pugi::parse_default | pugi::parse_ws_pcdata, pugi::encoding_utf8);
    if (!parsed)
        error =
            "line " + std::to_string(lines.LineAt(parsed.offset)) + ": not well-formed XML: " + parsed.description();
    return parsed;
}

std::string_view LocalName(const pugi::xml_node& node) {
    std::string_view name = node.name();
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node NextWithin(pugi::xml_node node, const pugi::xml_node& root, bool enter) {
    if (enter && node.first_child()) return node.first_child();
    while (!node.next_sibling() && node.parent() != root) node = node.parent();
    return node.next_sibling();
}

}  // namespace XmlText
