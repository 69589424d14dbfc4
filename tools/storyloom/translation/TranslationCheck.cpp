#include "TranslationCheck.h"

#include <algorithm>
#include <unordered_map>

#include "QuotedText.h"
#include "SourceHash.h"

namespace TranslationCheck {
namespace {

// What of `wanted` differs in `got`; empty when nothing does.
std::string Difference(const TranslationEntry& wanted, const TranslationEntry& got) {
    if (got.source != wanted.source) return "its original text does not read back";
    if (got.translated != wanted.translated) return "its translated text does not read back";
    if (got.state != wanted.state)
        return std::string("its state reads back as ") + StateName(got.state) + ", not " + StateName(wanted.state);
    if (got.sourceHash != wanted.sourceHash) return "its source hash does not read back";
    if (got.previousSource != wanted.previousSource) return "its previous original does not read back";
    return "";
}

std::string Line(const TranslationForm& form, const TranslationEntry& entry, const std::string& what, bool ownLoss) {
    const std::string why = ownLoss ? form.whyNotHeld(entry) : "";
    return "entry " + QuotedText::ForMessage(entry.key) + " cannot come back through the " + form.name + " form: " + what +
           (why.empty() ? "" : " (" + why + ")");
}

// The entry written alone and read back; empty when it comes back whole.
std::string AloneLoss(const TranslationForm& form, const TranslationFile& file, const TranslationEntry& entry) {
    TranslationFile one{file.sourceLanguage, file.targetLanguage, {entry}};
    std::string text;
    form.write(one, text);
    TranslationFile back;
    ReadReport report;
    form.read(text, back, report);
    if (back.entries.size() != 1) return "it reads back as " + std::to_string(back.entries.size()) + " entries";
    if (back.entries[0].key != entry.key) return "its key does not read back";
    return Difference(entry, back.entries[0]);
}

}  // namespace

TranslationFile AsHeldBy(const TranslationForm& form, TranslationFile file) {
    if (form.holdsState) return file;
    for (TranslationEntry& entry : file.entries) {
        entry.state = EntryState::Translated;
        entry.sourceHash.clear();
        entry.previousSource.clear();
    }
    return file;
}

void FillSourceHashes(TranslationFile& file) {
    for (TranslationEntry& entry : file.entries)
        if (entry.sourceHash.empty()) entry.sourceHash = SourceHash(entry.source);
}

std::vector<std::string> WriteLosses(const TranslationForm& form, const TranslationFile& given, const std::string& written) {
    TranslationFile back;
    ReadReport report;
    form.read(written, back, report);
    // Forms give entries back in the order written or in key order, so the whole list most
    // often matches as it is: compared as the form holds each entry, without a copy of them.
    auto heldAlike = [&](const TranslationEntry& got, const TranslationEntry& wanted) {
        if (form.holdsState) return got == wanted;
        return got.key == wanted.key && got.source == wanted.source && got.translated == wanted.translated &&
               got.state == EntryState::Translated && got.sourceHash.empty() && got.previousSource.empty();
    };
    if (report.error.empty() && report.losses.empty() &&
        std::equal(back.entries.begin(), back.entries.end(), given.entries.begin(), given.entries.end(), heldAlike))
        return {};
    TranslationFile held;
    const TranslationFile& file = form.holdsState ? given : (held = AsHeldBy(form, given));
    std::unordered_map<std::string_view, const TranslationEntry*> byKey;
    for (const TranslationEntry& entry : back.entries) byKey.emplace(entry.key, &entry);
    std::vector<std::string> lines;
    for (const TranslationEntry& entry : file.entries) {
        auto found = byKey.find(entry.key);
        const bool whole = found != byKey.end() && Difference(entry, *found->second).empty();
        if (found != byKey.end()) byKey.erase(found);
        if (whole) continue;
        // Written alone, an entry tells whether it is the one the form cannot hold, or one
        // spoiled by another.
        const std::string why = AloneLoss(form, file, entry);
        lines.push_back(Line(form, entry, why.empty() ? "it does not read back beside the entries before it" : why,
                             !why.empty()));
    }
    for (const auto& [key, entry] : byKey)
        lines.push_back("the written " + std::string(form.name) + " text reads back an entry " +
                        QuotedText::ForMessage(entry->key) + " it was not given");
    return lines;
}

bool UnfinishedFromName(const std::string& name, Unfinished& unfinished) {
    static const std::pair<const char*, Unfinished> names[] = {
        {"source", Unfinished::Source}, {"keep", Unfinished::Keep}, {"refuse", Unfinished::Refuse}};
    for (const auto& [word, value] : names) {
        if (name == word) {
            unfinished = value;
            return true;
        }
    }
    return false;
}

std::string ResolveUnfinished(TranslationFile& file, Unfinished unfinished, std::vector<std::string>& refused) {
    std::size_t counts[3] = {};  // untranslated, fuzzy, translated for another original
    for (TranslationEntry& entry : file.entries) {
        if (!entry.IsUnfinished()) continue;
        const int kind = entry.state == EntryState::Untranslated ? 0 : entry.state == EntryState::Fuzzy ? 1 : 2;
        ++counts[kind];
        static const char* const words[] = {"untranslated", "fuzzy", "translated for another original"};
        if (unfinished == Unfinished::Refuse)
            refused.push_back("entry " + QuotedText::ForMessage(entry.key) + " is " + words[kind]);
        else if (unfinished == Unfinished::Source) entry.translated = entry.source;
    }
    const std::size_t total = counts[0] + counts[1] + counts[2];
    if (unfinished != Unfinished::Source || total == 0) return "";
    return std::to_string(total) + (total == 1 ? " entry" : " entries") + " (" + std::to_string(counts[0]) +
           " untranslated, " + std::to_string(counts[1]) + " fuzzy, " + std::to_string(counts[2]) +
           " translated for another original) take their original text (--unfinished keep or refuse choose otherwise)";
}

}  // namespace TranslationCheck
