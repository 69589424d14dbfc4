#pragma once
#include <string>

class LanguageDictionary;

// The dictionary's XML translation text: a "Language" node holding one "Textitem" per entry
// in key order, each with "ID", "Original" and "Translated", line feeds written as "[BR]".
class LanguageDictionaryXMLSerializer {
public:
    // Adds the entries of such a text; entries already present stay as they are. Consumes
    // from `data` what was read. A text without a "Language" node adds nothing. Items the
    // text holds but that could not be read are counted in one line to the dictionary's logger.
    static void Import(std::string& data, LanguageDictionary& dictionary);
    // Appends the dictionary's text behind whatever `out` holds. An entry whose texts hold
    // markup of the format cannot be stored: it is left out with a line naming its key to the
    // dictionary's logger, and the answer is false.
    static bool Export(const LanguageDictionary& dictionary, std::string& out);
};
