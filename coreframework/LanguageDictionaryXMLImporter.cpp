#include "coreframework/LanguageDictionaryXMLImporter.h"

#include "coreframework/Defines/UsefulDefines.h"
#include "coreframework/LanguageDictionary.h"
#include "coreframework/TranslationText.h"
#include "coreframework/serializer/ImportText.h"

LanguageDictionaryXMLImporter::LanguageDictionaryXMLImporter(LanguageDictionary& dictionary)
    : _dictionary(&dictionary) {
    SetTag(TranslationText::Root);
}

int LanguageDictionaryXMLImporter::OnImportUnknownData(const std::string& tag,
                                                       const std::string& text) {
    if (tag != TranslationText::Item) return 0;
    // A missing element reads as the empty text.
    const std::string_view item = WithoutCommentsView(text, _scratch);
    std::string_view key, source, translated;
    FindElementText(item, TranslationText::Key, key);
    FindElementText(item, TranslationText::Source, source);
    FindElementText(item, TranslationText::Translated, translated);
    // Only the translated text is decoded; the source keeps its markers.
    std::string decoded(translated);
    ReplaceAll(decoded, TranslationText::LineBreak, "\n");
    _dictionary->AddItem(std::string(key), std::move(decoded), std::string(source));
    ++_itemsRead;
    return 0;
}
