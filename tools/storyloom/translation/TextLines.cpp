#include "TextLines.h"

namespace TextLines {

std::string_view WithoutBom(std::string_view text) {
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    return text.substr(0, bom.size()) == bom ? text.substr(bom.size()) : text;
}

std::string_view FirstLine(std::string_view text) {
    Walker lines(WithoutBom(text));
    std::string_view line;
    while (lines.Next(line))
        if (line.find_first_not_of(" \t") != std::string_view::npos) return line;
    return {};
}

bool Walker::Next(std::string_view& line) {
    if (_at >= _text.size()) return false;
    std::size_t end = _text.find('\n', _at);
    if (end == std::string_view::npos) end = _text.size();
    line = _text.substr(_at, end - _at);
    if (!line.empty() && line.back() == '\r' && end < _text.size()) line.remove_suffix(1);
    _at = end + 1;
    ++_number;
    return true;
}

}  // namespace TextLines
