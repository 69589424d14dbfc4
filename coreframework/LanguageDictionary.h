#pragma once
#include <cstddef>
#include <map>
#include <memory>
#include <string>

#include "storyloom/coreframework/LanguageDictionaryXMLSerializer.h"
#include "storyloom/coreframework/LanguageItem.h"
#include "storyloom/coreframework/Logging.h"

// Texts under keys. A placeholder (key prefix + key + key suffix) inside any text can be
// replaced by the key's translated text.
class LanguageDictionary {
public:
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
    const std::map<std::string, std::unique_ptr<LanguageItem>>& GetItems() const { return _items; }

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
    using Items = std::map<std::string, std::unique_ptr<LanguageItem>>;

    Items _items;
    std::string _keyPrefix;
    std::string _keySuffix;
    VirtualLogger* _logger;
    Items::iterator _lastAdded = _items.end();  // where the next key most likely goes after
};
