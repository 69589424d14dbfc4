#pragma once
#include <string>

class LanguageDictionary;

// The dictionary's XML translation text: a "Language" node holding one "Textitem" per entry
// in key order, each with "ID", "Original" and "Translated", line feeds written as "[BR]".
class LanguageDictionaryXMLSerializer {
public:
    // Adds the entries of such a text; entries already present stay as they are. Consumes
    // from `data` what was read. A text without a "Language" node adds nothing.
    static void Import(std::string& data, LanguageDictionary& dictionary);
    // Appends the dictionary's text behind whatever `out` holds.
    static void Export(const LanguageDictionary& dictionary, std::string& out);
};
