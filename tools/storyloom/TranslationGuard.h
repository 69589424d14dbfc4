#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "storyloom/coreframework/LanguageDictionary.h"

// What the dictionary does silently and exactly, told to the user: items of a translation text
// that are not read, entries the XML form does not give back, and a translation's size before
// it is made.
namespace TranslationGuard {

// Room for every real dictionary's texts many times over; `--max-text` raises it.
constexpr std::uint64_t DefaultMaxText = std::uint64_t(64) << 20;

struct ItemCount {
    std::size_t held = 0;  // items the text opens, read or not
    std::size_t read = 0;  // items the importer took, repeated keys included
};
// The items an XML translation text opens, read or not.
std::size_t CountHeldItems(const std::string& text);
// The items of an XML translation text, counted and read into a dictionary of its own.
ItemCount CountItems(const std::string& text);
// "N of M translation items in the text could not be read"; empty when all were.
std::string Shortfall(const ItemCount& count);

// One line for each entry whose key or texts do not read back from its XML form.
std::vector<std::string> EntriesLostInXml(const LanguageDictionary& dictionary);

struct SizeEstimate {
    bool overLimit = false;  // grows past the limit (or takes more replacements than it)
    std::uint64_t bytes = 0;  // the expanded size, when not over the limit
    std::string selfReference;  // a placeholder left as written inside its own expansion
};
// What Translate makes of `text`, without making it. A placeholder that a translation leaves
// open and the text behind it completes is not followed: translations are sized one by one.
SizeEstimate EstimateTranslation(const LanguageDictionary& dictionary, const std::string& text,
                                 std::uint64_t limit);

}  // namespace TranslationGuard
