// A translation text read, written and read again gives the same dictionary, except for
// entries the writer refused with a line in the log; nothing is dropped silently.
#include <map>
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

// The refusals name their keys; a key may be refused only once.
std::map<std::string, int> RefusedKeys(const std::vector<std::string>& messages) {
    const std::string head = "LanguageDictionaryXMLSerializer: The item with key \"";
    std::map<std::string, int> keys;
    for (const std::string& message : messages) {
        if (message.compare(0, head.size(), head) != 0) continue;
        const size_t end = message.find("\" holds \"", head.size());
        FUZZ_CHECK(end != std::string::npos);
        ++keys[message.substr(head.size(), end - head.size())];
    }
    return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    InScratchFolder scratch;
    CountingLogger logger;
    LanguageDictionary first("$(", ")", &logger);
    LanguageDictionaryXMLSerializer::Import(text, first);

    std::string written;
    logger.messages.clear();
    const bool whole = LanguageDictionaryXMLSerializer::Export(first, written);
    const std::map<std::string, int> refused = RefusedKeys(logger.messages);
    FUZZ_CHECK(whole == refused.empty());
    FUZZ_CHECK(logger.messages.size() == refused.size());

    CountingLogger secondLogger;
    LanguageDictionary second("$(", ")", &secondLogger);
    std::string copy = written;
    LanguageDictionaryXMLSerializer::Import(copy, second);
    FUZZ_CHECK(secondLogger.messages.empty());
    FUZZ_CHECK(second.GetItems().size() + refused.size() == first.GetItems().size());
    for (const auto& [key, item] : first.GetItems()) {
        const LanguageItem* read = second.FindItem(key);
        if (refused.count(key)) {
            FUZZ_CHECK(!read && refused.at(key) == 1);
            continue;
        }
        FUZZ_CHECK(read);
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
