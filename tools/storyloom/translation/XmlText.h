#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "TranslationEntry.h"

// What the XLIFF forms share: text escaped for XML, placeholders found, documents walked.
namespace XmlText {

bool IsXmlChar(std::uint32_t code);
// Whether every text of the entry is UTF-8 that XML holds; control characters only in its
// original and translation, and there only when `codes` (<cp>) can write them.
bool HoldsEntry(const TranslationEntry& entry, bool codes);

// Escaped text. `inAttribute`: white space as references, which attribute reading keeps. `codes`:
// characters XML cannot hold as <cp> elements; elsewhere, and for bytes that are not UTF-8, the
// replacement character (which reads back otherwise, and so is reported).
void AppendEscaped(std::string& out, const std::string& text, bool inAttribute, bool codes = false);

// The dictionary's markers: the program's dictionaries are made with them.
constexpr std::string_view kPrefix = "[[", kSuffix = "]]";

// Placeholders as Translate finds them: the prefix, then the first suffix behind it. `visit(from,
// at, end)`: the text before it starts at `from`, it spans [at, end).
template <typename Visit>
void ForEachPlaceholder(const std::string& text, Visit visit) {
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(kPrefix, from)) != std::string::npos;) {
        const std::size_t end = text.find(kSuffix, at + kPrefix.size());
        if (end == std::string::npos) break;
        visit(from, at, end + kSuffix.size());
        from = end + kSuffix.size();
    }
}

// The version attribute of a text's <xliff> element near its start; empty without one.
std::string_view XliffVersion(std::string_view text);

// Reading ----------------------------------------------------------------------------------

// Lines counted once over a text whose places are asked for in order.
class LineCounter {
public:
    explicit LineCounter(const std::string& text) : _text(text) {}
    std::size_t LineAt(std::ptrdiff_t offset);

private:
    const std::string& _text;
    std::size_t _counted = 0, _line = 1;
};

// The text parsed keeping white space; false with the line and reason in `error`.
bool Parse(const std::string& text, pugi::xml_document& document, LineCounter& lines, std::string& error);

// The name of an element without its namespace prefix.
std::string_view LocalName(const pugi::xml_node& node);

// The node after `node` within `root` in document order, past `node`'s children unless `enter`.
// Codes and groups nest as deep as a file makes them: walking them this way, not by recursion,
// keeps any depth off the stack.
pugi::xml_node NextWithin(pugi::xml_node node, const pugi::xml_node& root, bool enter);

}  // namespace XmlText
