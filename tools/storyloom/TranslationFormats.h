#pragma once
#include <string>

#include "coreframework/LanguageDictionary.h"

// A dictionary's texts in the forms translators' tools read: the library's XML translation
// text and plain lines, CSV (key, original, translated; RFC 4180 quoting) and gettext PO
// (the key as msgctxt, the original as msgid, the translation as msgstr).
namespace TranslationFormats {

enum class Format { Xml, Csv, Po, Plain, Unknown };

// "xml", "csv", "po" or "plain"; or taken from a file name's extension (".txt" is plain).
Format FromName(const std::string& name);
Format FromPath(const std::string& path);

// False with the reason (and the line, where there is one) in `error`.
bool Read(Format format, const std::string& text, LanguageDictionary& dictionary, std::string& error);
// False when the XML form cannot hold a text: it has no escaping, so a text holding
// "<!--" or "</Textitem>" would cut the file short.
bool Write(Format format, const LanguageDictionary& dictionary, std::string& out, std::string& error);

}  // namespace TranslationFormats
