#pragma once
#include <cstddef>
#include <string_view>

// What the readers share: a byte-order mark skipped, lines cut at LF or CRLF.
namespace TextLines {

// The text without a leading UTF-8 byte-order mark, as spreadsheets and editors save it.
std::string_view WithoutBom(std::string_view text);
// The first line that is not blank, without its line end.
std::string_view FirstLine(std::string_view text);

// Walks a text's lines, each without its LF or CRLF; a last line without one counts too.
class Walker {
public:
    explicit Walker(std::string_view text) : _text(text) {}
    bool Next(std::string_view& line);
    std::size_t Number() const { return _number; }  // of the line Next gave last, from 1

private:
    std::string_view _text;
    std::size_t _at = 0, _number = 0;
};

}  // namespace TextLines
