#include "TranslationGuard.h"

#include <algorithm>
#include <limits>
#include <string_view>
#include <unordered_map>

#include "storyloom/coreframework/Defines/UsefulDefines.h"
#include "storyloom/coreframework/TranslationText.h"
#include "QuotedText.h"

namespace TranslationGuard {
namespace {

// A dictionary tells of a repeated key only through its logger; each such item was read too.
class RepeatCounter : public VirtualLogger {
public:
    void Log(const std::string& message, int) override {
        repeats += message.find("already exsists!") != std::string::npos;
    }
    std::size_t repeats = 0;
};

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) {
    return a > std::numeric_limits<std::uint64_t>::max() - b ? std::numeric_limits<std::uint64_t>::max() : a + b;
}

struct Placeholder {
    std::string key;
    std::uint64_t length;  // as written, markers included
};

struct ParsedText {
    std::uint64_t literal = 0;  // bytes outside placeholders
    std::vector<Placeholder> placeholders;
};

// The placeholders of a text, found as Translate finds them: a prefix, then the first suffix
// behind it; a prefix without a suffix ends the search.
ParsedText Parse(const std::string& text, const std::string& prefix, const std::string& suffix) {
    ParsedText parsed;
    parsed.literal = text.size();
    if (prefix.empty() && suffix.empty()) return parsed;  // Translate then replaces nothing
    for (std::size_t at = 0;;) {
        const std::size_t prefixAt = text.find(prefix, at);
        if (prefixAt == std::string::npos) break;
        const std::size_t keyAt = prefixAt + prefix.size();
        const std::size_t suffixAt = text.find(suffix, keyAt);
        if (suffixAt == std::string::npos) break;
        at = suffixAt + suffix.size();
        parsed.placeholders.push_back({text.substr(keyAt, suffixAt - keyAt), at - prefixAt});
        parsed.literal -= at - prefixAt;
    }
    return parsed;
}

// Sizes expansions depth first with an explicit stack (a chain can be as long as the
// dictionary). A key's size is kept once its walk met no key open above or at it: such a key
// reaches no key that reaches it, so its size is the same wherever it is met. Keys on a cycle
// are walked again each time; the walk's length is bounded by the limit too.
class SizeWalk {
public:
    SizeWalk(const LanguageDictionary& dictionary, std::uint64_t limit) : _dictionary(dictionary), _limit(limit) {}

    SizeEstimate Run(const std::string& text) {
        SizeEstimate estimate;
        const ParsedText root = Parse(text, _dictionary.GetKeyPrefix(), _dictionary.GetKeySuffix());
        // A text without placeholders is left as it is, however long.
        if (root.placeholders.empty()) {
            estimate.bytes = text.size();
            return estimate;
        }
        _frames.push_back({&root, nullptr, 0, root.literal, kNoHit});
        std::uint64_t walked = 0;
        while (_frames.back().size <= _limit) {
            Frame& frame = _frames.back();
            if (frame.next == frame.parsed->placeholders.size()) {
                const Frame done = frame;
                _frames.pop_back();
                if (_frames.empty()) {
                    estimate.bytes = done.size;
                    return estimate;
                }
                _onChain.erase(*done.key);
                if (done.lowestHit > _frames.size()) _sizes[*done.key] = done.size;
                _frames.back().size = SaturatingAdd(_frames.back().size, done.size);
                _frames.back().lowestHit = std::min(_frames.back().lowestHit, done.lowestHit);
                continue;
            }
            const Placeholder& placeholder = frame.parsed->placeholders[frame.next++];
            if (auto open = _onChain.find(placeholder.key); open != _onChain.end()) {
                frame.size = SaturatingAdd(frame.size, placeholder.length);
                frame.lowestHit = std::min(frame.lowestHit, open->second);
                if (estimate.selfReference.empty()) estimate.selfReference = _dictionary.MakePlaceholder(placeholder.key);
                continue;
            }
            auto entry = _dictionary.GetItems().find(placeholder.key);
            if (entry == _dictionary.GetItems().end()) {
                frame.size = SaturatingAdd(frame.size, MissingKeyTextSize(placeholder.key));
                continue;
            }
            if (auto known = _sizes.find(entry->first); known != _sizes.end()) {
                frame.size = SaturatingAdd(frame.size, known->second);
                continue;
            }
            if (++walked > _limit) break;
            const ParsedText& parsed = ParsedOf(entry->first, entry->second->GetTranslated());
            _onChain[entry->first] = _frames.size();
            _frames.push_back({&parsed, &entry->first, 0, parsed.literal, kNoHit});
        }
        estimate.overLimit = true;
        return estimate;
    }

private:
    static constexpr std::size_t kNoHit = std::numeric_limits<std::size_t>::max();

    struct Frame {
        const ParsedText* parsed;
        const std::string* key;  // null for the text itself
        std::size_t next;        // its next placeholder
        std::uint64_t size;
        std::size_t lowestHit;  // the shallowest open key its walk met
    };

    // The dictionary's text for a key without an entry; never shorter than the one it makes.
    static std::uint64_t MissingKeyTextSize(const std::string& key) {
        return std::string_view("LanguageKey \"\" was not found!").size() + key.size();
    }

    const ParsedText& ParsedOf(const std::string& key, const std::string& translation) {
        auto found = _parsed.find(key);
        if (found == _parsed.end())
            found = _parsed.emplace(key, Parse(translation, _dictionary.GetKeyPrefix(), _dictionary.GetKeySuffix())).first;
        return found->second;
    }

    const LanguageDictionary& _dictionary;
    const std::uint64_t _limit;
    std::vector<Frame> _frames;
    // Views of the dictionary's own keys, which outlive the walk.
    std::unordered_map<std::string_view, std::size_t> _onChain;  // open keys by their frame
    std::unordered_map<std::string_view, std::uint64_t> _sizes;
    std::unordered_map<std::string_view, ParsedText> _parsed;
};

}  // namespace

std::size_t CountHeldItems(const std::string& text) {
    std::size_t held = 0;
    const std::string opening = std::string("<") + TranslationText::Item;
    for (std::size_t at = text.find(opening); at != std::string::npos; at = text.find(opening, at + 1)) {
        const std::size_t after = at + opening.size();
        held += after < text.size() && (text[after] == ' ' || text[after] == '\t' || text[after] == '>');
    }
    return held;
}

ItemCount CountItems(const std::string& text) {
    ItemCount count;
    count.held = CountHeldItems(text);
    RepeatCounter counter;
    LanguageDictionary dictionary("[[", "]]", &counter);
    std::string data = text;
    LanguageDictionaryXMLSerializer::Import(data, dictionary);
    count.read = dictionary.GetItems().size() + counter.repeats;
    return count;
}

std::string Shortfall(const ItemCount& count) {
    if (count.read >= count.held) return "";
    return std::to_string(count.held - count.read) + " of " + std::to_string(count.held) +
           " translation items in the text could not be read";
}

std::vector<std::string> EntriesLostInXml(const LanguageDictionary& dictionary) {
    std::vector<std::string> lines;
    const std::string& prefix = dictionary.GetKeyPrefix();
    const std::string& suffix = dictionary.GetKeySuffix();
    for (const auto& [key, item] : dictionary.GetItems()) {
        LanguageDictionary one(prefix, suffix), back(prefix, suffix);
        one.AddItem(key, item->GetTranslated(), item->GetSource());
        std::string text;
        LanguageDictionaryXMLSerializer::Export(one, text);
        LanguageDictionaryXMLSerializer::Import(text, back);
        // Source texts keep the line-feed marker when read: the form gives them back so.
        std::string source = item->GetSource();
        ReplaceAll(source, "\n", TranslationText::LineBreak);
        std::string lost;
        if (back.GetItems().size() != 1) {
            lost = "it reads back as " + std::to_string(back.GetItems().size()) + " entries";
        } else {
            const auto& [backKey, backItem] = *back.GetItems().begin();
            if (backKey != key) lost = "its key";
            else if (backItem->GetSource() != source) lost = "its original text";
            else if (backItem->GetTranslated() != item->GetTranslated()) lost = "its translated text";
            if (!lost.empty()) lost += " does not read back";
        }
        if (!lost.empty()) lines.push_back("entry " + QuotedText::ForMessage(key) + " cannot come back through the XML form: " + lost);
    }
    return lines;
}

SizeEstimate EstimateTranslation(const LanguageDictionary& dictionary, const std::string& text, std::uint64_t limit) {
    return SizeWalk(dictionary, limit).Run(text);
}

}  // namespace TranslationGuard
