#include "coreframework/LanguageDictionary.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

#include "coreframework/Defines/UsefulDefines.h"
#include "coreframework/TranslationText.h"

LanguageDictionary::LanguageDictionary(const std::string& keyPrefix, const std::string& keySuffix,
                                       VirtualLogger* logger)
    : _keyPrefix(keyPrefix),
      _keySuffix(keySuffix),
      _logger(logger ? logger : &DefaultLogger::Instance()) {}

void LanguageDictionary::AddItem(std::string key, std::string translated, std::string source) {
    // Keys mostly arrive in order: each then goes in right after the one added before it,
    // checked with two comparisons instead of a search from the root. Export writes them
    // sorted; in a text numbered by hand (key1, key2, ...) nine keys in ten sort right after
    // the key before them.
    auto place = _items.end();
    const bool afterLast = _lastAdded != _items.end() && _lastAdded->first < key &&
                           (std::next(_lastAdded) == _items.end() || key < std::next(_lastAdded)->first);
    if (afterLast) {
        place = std::next(_lastAdded);
    } else if (!_items.empty() && !(_items.rbegin()->first < key)) {
        place = _items.lower_bound(key);
        if (place != _items.end() && place->first == key) {
            Log(FormatText("LanguageDictionary: An item with key \"%s\" already exsists!", key.c_str()));
            return;
        }
    }
    _lastAdded = _items.emplace_hint(place, std::move(key),
                                     std::make_unique<LanguageItem>(std::move(translated), std::move(source)));
}

void LanguageDictionary::Clear() {
    _items.clear();
    _lastAdded = _items.end();
}

LanguageItem* LanguageDictionary::FindItem(const std::string& key) const {
    auto entry = _items.find(key);
    return entry == _items.end() ? nullptr : entry->second.get();
}

std::string LanguageDictionary::GetTranslation(const std::string& key) const {
    if (const LanguageItem* item = FindItem(key)) return item->GetTranslated();
    const std::string message =
        FormatText("LanguageDictionary: Item with key \"%s\" was not found!", key.c_str());
    _logger->Log(message, 0);
    return FormatText("LanguageKey \"%s\" was not found!", key.c_str());
}

namespace {

constexpr std::size_t kNoLink = std::size_t(-1);

// A key expanded during one Translate, with the key it was expanded inside (kNoLink for the
// outermost text) and how many keys that chain holds. Links are kept for the whole Translate,
// so a chain stays whole after the expansions around it have been passed.
struct KeyLink {
    std::string key;
    std::size_t parent;
    std::size_t depth;
};

// A translation put into the text: its characters are those of the reversed rest that lie
// at or above `boundary`, until the scan passes them. `link` is its own key's link.
struct Expansion {
    std::size_t boundary;
    std::size_t link;
};

// The last occurrence of `needle` in `text` that starts at or before `last`.
std::size_t FindLast(const std::string& text, const std::string& needle, std::size_t last) {
    if (needle.size() > text.size()) return std::string::npos;
    std::size_t end = std::min(last, text.size() - needle.size()) + 1;  // candidate starts
    if (needle.empty()) return end - 1;
    while (end > 0) {
        const void* hit = memrchr(text.data(), needle[0], end);
        if (!hit) break;
        const std::size_t at = static_cast<const char*>(hit) - text.data();
        if (text.compare(at, needle.size(), needle) == 0) return at;
        end = at;
    }
    return std::string::npos;
}

// Appends `count` characters taken from the back of `from`, last one first.
void AppendReversed(std::string& to, const std::string& from, std::size_t count) {
    const std::size_t at = to.size();
    to.resize(at + count);
    std::reverse_copy(from.end() - count, from.end(), to.begin() + at);
}

}  // namespace

// The text still to scan is kept reversed, so that putting a translation in front of it and
// taking scanned text off its front are both appends and truncations at the back: each
// placeholder costs the length of what it skips, its key and its translation, never a pass
// over the whole text.
//
// Why it ends: an expansion lies one level deeper than the place its prefix starts, and
// levels stop at MaxTranslationDepth; a placeholder that cannot be expanded is passed over.
// So every step either passes text or replaces a character by finitely many deeper ones.
void LanguageDictionary::Translate(std::string& text) const {
    // With both markers empty every placeholder would be empty and replace nothing.
    if (_keyPrefix.empty() && _keySuffix.empty()) return;
    // Most texts hold no placeholder: they are left as they are without a copy.
    if (!_keyPrefix.empty() && text.find(_keyPrefix) == std::string::npos) return;
    const std::string prefix(_keyPrefix.rbegin(), _keyPrefix.rend());
    const std::string suffix(_keySuffix.rbegin(), _keySuffix.rend());
    std::string rest = std::move(text);
    std::reverse(rest.begin(), rest.end());
    std::string out;
    out.reserve(rest.size());
    std::vector<Expansion> open;  // the expansions around the scan position, outermost first
    std::vector<KeyLink> links;
    std::size_t replacements = 0;

    auto dropPassedExpansions = [&] {
        while (!open.empty() && open.back().boundary >= rest.size()) open.pop_back();
    };
    auto pass = [&](std::size_t count) {
        AppendReversed(out, rest, count);
        rest.resize(rest.size() - count);
        dropPassedExpansions();
    };

    for (;;) {
        const std::size_t size = rest.size();
        const std::size_t prefixAt = FindLast(rest, prefix, std::string::npos);
        if (prefixAt == std::string::npos) break;
        const std::size_t start = size - prefix.size() - prefixAt;  // in reading order
        const std::size_t keyStart = start + prefix.size();
        if (size - keyStart < suffix.size()) break;
        const std::size_t suffixAt = FindLast(rest, suffix, size - keyStart - suffix.size());
        if (suffixAt == std::string::npos) break;
        const std::size_t keyEnd = size - suffix.size() - suffixAt;
        const std::size_t length = keyEnd + suffix.size() - start;
        std::string key(rest.rbegin() + keyStart, rest.rbegin() + keyEnd);

        pass(start);
        const std::size_t around = open.empty() ? kNoLink : open.back().link;
        if (around == kNoLink) links.clear();  // no chain is open: memory stays that of one
        const std::size_t depth = around == kNoLink ? 0 : links[around].depth;
        bool expanding = false;
        for (std::size_t at = around; at != kNoLink && !expanding; at = links[at].parent)
            expanding = links[at].key == key;
        if (depth >= MaxTranslationDepth || expanding) {
            pass(length);
            continue;
        }
        const LanguageItem* item = FindItem(key);
        std::string missing;
        const std::string& translation = item ? item->GetTranslated() : (missing = GetTranslation(key));
        if (replacements == _maxReplacements ||
            out.size() + rest.size() - length + translation.size() > _maxTranslatedSize) {
            Log(FormatText("LanguageDictionary: Translate stopped after %zu replacements at %zu "
                           "characters; the rest of the text is left as written!",
                           replacements, out.size() + rest.size()));
            break;
        }
        ++replacements;
        rest.resize(rest.size() - length);
        dropPassedExpansions();
        links.push_back({std::move(key), around, depth + 1});
        open.push_back({rest.size(), links.size() - 1});
        AppendReversed(rest, translation, translation.size());
    }
    pass(rest.size());
    text = std::move(out);
}

void LanguageDictionary::SetTranslateLimits(std::size_t maxReplacements,
                                            std::size_t maxTranslatedSize) {
    _maxReplacements = maxReplacements;
    _maxTranslatedSize = maxTranslatedSize;
}

std::string LanguageDictionary::MakePlaceholder(const std::string& key) const {
    return _keyPrefix + key + _keySuffix;
}

std::string LanguageDictionary::ExtractKey(const std::string& text) const {
    const std::size_t markers = _keyPrefix.size() + _keySuffix.size();
    if (text.find(_keyPrefix) == std::string::npos || text.rfind(_keySuffix) == std::string::npos ||
        text.size() < markers)
        return std::string();
    return text.substr(_keyPrefix.size(), text.size() - markers);
}

std::string LanguageDictionary::FindKeyOf(const std::string& translated) const {
    for (const auto& entry : _items)
        if (entry.second->GetTranslated() == translated) return entry.first;
    return std::string();
}

void LanguageDictionary::CopyItemsTo(LanguageDictionary& other) const {
    for (const auto& entry : _items)
        other.AddItem(entry.first, entry.second->GetTranslated(), entry.second->GetSource());
}

void LanguageDictionary::ExportPlainText(std::string& out) const {
    for (const auto& entry : _items) {
        std::string translated = entry.second->GetTranslated();
        std::string source = entry.second->GetSource();
        ReplaceAll(translated, "\n", TranslationText::LineBreak);
        ReplaceAll(source, "\n", TranslationText::LineBreak);
        out += entry.first + "=" + translated + TranslationText::SourceMarker + source + "\n";
    }
}

void LanguageDictionary::ImportPlainText(const std::string& text) {
    const std::string marker = TranslationText::SourceMarker;
    for (std::size_t from = 0;;) {
        const std::size_t equals = text.find('=', from);
        if (equals == std::string::npos) return;
        const std::size_t sourceMarker = text.find(marker, equals + 1);
        if (sourceMarker == std::string::npos) return;
        const std::size_t sourceStart = sourceMarker + marker.size();
        const std::size_t lineEnd = text.find('\n', sourceStart);
        if (lineEnd == std::string::npos) return;
        std::string translated = text.substr(equals + 1, sourceMarker - equals - 1);
        ReplaceAll(translated, TranslationText::LineBreak, "\n");
        AddItem(text.substr(from, equals - from), std::move(translated),
                text.substr(sourceStart, lineEnd - sourceStart));
        from = lineEnd + 1;
    }
}
