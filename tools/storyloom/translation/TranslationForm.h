#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "TranslationEntry.h"

// One form translators' files come in. Adding a form is adding a record to TranslationForms::All.
struct TranslationForm {
    const char* name;                     // as --from and --to take it
    std::vector<const char*> extensions;  // file name endings that say the form
    bool holdsState;                      // state, source hash and previous source
    // Whether a text starts as a text of this form does; the first form that claims a text takes it.
    bool (*looksLike)(std::string_view text);
    void (*read)(const std::string& text, TranslationFile& file, ReadReport& report);
    // Always well-formed; what the form cannot hold reads back otherwise (see WriteLosses).
    void (*write)(const TranslationFile& file, std::string& out);
    // Why an entry that does not read back cannot: what of it the form has no way to hold;
    // empty where the form knows no reason.
    std::string (*whyNotHeld)(const TranslationEntry& entry);
};

const TranslationForm& XmlForm();
const TranslationForm& PlainForm();
const TranslationForm& CsvForm();
const TranslationForm& PoForm();
const TranslationForm& XliffForm();
const TranslationForm& Xliff12Form();

namespace TranslationForms {
const std::vector<const TranslationForm*>& All();
// "xml, plain, csv, po, xliff or xliff12"
std::string Names();
const TranslationForm* Named(const std::string& name);
// By the text where the file's name does not say (".txt", no extension) or may hide another
// form (an XLIFF file named ".xml", an XLIFF 1.2 file named ".xlf"); null when neither tells.
const TranslationForm* Of(const std::string& path, std::string_view text);
const TranslationForm* Detect(std::string_view text);
// The form a file of this name is written in: as Of says, and ".txt" is plain lines.
const TranslationForm* ForOutput(const std::string& path);
}  // namespace TranslationForms
