#pragma once
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

// An entry as translators' files hold it: more than a dictionary entry, which has no state.
enum class EntryState { Untranslated, Fuzzy, Translated, Reviewed, Final };

// "untranslated", "fuzzy", "translated", "reviewed", "final"; the words CSV files hold.
const char* StateName(EntryState state);
// False for a word that names no state.
bool StateFromName(const std::string& name, EntryState& state);

struct TranslationEntry {
    std::string key, source, translated;
    EntryState state = EntryState::Translated;
    std::string sourceHash;      // of the source the translation was made for; empty when not known
    std::string previousSource;  // a fuzzy entry's source before it changed; empty when not known

    bool operator==(const TranslationEntry& other) const {
        return key == other.key && source == other.source && translated == other.translated &&
               state == other.state && sourceHash == other.sourceHash && previousSource == other.previousSource;
    }
    // Untranslated, fuzzy, or translated for another source than its own.
    bool IsUnfinished() const;
};

// A translators' file: its entries in the file's order and the languages it names.
struct TranslationFile {
    std::string sourceLanguage, targetLanguage;  // empty when the form does not hold them
    std::vector<TranslationEntry> entries;
};

// What reading found besides the entries.
struct ReadReport {
    std::vector<std::string> losses;    // entries the text holds that were not read, one line each
    std::vector<std::string> warnings;  // read, but perhaps not as meant
    std::string error;                  // not a text of the form at all ("line N: reason")
};

// The keys a reader has taken, with the line of each: a key given again is a loss.
class ReadKeys {
public:
    // False, with the loss named in `report`, when `key` was read before.
    bool Take(const std::string& key, std::size_t line, ReadReport& report);

private:
    std::unordered_map<std::string, std::size_t> _lines;
};
