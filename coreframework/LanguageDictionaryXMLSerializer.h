#pragma once
#include <string>

class LanguageDictionary;

// The dictionary's XML translation text: a "Language" node holding one "Textitem" per entry
// in key order, each with "ID", "Original" and "Translated", line feeds written as "[BR]".
class LanguageDictionaryXMLSerializer {
public:
    // Adds the entries of such a text; entries already present stay as they are. Consumes
    // from `data` what was read. A text without a "Language" node adds nothing; items outside
    // it, inside comments or inside another element are not read. Nothing is reported.
    static void Import(std::string& data, LanguageDictionary& dictionary);
    // Appends the dictionary's text behind whatever `out` holds. Texts are written as they
    // stand: one holding the format's markup does not read back intact.
    static void Export(const LanguageDictionary& dictionary, std::string& out);
};
