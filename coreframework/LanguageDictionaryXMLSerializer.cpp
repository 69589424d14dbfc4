#include "storyloom/coreframework/LanguageDictionaryXMLSerializer.h"

#include <cstdint>
#include <cstring>

#include "storyloom/coreframework/LanguageDictionary.h"
#include "storyloom/coreframework/LanguageDictionaryXMLImporter.h"
#include "storyloom/coreframework/TranslationText.h"

namespace {

// Whether the text holds a line feed, looked for a word at a time: most texts hold none, and
// texts are short, so one pass without calls beats a search.
bool HasLineFeed(const std::string& text) {
    constexpr std::uint64_t ones = 0x0101010101010101u, highs = 0x8080808080808080u;
    auto anyZeroByte = [&](std::uint64_t word) { return (word - ones) & ~word & highs; };
    const char* at = text.data();
    std::size_t left = text.size();
    std::uint64_t lineFeed = 0;
    for (; left >= 8; at += 8, left -= 8) {
        std::uint64_t word;
        std::memcpy(&word, at, 8);
        lineFeed |= anyZeroByte(word ^ (ones * '\n'));
    }
    for (; left > 0; ++at, --left) lineFeed |= *at == '\n';
    return lineFeed != 0;
}

// The text with each line feed written as the marker.
void AppendWithLineBreakMarkers(std::string& out, const std::string& text) {
    if (!HasLineFeed(text)) {
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

}  // namespace

void LanguageDictionaryXMLSerializer::Import(std::string& data, LanguageDictionary& dictionary) {
    LanguageDictionaryXMLImporter importer(dictionary);
    importer.Import(CustomEnums::SerializerFlag::Import, data);
}

void LanguageDictionaryXMLSerializer::Export(const LanguageDictionary& dictionary,
                                             std::string& out) {
    // The text the serializer writes for a root node with one child node of three text chunks
    // per item, written straight: a node and three chunks per item cost far more than the
    // bytes. The fixed text between an item's three texts goes in as four pieces.
    using namespace TranslationText;
    static const std::string itemStart = std::string("\t<") + Item + ">\n\t\t<" + Key + ">";
    static const std::string afterKey = std::string("</") + Key + ">\n\t\t<" + Source + ">";
    static const std::string afterSource = std::string("</") + Source + ">\n\t\t<" + Translated + ">";
    static const std::string itemEnd = std::string("</") + Translated + ">\n\t</" + Item + ">\n";
    out += '<';
    out += Root;
    out += ">\n";
    // Every character goes out as it stands, the key's too: the format has no escaping.
    for (const auto& entry : dictionary.GetItems()) {
        out += itemStart;
        out += entry.first;
        out += afterKey;
        AppendWithLineBreakMarkers(out, entry.second->GetSource());
        out += afterSource;
        AppendWithLineBreakMarkers(out, entry.second->GetTranslated());
        out += itemEnd;
    }
    out += "</";
    out += Root;
    out += ">\n";
}
