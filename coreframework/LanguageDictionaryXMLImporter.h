#pragma once
#include <string>

#include "storyloom/coreframework/serializer/Serializer.h"

class LanguageDictionary;

// Reads the "Language" node of a translation text and adds each "Textitem" to a dictionary.
class LanguageDictionaryXMLImporter : public Serializer {
public:
    explicit LanguageDictionaryXMLImporter(LanguageDictionary& dictionary);

    // Every nested element is consumed; only "Textitem" adds an entry.
    int OnImportUnknownData(const std::string& tag, const std::string& text) override;

private:
    LanguageDictionary* _dictionary;
    std::string _scratch;  // an item without its comments, kept to reuse its buffer
};
