#pragma once
#include <cstddef>
#include <string>

#include "coreframework/serializer/Serializer.h"

class LanguageDictionary;

// Reads the "Language" node of a translation text and adds each "Textitem" to a dictionary.
class LanguageDictionaryXMLImporter : public Serializer {
public:
    explicit LanguageDictionaryXMLImporter(LanguageDictionary& dictionary);

    // Every nested element is consumed; only "Textitem" adds an entry.
    int OnImportUnknownData(const std::string& tag, const std::string& text) override;

    // Items handed to the dictionary so far, refused duplicates included.
    std::size_t GetItemsRead() const { return _itemsRead; }

private:
    LanguageDictionary* _dictionary;
    std::size_t _itemsRead = 0;
    std::string _scratch;  // an item without its comments, kept to reuse its buffer
};
