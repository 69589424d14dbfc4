#include "TranslationEntry.h"

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
