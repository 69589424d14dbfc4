// A translation text read, written and read again gives the same dictionary, except for
// entries the writer refused with a line in the log; nothing is dropped silently.
#include <set>
#include <vector>

#include "FuzzSupport.h"
#include "coreframework/Defines/UsefulDefines.h"
#include "coreframework/LanguageDictionary.h"

namespace {

class CountingLogger : public VirtualLogger {
public:
    void Log(const std::string& message, int) override { messages.push_back(message); }
    std::vector<std::string> messages;
};

// The refusals name their keys as printf shows them: up to the first NUL.
std::string Shown(const std::string& key) { return key.c_str(); }

std::set<std::string> RefusedKeys(const std::vector<std::string>& messages) {
    const std::string head = "LanguageDictionaryXMLSerializer: The item with key \"";
    std::set<std::string> keys;
    for (const std::string& message : messages) {
        FUZZ_CHECK(message.compare(0, head.size(), head) == 0);
        const size_t end = message.rfind("\" holds \"");
        FUZZ_CHECK(end != std::string::npos && end >= head.size());
        keys.insert(message.substr(head.size(), end - head.size()));
    }
    return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzRun run;
    if (size > 16384) return 0;  // longer keys would be cut in the report buffer
    std::string text(reinterpret_cast<const char*>(data), size);
    CountingLogger logger;
    LanguageDictionary first("$(", ")", &logger);
    LanguageDictionaryXMLSerializer::Import(text, first);

    std::string written;
    logger.messages.clear();
    const bool whole = LanguageDictionaryXMLSerializer::Export(first, written);
    const std::set<std::string> refused = RefusedKeys(logger.messages);
    FUZZ_CHECK(whole == logger.messages.empty());

    CountingLogger secondLogger;
    LanguageDictionary second("$(", ")", &secondLogger);
    std::string copy = written;
    LanguageDictionaryXMLSerializer::Import(copy, second);
    FUZZ_CHECK(secondLogger.messages.empty());
    FUZZ_CHECK(second.GetItems().size() + logger.messages.size() == first.GetItems().size());
    for (const auto& [key, item] : first.GetItems()) {
        const LanguageItem* read = second.FindItem(key);
        if (!read) {
            FUZZ_CHECK(refused.count(Shown(key)));
            continue;
        }
        FUZZ_CHECK(read->GetTranslated() == item->GetTranslated());
        // Source texts keep their line-break markers by design.
        std::string source = item->GetSource();
        ReplaceAll(source, "\n", "[BR]");
        FUZZ_CHECK(read->GetSource() == source);
    }

    // What was written once is written again unchanged.
    std::string again;
    FUZZ_CHECK(LanguageDictionaryXMLSerializer::Export(second, again));
    FUZZ_CHECK(again == written);
    return 0;
}
