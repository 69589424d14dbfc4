#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "storyloom/coreframework/EntryPages.h"
#include "storyloom/coreframework/LanguageDictionaryXMLSerializer.h"
#include "storyloom/coreframework/LanguageItem.h"
#include "storyloom/coreframework/Logging.h"

// Texts under keys. A placeholder (key prefix + key + key suffix) inside any text can be
// replaced by the key's translated text.
class LanguageDictionary {
public:
    // An entry's map node and item sit in pages the dictionary owns, so a large dictionary
    // costs its texts' allocations and a few pages, not two more blocks per entry. An item is
    // destroyed with its entry; its memory goes back with the pages on Clear and at the end.
    struct ItemDestroyer {
        void operator()(LanguageItem* item) const { item->~LanguageItem(); }
    };
    using ItemPointer = std::unique_ptr<LanguageItem, ItemDestroyer>;
    // Byte order, as std::string compares, but inline and eight bytes at a time: keys are
    // short, and a call to memcmp for each step of the map's searches costs more than the
    // comparing.
    struct KeyOrder {
        bool operator()(const std::string& a, const std::string& b) const noexcept {
            const std::size_t common = a.size() < b.size() ? a.size() : b.size();
            const char* const x = a.data();
            const char* const y = b.data();
            if (common >= 8) {
                // The last word overlaps the one before it, whose bytes were equal.
                for (std::size_t at = 0;; at += 8) {
                    if (at + 8 > common) at = common - 8;
                    const std::uint64_t u = Word(x + at), v = Word(y + at);
                    if (u != v) return u < v;
                    if (at + 8 == common) break;
                }
            } else {
                for (std::size_t at = 0; at < common; ++at)
                    if (x[at] != y[at]) return static_cast<unsigned char>(x[at]) < static_cast<unsigned char>(y[at]);
            }
            return a.size() < b.size();
        }

        // Eight bytes as a number whose first byte is the highest.
        static std::uint64_t Word(const char* at) noexcept {
            std::uint64_t word;
            std::memcpy(&word, at, 8);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
            word = __builtin_bswap64(word);
#endif
            return word;
        }
    };
    using Items = std::map<std::string, ItemPointer, KeyOrder,
                           EntryAllocator<std::pair<const std::string, ItemPointer>>>;

    // The text for a missing key names the key, so scanning it again can make ever longer new
    // keys: such texts nest at most this deep in one expansion, the deepest unscanned.
    static constexpr std::size_t MaxMissingKeyDepth = 16;

    // Without a logger the dictionary reports to the discarding default logger.
    LanguageDictionary(const std::string& keyPrefix, const std::string& keySuffix,
                       VirtualLogger* logger = nullptr);
    LanguageDictionary(const LanguageDictionary&) = delete;
    LanguageDictionary& operator=(const LanguageDictionary&) = delete;
    virtual ~LanguageDictionary() = default;

    // An existing key keeps its entry; the attempt is logged.
    void AddItem(std::string key, std::string translated, std::string source);
    void Clear();
    LanguageItem* FindItem(const std::string& key) const;
    // A missing key is logged and answered with a text saying so.
    std::string GetTranslation(const std::string& key) const;
    // Replaces every placeholder in place, translations included. A placeholder without its
    // suffix ends the work there; a key met inside its own expansion is left as written, and
    // missing-key texts are rescanned at most MaxMissingKeyDepth deep. Nothing else bounds the
    // work: entries naming each other several times can multiply the text.
    void Translate(std::string& text) const;

    const std::string& GetKeyPrefix() const { return _keyPrefix; }
    const std::string& GetKeySuffix() const { return _keySuffix; }
    const Items& GetItems() const { return _items; }

    std::string MakePlaceholder(const std::string& key) const;
    // The text without as many leading and trailing characters as the markers have, when it
    // holds both markers; else the empty text.
    std::string ExtractKey(const std::string& text) const;
    // The first key, in key order, translated into exactly this text; else the empty text.
    std::string FindKeyOf(const std::string& translated) const;
    void CopyItemsTo(LanguageDictionary& other) const;

    // One line per entry: key=translated#Original=source, line feeds written as "[BR]".
    void ExportPlainText(std::string& out) const;
    // Reads such lines up to the first incomplete one; source texts keep their "[BR]".
    void ImportPlainText(const std::string& text);

    // Reports to the dictionary's logger at level 0, as every message of the dictionary goes.
    void Log(const std::string& message) const { _logger->Log(message, 0); }

private:
    EntryPages _pages;  // outlives _items
    Items _items{Items::allocator_type(_pages)};
    std::string _keyPrefix;
    std::string _keySuffix;
    VirtualLogger* _logger;
    Items::iterator _lastAdded = _items.end();  // where the next key most likely goes after
};
