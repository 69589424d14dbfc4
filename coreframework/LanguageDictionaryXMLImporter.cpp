#include "coreframework/LanguageDictionaryXMLImporter.h"

#include "coreframework/Defines/UsefulDefines.h"
#include "coreframework/LanguageDictionary.h"
#include "coreframework/TranslationText.h"

LanguageDictionaryXMLImporter::LanguageDictionaryXMLImporter(LanguageDictionary& dictionary)
    : _dictionary(&dictionary) {
    SetTag(TranslationText::Root);
}

int LanguageDictionaryXMLImporter::OnImportUnknownData(const std::string& tag,
                                                       const std::string& text) {
    if (tag != TranslationText::Item) return 0;
    // A missing element reads as the empty text.
    std::string key, source, translated;
    GetElementText(key, text, TranslationText::Key);
    GetElementText(source, text, TranslationText::Source);
    GetElementText(translated, text, TranslationText::Translated);
    // Only the translated text is decoded; the source keeps its markers.
    ReplaceAll(translated, TranslationText::LineBreak, "\n");
    _dictionary->AddItem(std::move(key), std::move(translated), std::move(source));
    ++_itemsRead;
    return 0;
}
