#include "coreframework/LanguageDictionaryXMLSerializer.h"

#include <cstdint>
#include <cstring>

#include "coreframework/Defines/UsefulDefines.h"
#include "coreframework/LanguageDictionary.h"
#include "coreframework/LanguageDictionaryXMLImporter.h"
#include "coreframework/TranslationText.h"
#include "coreframework/serializer/ImportText.h"

namespace {

// What one look over a text found: whether it holds a '<' (then it may hold markup) and
// whether it holds line feeds (then they are written as markers).
struct Marks {
    bool lessThan = false;
    bool lineFeed = false;
};

// A word-at-a-time look for both characters at once: most texts hold neither, and texts are
// short, so one pass without calls beats a search per character.
Marks MarksOf(const std::string& text) {
    constexpr std::uint64_t ones = 0x0101010101010101u, highs = 0x8080808080808080u;
    auto anyZeroByte = [&](std::uint64_t word) { return (word - ones) & ~word & highs; };
    const char* at = text.data();
    std::size_t left = text.size();
    std::uint64_t lessThan = 0, lineFeed = 0;
    for (; left >= 8; at += 8, left -= 8) {
        std::uint64_t word;
        std::memcpy(&word, at, 8);
        lessThan |= anyZeroByte(word ^ (ones * '<'));
        lineFeed |= anyZeroByte(word ^ (ones * '\n'));
    }
    for (; left > 0; ++at, --left) {
        lessThan |= *at == '<';
        lineFeed |= *at == '\n';
    }
    return {lessThan != 0, lineFeed != 0};
}

// Pieces of text the reader would take for markup: inside an entry each would end its element,
// its item or the rest of the file early, and the format has no escaping. None holds a line
// feed or a character of the line feed marker, so a text shows the same pieces before and
// after its line feeds are written as markers.
const char* FindUnstorable(const std::string& text) {
    static const char* const markup[] = {"<!--", "<Textitem>", "<Textitem ", "<Textitem\t",
                                         "</Textitem>", "<ID>", "</ID>", "<Original>",
                                         "</Original>", "<Translated>", "</Translated>"};
    for (const char* piece : markup)
        if (text.find(piece) != std::string::npos) return piece;
    return nullptr;
}

// The text with each line feed written as the marker.
void AppendWithLineBreakMarkers(std::string& out, const std::string& text, bool lineFeed) {
    if (!lineFeed) {
        out += text;
        return;
    }
    std::size_t from = 0;
    for (std::size_t feed; (feed = text.find('\n', from)) != std::string::npos; from = feed + 1) {
        out.append(text, from, feed - from);
        out += TranslationText::LineBreak;
    }
    out.append(text, from, std::string::npos);
}

// Openings of items anywhere in the text, read or not.
std::size_t CountItemOpenings(const std::string& data) {
    const std::string opening = std::string("<") + TranslationText::Item;
    std::size_t count = 0;
    for (std::size_t at = FindText(data, opening); at != std::string::npos;
         at = FindText(data, opening, at + 1)) {
        const char next = at + opening.size() < data.size() ? data[at + opening.size()] : '\0';
        if (next == ' ' || next == '\t' || next == '>') ++count;
    }
    return count;
}

}  // namespace

void LanguageDictionaryXMLSerializer::Import(std::string& data, LanguageDictionary& dictionary) {
    const std::size_t items = CountItemOpenings(data);
    LanguageDictionaryXMLImporter importer(dictionary);
    importer.Import(CustomEnums::SerializerFlag::Import, data);
    if (importer.GetItemsRead() < items)
        dictionary.Log(FormatText("LanguageDictionaryXMLSerializer: %zu of %zu items could not be read!",
                                  items - importer.GetItemsRead(), items));
}

bool LanguageDictionaryXMLSerializer::Export(const LanguageDictionary& dictionary,
                                             std::string& out) {
    // The text the serializer writes for a root node with one child node of three text chunks
    // per item, written straight: a node and three chunks per item cost far more than the
    // bytes. The fixed text between an item's three texts goes in as four pieces.
    using namespace TranslationText;
    static const std::string itemStart = std::string("\t<") + Item + ">\n\t\t<" + Key + ">";
    static const std::string afterKey = std::string("</") + Key + ">\n\t\t<" + Source + ">";
    static const std::string afterSource = std::string("</") + Source + ">\n\t\t<" + Translated + ">";
    static const std::string itemEnd = std::string("</") + Translated + ">\n\t</" + Item + ">\n";
    bool everyItem = true;
    out += '<';
    out += Root;
    out += ">\n";
    for (const auto& entry : dictionary.GetItems()) {
        const std::string& source = entry.second->GetSource();
        const std::string& translated = entry.second->GetTranslated();
        const Marks keyMarks = MarksOf(entry.first), sourceMarks = MarksOf(source),
                    translatedMarks = MarksOf(translated);
        if (keyMarks.lessThan || sourceMarks.lessThan || translatedMarks.lessThan) {
            const char* unstorable = FindUnstorable(entry.first);
            if (!unstorable) unstorable = FindUnstorable(source);
            if (!unstorable) unstorable = FindUnstorable(translated);
            if (unstorable) {
                dictionary.Log(FormatText("LanguageDictionaryXMLSerializer: The item with key \"%s\" "
                                          "holds \"%s\", which a translation text cannot store; it "
                                          "was not exported!",
                                          entry.first.c_str(), unstorable));
                everyItem = false;
                continue;
            }
        }
        out += itemStart;
        out += entry.first;
        out += afterKey;
        AppendWithLineBreakMarkers(out, source, sourceMarks.lineFeed);
        out += afterSource;
        AppendWithLineBreakMarkers(out, translated, translatedMarks.lineFeed);
        out += itemEnd;
    }
    out += "</";
    out += Root;
    out += ">\n";
    return everyItem;
}
