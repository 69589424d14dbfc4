#include "TranslationMerge.h"

#include <unordered_map>
#include <vector>

#include "SourceHash.h"

TranslationFile MergeWithSource(const TranslationFile& translated, const TranslationFile& source, MergeReport& report) {
    std::unordered_map<std::string_view, std::size_t> old;  // by key, the entry's place
    old.reserve(translated.entries.size());
    for (std::size_t i = 0; i < translated.entries.size(); ++i) old.emplace(translated.entries[i].key, i);
    std::vector<bool> inSource(translated.entries.size());
    TranslationFile merged{source.sourceLanguage.empty() ? translated.sourceLanguage : source.sourceLanguage,
                           translated.targetLanguage, {}};
    merged.entries.reserve(source.entries.size());
    for (const TranslationEntry& fresh : source.entries) {
        TranslationEntry entry{fresh.key, fresh.source, "", EntryState::Untranslated, SourceHash(fresh.source), ""};
        auto found = old.find(fresh.key);
        if (found == old.end()) {
            ++report.added;
        } else {
            inSource[found->second] = true;
            const TranslationEntry& before = translated.entries[found->second];
            entry.translated = before.translated;
            // The hash a file holds is of the source its translation was made for.
            const std::string madeFor = before.sourceHash.empty() ? SourceHash(before.source) : before.sourceHash;
            if (madeFor == entry.sourceHash) {
                entry.state = before.state;
                entry.previousSource = before.previousSource;
                ++report.kept;
            } else {
                ++report.changed;
                if (before.state != EntryState::Untranslated) {
                    entry.state = EntryState::Fuzzy;
                    // A translation made fuzzy before was made for the source it kept then.
                    entry.previousSource = before.state == EntryState::Fuzzy && !before.previousSource.empty()
                                               ? before.previousSource
                                               : before.source;
                }
            }
        }
        merged.entries.push_back(std::move(entry));
    }
    for (std::size_t i = 0; i < translated.entries.size(); ++i)
        if (!inSource[i]) report.removedKeys.push_back(translated.entries[i].key);
    return merged;
}
