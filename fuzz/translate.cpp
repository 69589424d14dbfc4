// Translate against a slow reference that follows the rules word for word on a text whose
// every character remembers which expansions it came from. Translate itself has no bound on
// work but self-reference, so the reference runs first and inputs that multiply beyond a
// small size are not handed to Translate.
#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "FuzzSupport.h"
#include "storyloom/coreframework/LanguageDictionary.h"

namespace {

constexpr size_t MaxReplacements = 300;
constexpr size_t MaxSize = 3000;

const std::pair<const char*, const char*> Markers[] = {
    {"$(", ")"}, {"{", "}"}, {"%", "%"}, {"((", "))"}, {"", ";"}, {"<", ""}, {"ab", "ba"}, {"", ""},
};

// The keys being expanded where a character came from, outermost first, and how many of them
// were missing from the dictionary.
struct Chain {
    std::vector<std::string> keys;
    size_t missing = 0;
};
using Keys = std::shared_ptr<const Chain>;
struct Letter {
    char c;
    Keys keys;
};

bool MatchesAt(const std::vector<Letter>& text, size_t at, const std::string& marker) {
    if (at + marker.size() > text.size()) return false;
    for (size_t i = 0; i < marker.size(); ++i)
        if (text[at + i].c != marker[i]) return false;
    return true;
}

size_t Find(const std::vector<Letter>& text, const std::string& marker, size_t from) {
    for (size_t at = from; at + marker.size() <= text.size(); ++at)
        if (MatchesAt(text, at, marker)) return at;
    return std::string::npos;
}

// Nothing when the work would pass the bounds.
std::optional<std::string> Reference(const std::string& input, const std::string& prefix,
                                     const std::string& suffix, const std::map<std::string, std::string>& entries) {
    if (prefix.empty() && suffix.empty()) return input;
    const Keys none = std::make_shared<const Chain>();
    std::vector<Letter> text;
    for (char c : input) text.push_back({c, none});
    size_t replacements = 0;
    for (size_t from = 0;;) {
        const size_t start = Find(text, prefix, from);
        if (start == std::string::npos) break;
        const size_t keyStart = start + prefix.size();
        const size_t keyEnd = Find(text, suffix, keyStart);
        if (keyEnd == std::string::npos) break;
        const size_t end = keyEnd + suffix.size();
        std::string key;
        for (size_t i = keyStart; i < keyEnd; ++i) key += text[i].c;
        const Keys& around = text[start].keys;
        if (std::find(around->keys.begin(), around->keys.end(), key) != around->keys.end()) {
            from = end;
            continue;
        }
        auto entry = entries.find(key);
        const bool missing = entry == entries.end();
        // The missing-key text is printf-formatted, so it shows the key up to its first NUL.
        const std::string translation =
            missing ? "LanguageKey \"" + std::string(key.c_str()) + "\" was not found!" : entry->second;
        if (replacements == MaxReplacements || text.size() - (end - start) + translation.size() > MaxSize)
            return std::nullopt;
        ++replacements;
        auto keys = std::make_shared<Chain>(*around);
        keys->keys.push_back(key);
        keys->missing += missing;
        std::vector<Letter> inserted;
        for (char c : translation) inserted.push_back({c, keys});
        text.erase(text.begin() + start, text.begin() + end);
        text.insert(text.begin() + start, inserted.begin(), inserted.end());
        // The deepest text for a missing key goes in unscanned.
        from = keys->missing > LanguageDictionary::MaxMissingKeyDepth ? start + translation.size() : start;
    }
    std::string out;
    for (const Letter& letter : text) out += letter.c;
    return out;
}

class NullLogger : public VirtualLogger {
public:
    void Log(const std::string&, int) override {}
};

}  // namespace

// Input: a marker choice, then lines "key=translation", then after a NUL the text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzRun run;
    FuzzInput input(data, size);
    const auto& markers = Markers[input.Pick(std::size(Markers))];
    std::string entryLines = input.Until('\0');
    const std::string text = input.Rest();
    if (text.size() > MaxSize) return 0;

    NullLogger logger;
    LanguageDictionary dictionary(markers.first, markers.second, &logger);
    std::map<std::string, std::string> entries;
    for (size_t from = 0; from < entryLines.size();) {
        size_t lineEnd = entryLines.find('\n', from);
        if (lineEnd == std::string::npos) lineEnd = entryLines.size();
        const std::string line = entryLines.substr(from, lineEnd - from);
        from = lineEnd + 1;
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = line.substr(0, equals), translation = line.substr(equals + 1);
        dictionary.AddItem(key, translation, "");
        entries.emplace(key, translation);  // the first entry of a key stays, as in the dictionary
    }

    const std::optional<std::string> expected = Reference(text, markers.first, markers.second, entries);
    if (!expected) return 0;
    std::string translated = text;
    dictionary.Translate(translated);
    if (translated != *expected)
        std::fprintf(stderr, "translated: [%s]\nexpected:   [%s]\n", translated.c_str(), expected->c_str());
    FUZZ_CHECK(translated == *expected);
    return 0;
}
