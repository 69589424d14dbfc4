#pragma once
// What every translators' form of the program holds on any bytes: reading never crashes; a
// text read without an error, written in the same form, reads back as the same entries
// unless TranslationCheck::WriteLosses names a line; and whatever it reads back as, writing
// and reading that again changes nothing more. Each form reads its entries in one order, the
// file's or the keys', so the entries compare in order.
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "QuotedText.h"
#include "TranslationCheck.h"

namespace TranslationFormFuzz {

// Larger inputs find nothing more and slow the runs down.
constexpr size_t kMaxInput = 64 * 1024;

[[noreturn]] inline void Broken(const TranslationForm& form, const std::string& what) {
    std::fprintf(stderr, "%s form: property broken: %s\n", form.name, what.c_str());
    std::abort();
}

// A written text is always well-formed: it reads without an error.
inline TranslationFile ReadWritten(const TranslationForm& form, const std::string& written) {
    TranslationFile file;
    ReadReport report;
    form.read(written, file, report);
    if (!report.error.empty()) Broken(form, "a text it wrote does not read: " + report.error);
    return file;
}

inline std::string Written(const TranslationForm& form, const TranslationFile& file) {
    std::string text;
    form.write(file, text);
    return text;
}

inline std::string Describe(const TranslationEntry& entry) {
    return "key " + QuotedText::ForMessage(entry.key) + ", original " + QuotedText::ForMessage(entry.source) +
           ", translated " + QuotedText::ForMessage(entry.translated) + ", state " + StateName(entry.state) +
           ", hash " + QuotedText::ForMessage(entry.sourceHash) + ", previous " +
           QuotedText::ForMessage(entry.previousSource);
}

// Aborts naming the first entry that differs.
inline void ExpectSame(const TranslationForm& form, const char* what, const std::vector<TranslationEntry>& wanted,
                       const std::vector<TranslationEntry>& got) {
    for (size_t i = 0; i < wanted.size() && i < got.size(); ++i)
        if (!(wanted[i] == got[i]))
            Broken(form, std::string(what) + ": entry " + std::to_string(i) + " is\n  " + Describe(wanted[i]) +
                             "\nbut reads back as\n  " + Describe(got[i]));
    if (wanted.size() != got.size())
        Broken(form, std::string(what) + ": " + std::to_string(wanted.size()) + " entries read back as " +
                         std::to_string(got.size()));
}

inline int Run(const TranslationForm& form, const uint8_t* data, size_t size) {
    if (size > kMaxInput) return 0;
    FuzzRun run;
    TranslationFile first;
    ReadReport report;
    form.read(std::string(reinterpret_cast<const char*>(data), size), first, report);
    if (!report.error.empty()) return 0;

    const std::string written = Written(form, first);
    const TranslationFile back = ReadWritten(form, written);
    if (TranslationCheck::WriteLosses(form, first, written).empty())
        ExpectSame(form, "an entry WriteLosses does not name is lost",
                   TranslationCheck::AsHeldBy(form, first).entries, back.entries);
    const TranslationFile again = ReadWritten(form, Written(form, back));
    ExpectSame(form, "what read back changes on a second trip", back.entries, again.entries);
    return 0;
}

}  // namespace TranslationFormFuzz
