// What the program tells of translation texts and dictionaries that the library handles silently.
#include <chrono>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "TranslationGuard.h"

namespace {
std::string Item(const std::string& key) { return "<Textitem><ID>" + key + "</ID><Translated>t</Translated></Textitem>"; }

using Entries = std::vector<std::pair<std::string, std::string>>;  // key, translated

void Fill(LanguageDictionary& dictionary, const Entries& entries) {
    for (const auto& [key, translated] : entries) dictionary.AddItem(key, translated, "");
}
}  // namespace

TEST(TranslationGuard, CountsItemsTheTextHoldsAndTheImporterRead) {
    struct Case {
        std::string text;
        size_t held, read;
    } cases[] = {
        {"<Language>" + Item("A") + Item("B") + "</Language>", 2, 2},
        {"<Language>" + Item("A") + Item("A") + "</Language>", 2, 2},  // a repeated key was read
        {"<Language>" + Item("A") + "<!--" + Item("B") + "--></Language>", 2, 1},
        {"<Language>" + Item("A") + "</Language>" + Item("B"), 2, 1},
        {Item("A"), 1, 0},  // no "Language" node
        {"<Language><Textitems>x</Textitems><Textitem\t></Textitem></Language>", 1, 1},
    };
    for (const Case& c : cases) {
        const TranslationGuard::ItemCount count = TranslationGuard::CountItems(c.text);
        EXPECT_EQ(count.held, c.held) << c.text;
        EXPECT_EQ(count.read, c.read) << c.text;
    }
    EXPECT_EQ(TranslationGuard::Shortfall({4, 2}), "2 of 4 translation items in the text could not be read");
    EXPECT_EQ(TranslationGuard::Shortfall({2, 2}), "");
}

TEST(TranslationGuard, NamesEachEntryTheXmlFormDoesNotGiveBack) {
    struct Case {
        std::string key, translated, source, line;  // the line's end; empty when it comes back
    } cases[] = {
        {"A", "one\ntwo", "one\ntwo", ""},  // line feeds come back, the source's as markers
        {"A", "a [BR] b", "", "its translated text does not read back"},
        {"A", "a </Translated> b", "", "its translated text does not read back"},
        {"A", "t", "a </Original>", "its original text does not read back"},
        {"A</ID>", "t", "", "its key does not read back"},
        {"A", "<!-- t", "", "it reads back as 0 entries"},
        {"say \"hi\"\n<!--", "t", "", "entry \"say \\\"hi\\\"\\x0a<!--\" cannot come back through the XML form: it reads"},
    };
    for (const Case& c : cases) {
        LanguageDictionary dictionary("[[", "]]");
        dictionary.AddItem("OK", "fine", "fine");
        dictionary.AddItem(c.key, c.translated, c.source);
        const std::vector<std::string> lines = TranslationGuard::EntriesLostInXml(dictionary);
        ASSERT_EQ(lines.size(), c.line.empty() ? 0u : 1u) << c.key << " / " << c.translated;
        if (!c.line.empty()) {
            EXPECT_NE(lines[0].find(c.line), std::string::npos) << lines[0];
        }
    }
}

TEST(TranslationGuard, SizesATranslationAsTranslateMakesIt) {
    Entries doubling;  // D0 holds D1 twice, ... D39 holds "x": 2^39 bytes
    for (int i = 0; i < 40; ++i)
        doubling.push_back({"D" + std::to_string(i), i == 39 ? "x" : "[[D" + std::to_string(i + 1) + "]][[D" +
                                                                             std::to_string(i + 1) + "]]"});
    Entries dense;  // every key holds every other twice: each expansion path is walked
    for (int i = 0; i < 9; ++i) {
        std::string text;
        for (int j = 0; j < 9; ++j) text += "[[R" + std::to_string(j) + "]][[R" + std::to_string(j) + "]]";
        dense.push_back({"R" + std::to_string(i), text});
    }
    struct Case {
        Entries entries;
        std::string text;
        std::uint64_t limit;
        bool overLimit;
        std::string selfReference;
    } cases[] = {
        {{{"A", "a"}}, "no placeholder, longer than the limit", 4, false, ""},
        {{{"G", "gate"}, {"O", "[[G]] open [[G]]"}}, "Look: [[O]]!", 1000, false, ""},
        {{{"G", "gate"}, {"O", "[[G]] open [[G]]"}}, "Look: [[O]]!", 21, false, ""},  // exactly the limit
        {{{"G", "gate"}, {"O", "[[G]] open [[G]]"}}, "Look: [[O]]!", 20, true, ""},
        {{}, "[[NOPE]] and [[ unclosed", 1000, false, ""},
        {{{"A", "[[B]] and [[B]]"}, {"B", "[[A]]!"}}, "[[A]] [[B]]", 1000, false, "[[A]]"},
        {{{"S", "[[S]][[S]]"}, {"T", "[[S]]"}}, "[[T]][[T]]", 1000, false, "[[S]]"},
        {doubling, "[[D0]]", TranslationGuard::DefaultMaxText, true, ""},
        {dense, "[[R0]]", 1u << 20, true, "[[R0]]"},
    };
    for (const Case& c : cases) {
        LanguageDictionary dictionary("[[", "]]");
        Fill(dictionary, c.entries);
        const auto start = std::chrono::steady_clock::now();
        const TranslationGuard::SizeEstimate size = TranslationGuard::EstimateTranslation(dictionary, c.text, c.limit);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << c.text;
        EXPECT_EQ(size.overLimit, c.overLimit) << c.text;
        EXPECT_EQ(size.selfReference, c.selfReference) << c.text;
        if (c.overLimit) continue;
        std::string translated = c.text;
        dictionary.Translate(translated);
        EXPECT_EQ(size.bytes, translated.size()) << c.text;
    }
}

TEST(TranslationGuard, SizesAChainDeeperThanTheStackWouldHold) {
    LanguageDictionary dictionary("[[", "]]");
    const int depth = 100000;
    for (int i = 0; i < depth; ++i) dictionary.AddItem("C" + std::to_string(i), "[[C" + std::to_string(i + 1) + "]].", "");
    const TranslationGuard::SizeEstimate size =
        TranslationGuard::EstimateTranslation(dictionary, "[[C0]]", TranslationGuard::DefaultMaxText);
    EXPECT_FALSE(size.overLimit);
    // A dot per key, then the text for the missing last key.
    EXPECT_EQ(size.bytes, depth + std::string("LanguageKey \"C100000\" was not found!").size());
}
