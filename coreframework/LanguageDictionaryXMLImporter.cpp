#include "storyloom/coreframework/LanguageDictionaryXMLImporter.h"

#include "storyloom/coreframework/Defines/UsefulDefines.h"
#include "storyloom/coreframework/LanguageDictionary.h"
#include "storyloom/coreframework/TranslationText.h"
#include "storyloom/coreframework/serializer/ImportText.h"

namespace {

// Whether `start` + `name` + ">" begins at `at`. Compared here: the names are short.
bool IsTagAt(std::string_view text, std::size_t at, std::string_view start, std::string_view name) {
    const std::size_t closingBracket = at + start.size() + name.size();
    if (closingBracket >= text.size() || text[closingBracket] != '>') return false;
    const char* c = text.data() + at;
    for (char wanted : start)
        if (*c++ != wanted) return false;
    for (char wanted : name)
        if (*c++ != wanted) return false;
    return true;
}

// The contents of the first "ID", "Original" and "Translated" elements of an item, each as
// Serializer::FindElementText finds it (its first opening tag, then the first closing tag
// after that), in one walk over the item's tags instead of one search per element.
void FindItemTexts(std::string_view item, std::string_view (&texts)[3]) {
    static constexpr std::string_view names[3] = {TranslationText::Key, TranslationText::Source,
                                                  TranslationText::Translated};
    enum State { Unopened, Open, Closed };
    State states[3] = {Unopened, Unopened, Unopened};
    std::size_t contentStart[3] = {};
    int open = 3;  // elements not closed yet
    for (std::size_t at = FindChar(item, '<', 0); at != std::string_view::npos && open > 0;
         at = FindChar(item, '<', at + 1)) {
        for (int i = 0; i < 3; ++i) {
            if (states[i] == Unopened && IsTagAt(item, at, "<", names[i])) {
                states[i] = Open;
                contentStart[i] = at + names[i].size() + 2;
                break;
            }
            if (states[i] == Open && IsTagAt(item, at, "</", names[i])) {
                states[i] = Closed;
                texts[i] = item.substr(contentStart[i], at - contentStart[i]);
                --open;
                break;
            }
        }
    }
}

}  // namespace

LanguageDictionaryXMLImporter::LanguageDictionaryXMLImporter(LanguageDictionary& dictionary)
    : _dictionary(&dictionary) {
    SetTag(TranslationText::Root);
}

int LanguageDictionaryXMLImporter::OnImportUnknownData(const std::string& tag,
                                                       const std::string& text) {
    if (tag != TranslationText::Item) return 0;
    const std::string_view item = WithoutCommentsView(text, _scratch);
    std::string_view texts[3];  // a missing element reads as the empty text
    FindItemTexts(item, texts);
    const std::string_view key = texts[0], source = texts[1], translated = texts[2];
    // Only the translated text is decoded; the source keeps its markers.
    std::string decoded(translated);
    if (FindChar(translated, '[', 0) != std::string_view::npos)
        ReplaceAll(decoded, TranslationText::LineBreak, "\n");
    _dictionary->AddItem(std::string(key), std::move(decoded), std::string(source));
    return 0;
}
