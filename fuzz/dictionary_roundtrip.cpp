// A translation text read, written and read again gives the same dictionary when no entry
// holds what the format cannot carry ('<' anywhere, "[BR]" in a translation); then what was
// written once is written again unchanged. Other texts may not come back: the format has no
// escaping, and the program is where the user hears of it.
#include "FuzzSupport.h"
#include "storyloom/coreframework/Defines/UsefulDefines.h"
#include "storyloom/coreframework/LanguageDictionary.h"

namespace {

bool Storable(const std::string& key, const LanguageItem& item) {
    const auto holds = [](const std::string& text, const char* piece) { return text.find(piece) != std::string::npos; };
    return !holds(key, "<") && !holds(item.GetSource(), "<") && !holds(item.GetTranslated(), "<") &&
           !holds(item.GetTranslated(), "[BR]");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzRun run;
    std::string text(reinterpret_cast<const char*>(data), size);
    LanguageDictionary first("$(", ")");
    LanguageDictionaryXMLSerializer::Import(text, first);
    std::string written;
    LanguageDictionaryXMLSerializer::Export(first, written);

    LanguageDictionary second("$(", ")");
    std::string copy = written;
    LanguageDictionaryXMLSerializer::Import(copy, second);
    for (const auto& [key, item] : first.GetItems())
        if (!Storable(key, *item)) return 0;
    FUZZ_CHECK(second.GetItems().size() == first.GetItems().size());
    for (const auto& [key, item] : first.GetItems()) {
        const LanguageItem* read = second.FindItem(key);
        FUZZ_CHECK(read && read->GetTranslated() == item->GetTranslated());
        // Source texts keep their line-break markers by design.
        std::string source = item->GetSource();
        ReplaceAll(source, "\n", "[BR]");
        FUZZ_CHECK(read->GetSource() == source);
    }
    std::string again;
    LanguageDictionaryXMLSerializer::Export(second, again);
    FUZZ_CHECK(again == written);
    return 0;
}
