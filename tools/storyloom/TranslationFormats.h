#pragma once
#include <string>

#include "storyloom/coreframework/LanguageDictionary.h"

// A dictionary's texts in the forms translators' tools read: the library's XML translation
// text and plain lines, CSV (key, original, translated; RFC 4180 quoting) and gettext PO
// (the key as msgctxt, the original as msgid, the translation as msgstr).
namespace TranslationFormats {

enum class Format { Xml, Csv, Po, Plain, Unknown };

// "xml", "csv", "po" or "plain"; or taken from a file name's extension (".txt" is plain).
Format FromName(const std::string& name);
Format FromPath(const std::string& path);

// False with the reason (and the line, where there is one) in `error`; an XML text holding
// items that cannot be read adds nothing.
bool Read(Format format, const std::string& text, LanguageDictionary& dictionary, std::string& error);
// The XML form has no escaping: TranslationGuard::EntriesLostInXml names the entries it loses.
bool Write(Format format, const LanguageDictionary& dictionary, std::string& out, std::string& error);

}  // namespace TranslationFormats
