#include "coreframework/LanguageDictionaryXMLSerializer.h"

#include "coreframework/Defines/UsefulDefines.h"
#include "coreframework/LanguageDictionary.h"
#include "coreframework/LanguageDictionaryXMLImporter.h"
#include "coreframework/TranslationText.h"
#include "coreframework/serializer/ImportText.h"

namespace {

// The text with its line feeds written as markers; most texts have none and are not copied.
const std::string& WithLineBreakMarkers(const std::string& text, std::string& scratch) {
    if (text.find('\n') == std::string::npos) return text;
    scratch = text;
    ReplaceAll(scratch, "\n", TranslationText::LineBreak);
    return scratch;
}

// Pieces of text the reader would take for markup: inside an entry each would end its element,
// its item or the rest of the file early, and the format has no escaping.
const char* FindUnstorable(const std::string& text) {
    static const char* const markup[] = {"<!--", "<Textitem>", "<Textitem ", "<Textitem\t",
                                         "</Textitem>", "<ID>", "</ID>", "<Original>",
                                         "</Original>", "<Translated>", "</Translated>"};
    if (text.find('<') == std::string::npos) return nullptr;
    for (const char* piece : markup)
        if (text.find(piece) != std::string::npos) return piece;
    return nullptr;
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

// One text element of an item, as the serializer writes a text chunk two levels down. Empty
// texts are written too: every item has its three elements.
void AppendElement(std::string& out, const char* name, const std::string& text) {
    out += "\t\t<";
    out += name;
    out += '>';
    out += text;
    out += "</";
    out += name;
    out += ">\n";
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
    // per item, written straight: a node and three chunks per item cost far more than the bytes.
    bool everyItem = true;
    std::string sourceScratch, translatedScratch;
    out += '<';
    out += TranslationText::Root;
    out += ">\n";
    for (const auto& entry : dictionary.GetItems()) {
        const std::string& source = WithLineBreakMarkers(entry.second->GetSource(), sourceScratch);
        const std::string& translated = WithLineBreakMarkers(entry.second->GetTranslated(), translatedScratch);
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
        out += "\t<";
        out += TranslationText::Item;
        out += ">\n";
        AppendElement(out, TranslationText::Key, entry.first);
        AppendElement(out, TranslationText::Source, source);
        AppendElement(out, TranslationText::Translated, translated);
        out += "\t</";
        out += TranslationText::Item;
        out += ">\n";
    }
    out += "</";
    out += TranslationText::Root;
    out += ">\n";
    return everyItem;
}
