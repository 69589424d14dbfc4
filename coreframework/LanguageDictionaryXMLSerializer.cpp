#include "coreframework/LanguageDictionaryXMLSerializer.h"

#include <memory>
#include <vector>

#include "coreframework/Defines/UsefulDefines.h"
#include "coreframework/LanguageDictionary.h"
#include "coreframework/LanguageDictionaryXMLImporter.h"
#include "coreframework/TranslationText.h"

namespace {

std::string WithLineBreakMarkers(std::string text) {
    ReplaceAll(text, "\n", TranslationText::LineBreak);
    return text;
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
    for (std::size_t at = data.find(opening); at != std::string::npos;
         at = data.find(opening, at + 1)) {
        const char next = at + opening.size() < data.size() ? data[at + opening.size()] : '\0';
        if (next == ' ' || next == '\t' || next == '>') ++count;
    }
    return count;
}

void AddText(Serializer& item, const char* name, std::string text) {
    // Empty texts are written too: every item has its three elements.
    item.AddChunk<std::string>(name, std::move(text), std::string(), false)
        ->SetFlags(DataChunk::AlwaysWrite);
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
    bool everyItem = true;
    Serializer root;
    root.SetTag(TranslationText::Root);
    std::vector<std::unique_ptr<Serializer>> items;  // children are not owned by the root
    items.reserve(dictionary.GetItems().size());
    for (const auto& entry : dictionary.GetItems()) {
        const std::string source = WithLineBreakMarkers(entry.second->GetSource());
        const std::string translated = WithLineBreakMarkers(entry.second->GetTranslated());
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
        auto item = std::make_unique<Serializer>();
        item->SetTag(TranslationText::Item);
        AddText(*item, TranslationText::Key, entry.first);
        AddText(*item, TranslationText::Source, source);
        AddText(*item, TranslationText::Translated, translated);
        root.AddChild(item.get());
        items.push_back(std::move(item));
    }
    root.Export(CustomEnums::SerializerFlag::Export, out, 0);
    return everyItem;
}
