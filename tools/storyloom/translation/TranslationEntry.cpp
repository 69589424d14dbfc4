#include "TranslationEntry.h"

#include "QuotedText.h"
#include "SourceHash.h"

namespace {
const char* const kStateNames[] = {"untranslated", "fuzzy", "translated", "reviewed", "final"};
}

const char* StateName(EntryState state) { return kStateNames[static_cast<int>(state)]; }

bool StateFromName(const std::string& name, EntryState& state) {
    for (int i = 0; i < 5; ++i) {
        if (name == kStateNames[i]) {
            state = static_cast<EntryState>(i);
            return true;
        }
    }
    return false;
}

bool TranslationEntry::IsUnfinished() const {
    return state == EntryState::Untranslated || state == EntryState::Fuzzy ||
           (!sourceHash.empty() && sourceHash != SourceHash(source));
}

bool ReadKeys::Take(const std::string& key, std::size_t line, ReadReport& report) {
    const auto [first, isNew] = _lines.emplace(key, line);
    if (!isNew)
        report.losses.push_back("line " + std::to_string(line) + ": the key " + QuotedText::ForMessage(key) +
                                " again (first on line " + std::to_string(first->second) + "): not read");
    return isNew;
}
