#include "storyloom/coreframework/LanguageDictionary.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string_view>
#include <vector>

#include "storyloom/coreframework/Defines/UsefulDefines.h"
#include "storyloom/coreframework/TranslationText.h"

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
    const KeyOrder less;
    const bool afterLast = _lastAdded != _items.end() && less(_lastAdded->first, key) &&
                           (std::next(_lastAdded) == _items.end() || less(key, std::next(_lastAdded)->first));
    if (afterLast) {
        place = std::next(_lastAdded);
    } else if (!_items.empty() && !less(_items.rbegin()->first, key)) {
        place = _items.lower_bound(key);
        if (place != _items.end() && place->first == key) {
            Log(FormatText("LanguageDictionary: An item with key \"%s\" already exsists!", key.c_str()));
            return;
        }
    }
    ItemPointer item(new (_pages.Allocate(sizeof(LanguageItem), alignof(LanguageItem)))
                         LanguageItem(std::move(translated), std::move(source)));
    _lastAdded = _items.emplace_hint(place, std::move(key), std::move(item));
}

void LanguageDictionary::Clear() {
    _items.clear();
    _pages.Release();
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
// outermost text) and how many texts for missing keys that chain holds. Links are kept while a
// chain is open, so it stays whole after the expansions around it have been passed.
struct KeyLink {
    std::string key;
    std::size_t parent;
    std::size_t missingDepth;
};

// A translation put into the text: its characters are those still to scan that lie more than
// `after` characters before the end, until the scan passes them. `link` is its own key's link.
struct Expansion {
    std::size_t after;
    std::size_t link;
};

// Whether a placeholder could start inside `text`: it holds the prefix, or ends with the start
// of one that the text behind it could complete. Other translations are passed unscanned.
bool MayStartPlaceholder(const std::string& text, const std::string& prefix) {
    if (prefix.empty() || text.find(prefix) != std::string::npos) return true;
    for (std::size_t part = std::min(prefix.size() - 1, text.size()); part > 0; --part)
        if (text.compare(text.size() - part, part, prefix, 0, part) == 0) return true;
    return false;
}

// A translation as Translate uses it: the text and whether it must be scanned again.
struct Found {
    const std::string* translation;
    bool scanned;
};

// The entries a long text names, by a hash of their key, so that each key is searched in the
// ordered map once per Translate. Missing keys are not kept: each one is reported again.
class KeyCache {
public:
    // Texts naming fewer keys than this search the map directly, without building the cache.
    static constexpr std::size_t DirectLookups = 16;

    const Found* Find(const std::string& key, std::size_t hash) const {
        if (_slots.empty()) return nullptr;
        for (std::size_t at = hash & (_slots.size() - 1);; at = (at + 1) & (_slots.size() - 1)) {
            const Slot& slot = _slots[at];
            if (!slot.key) return nullptr;
            if (slot.hash == hash && *slot.key == key) return &slot.found;
        }
    }

    void Add(const std::string& key, std::size_t hash, Found found) {
        if (2 * (_count + 1) > _slots.size()) Grow();
        Place({&key, hash, found});
        ++_count;
    }

    static std::size_t Hash(std::string_view key) {
        std::uint64_t hash = 14695981039346656037u;  // FNV-1a
        for (const unsigned char c : key) hash = (hash ^ c) * 1099511628211u;
        return static_cast<std::size_t>(hash ^ (hash >> 32));
    }

private:
    struct Slot {
        const std::string* key;  // the map's own key; null for a free slot
        std::size_t hash;
        Found found;
    };

    void Place(const Slot& slot) {
        std::size_t at = slot.hash & (_slots.size() - 1);
        while (_slots[at].key) at = (at + 1) & (_slots.size() - 1);
        _slots[at] = slot;
    }

    void Grow() {
        std::vector<Slot> old(_slots.empty() ? 64 : 2 * _slots.size(), Slot{nullptr, 0, {nullptr, false}});
        old.swap(_slots);
        for (const Slot& slot : old)
            if (slot.key) Place(slot);
    }

    std::vector<Slot> _slots;
    std::size_t _count = 0;
};

}  // namespace

// The text is scanned front to back. A translation that cannot start a placeholder goes
// straight to the output; any other is written in front of the text still to scan, into the
// room the scanned text has left there (the room is widened, with what is left, when it is
// too small). So every character is moved once into the output, plus once into that room when
// its translation is scanned again, and each placeholder costs its own length and a lookup.
//
// Why it ends: a key is never expanded inside its own expansion, so a chain of expansions holds
// each key of the dictionary at most once; the text for a missing key names the key and so can
// make ever longer new keys, and such texts nest at most MaxMissingKeyDepth deep, the deepest
// going in unscanned. So every step either passes text or replaces a placeholder by finitely
// many deeper ones.
void LanguageDictionary::Translate(std::string& text) const {
    // With both markers empty every placeholder would be empty and replace nothing.
    if (_keyPrefix.empty() && _keySuffix.empty()) return;
    // Most texts hold no placeholder: they are left as they are without a copy.
    if (!_keyPrefix.empty() && text.find(_keyPrefix) == std::string::npos) return;
    std::string rest = std::move(text);
    std::size_t at = 0;  // where the text still to scan starts in `rest`
    std::string out;
    out.reserve(rest.size());
    std::vector<Expansion> open;  // the expansions around the scan position, outermost first
    std::vector<KeyLink> links;
    KeyCache cache;
    std::size_t lookups = 0;

    auto remaining = [&] { return rest.size() - at; };
    auto dropPassedExpansions = [&] {
        while (!open.empty() && open.back().after >= remaining()) open.pop_back();
    };
    auto pass = [&](std::size_t count) {
        out.append(rest, at, count);
        at += count;
        dropPassedExpansions();
    };
    auto putInFront = [&](const std::string& translation) {
        if (translation.size() > at) {
            const std::size_t room = translation.size() + remaining();
            std::string wider(room, '\0');
            wider.append(rest, at, std::string::npos);
            rest.swap(wider);
            at = room;
        }
        at -= translation.size();
        translation.copy(&rest[at], translation.size());
    };
    std::string missing;
    auto lookUp = [&](const std::string& key) -> Found {
        const bool cached = ++lookups > KeyCache::DirectLookups;
        const std::size_t hash = cached ? KeyCache::Hash(key) : 0;
        if (cached)
            if (const Found* found = cache.Find(key, hash)) return *found;
        auto entry = _items.find(key);
        if (entry == _items.end()) {
            missing = GetTranslation(key);
            return {&missing, MayStartPlaceholder(missing, _keyPrefix)};
        }
        const std::string& translation = entry->second->GetTranslated();
        const Found found{&translation, MayStartPlaceholder(translation, _keyPrefix)};
        if (cached) cache.Add(entry->first, hash, found);
        return found;
    };

    for (;;) {
        const std::size_t prefixAt = rest.find(_keyPrefix, at);
        if (prefixAt == std::string::npos) break;
        const std::size_t keyAt = prefixAt + _keyPrefix.size();
        const std::size_t suffixAt = rest.find(_keySuffix, keyAt);
        if (suffixAt == std::string::npos) break;
        const std::size_t length = suffixAt + _keySuffix.size() - prefixAt;
        std::string key(rest, keyAt, suffixAt - keyAt);

        pass(prefixAt - at);
        const std::size_t around = open.empty() ? kNoLink : open.back().link;
        if (around == kNoLink) links.clear();  // no chain is open: memory stays that of one
        bool expanding = false;
        for (std::size_t link = around; link != kNoLink && !expanding; link = links[link].parent)
            expanding = links[link].key == key;
        if (expanding) {
            pass(length);
            continue;
        }
        const Found found = lookUp(key);
        const std::string& translation = *found.translation;
        const bool isMissing = found.translation == &missing;
        const std::size_t missingDepth = (around == kNoLink ? 0 : links[around].missingDepth) + isMissing;
        at += length;
        dropPassedExpansions();
        if (!found.scanned || missingDepth > MaxMissingKeyDepth) {
            out += translation;
            continue;
        }
        links.push_back({std::move(key), around, missingDepth});
        open.push_back({remaining(), links.size() - 1});
        putInFront(translation);
    }
    pass(remaining());
    text = std::move(out);
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
