#pragma once
#include <string>
#include <vector>

#include "TranslationForm.h"

// What a conversion loses, found before anything is written.
namespace TranslationCheck {

// The file as `form` gives it back when all goes well: a form without state holds each entry
// as a translated one, without its source hash and previous source.
TranslationFile AsHeldBy(const TranslationForm& form, TranslationFile file);

// Every entry without its source hash gets its source's.
void FillSourceHashes(TranslationFile& file);

// One line for each entry of `file` that the text `form` wrote of it does not give back as it
// is, naming what differs; entries that spoil their neighbours are named, not the neighbours.
std::vector<std::string> WriteLosses(const TranslationForm& form, const TranslationFile& file, const std::string& written);

// What becomes of untranslated and fuzzy entries, and of entries translated for another
// original, where the dictionary takes them (the XML and plain forms, --apply, --check).
enum class Unfinished { Source, Keep, Refuse };
bool UnfinishedFromName(const std::string& name, Unfinished& unfinished);

// Applies the choice; a warning line (Source: their count) or, for Refuse, a line per entry in `refused`.
std::string ResolveUnfinished(TranslationFile& file, Unfinished unfinished, std::vector<std::string>& refused);

}  // namespace TranslationCheck
