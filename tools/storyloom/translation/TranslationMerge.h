#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "TranslationEntry.h"

struct MergeReport {
    std::size_t kept = 0, changed = 0, added = 0;
    std::vector<std::string> removedKeys;
};

// A translated file brought up to a newer source, in the newer source's order: an entry whose
// source is the one it was translated for keeps its translation; one whose source changed
// keeps it too, marked fuzzy, its old source kept as the previous one; a new entry comes
// untranslated. Entries of `translated` that the source no longer has are named in the report.
TranslationFile MergeWithSource(const TranslationFile& translated, const TranslationFile& source, MergeReport& report);
