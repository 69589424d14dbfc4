#include "TranslationMerge.h"

#include <unordered_map>
#include <unordered_set>

#include "SourceHash.h"

TranslationFile MergeWithSource(const TranslationFile& translated, const TranslationFile& source, MergeReport& report) {
    std::unordered_map<std::string_view, const TranslationEntry*> old;
    old.reserve(translated.entries.size());
    for (const TranslationEntry& entry : translated.entries) old.emplace(entry.key, &entry);
    TranslationFile merged{source.sourceLanguage.empty() ? translated.sourceLanguage : source.sourceLanguage,
                           translated.targetLanguage, {}};
    merged.entries.reserve(source.entries.size());
    std::unordered_set<std::string_view> inSource;
    inSource.reserve(source.entries.size());
    for (const TranslationEntry& fresh : source.entries) {
        inSource.insert(fresh.key);
        TranslationEntry entry{fresh.key, fresh.source, "", EntryState::Untranslated, SourceHash(fresh.source), ""};
        auto found = old.find(fresh.key);
        if (found == old.end()) {
            ++report.added;
        } else {
            const TranslationEntry& before = *found->second;
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
    for (const TranslationEntry& entry : translated.entries)
        if (!inSource.count(entry.key)) report.removedKeys.push_back(entry.key);
    return merged;
}
