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

void AddText(Serializer& item, const char* name, std::string text) {
    // Empty texts are written too: every item has its three elements.
    item.AddChunk<std::string>(name, std::move(text), std::string(), false)
        ->SetFlags(DataChunk::AlwaysWrite);
}

}  // namespace

void LanguageDictionaryXMLSerializer::Import(std::string& data, LanguageDictionary& dictionary) {
    LanguageDictionaryXMLImporter importer(dictionary);
    importer.Import(CustomEnums::SerializerFlag::Import, data);
}

void LanguageDictionaryXMLSerializer::Export(const LanguageDictionary& dictionary,
                                             std::string& out) {
    Serializer root;
    root.SetTag(TranslationText::Root);
    std::vector<std::unique_ptr<Serializer>> items;  // children are not owned by the root
    items.reserve(dictionary.GetItems().size());
    for (const auto& entry : dictionary.GetItems()) {
        auto item = std::make_unique<Serializer>();
        item->SetTag(TranslationText::Item);
        AddText(*item, TranslationText::Key, entry.first);
        AddText(*item, TranslationText::Source, WithLineBreakMarkers(entry.second->GetSource()));
        AddText(*item, TranslationText::Translated,
                WithLineBreakMarkers(entry.second->GetTranslated()));
        root.AddChild(item.get());
        items.push_back(std::move(item));
    }
    root.Export(CustomEnums::SerializerFlag::Export, out, 0);
}
