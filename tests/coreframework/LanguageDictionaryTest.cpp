#include <gtest/gtest.h>

#include <algorithm>

#include "RecordingLogger.h"
#include "storyloom/coreframework/LanguageDictionary.h"

namespace {

const std::string kMissingGone = "LanguageDictionary: Item with key \"gone\" was not found!";

// Each placeholder alone, and the pieces that do not end the work written one after another ten
// times: a long text looks its keys up once each, yet every placeholder still translates as it
// does alone, and each one of a missing key is reported again.
TEST(LanguageDictionary, TranslateReplacesPlaceholders) {
    const struct {
        const char* input;
        const char* expected;
        bool inLongText;
    } cases[] = {
        {"$(greeting), $(greeting)!", "Hello, Hello!", true},
        {"$(greeting) and $(greeting", "Hello and $(greeting", false},  // no suffix: stop there
        {"[$(nested)]", "[<Hello>]", true},                             // translations are translated
        {"$(open)eeting)", "Hello", true},  // completed by the text behind a translation
        {"$(gone)", "LanguageKey \"gone\" was not found!", true},
        {"$()", "LanguageKey \"\" was not found!", false},
        {"$(self)", "again $(self)", true},  // not expanded inside its own expansion
        {"$(ping)", "pong ping $(ping)", true},
        {"$(dollar)(greeting)", "xHello", true},  // a prefix begun by a translation's end
        {"$(dollar)$(greeting)", "x$Hello", false},
    };
    RecordingLogger logger;
    LanguageDictionary dictionary("$(", ")", &logger);
    for (auto [key, text] : {std::pair{"greeting", "Hello"}, {"nested", "<$(greeting)>"}, {"open", "$(gr"},
                             {"self", "again $(self)"}, {"ping", "pong $(pong)"}, {"pong", "ping $(ping)"}, {"dollar", "x$"}})
        dictionary.AddItem(key, text, "");
    std::string longText, longExpected;
    for (const auto& c : cases) {
        std::string text = c.input;
        dictionary.Translate(text);
        EXPECT_EQ(text, c.expected) << c.input;
        for (int round = 0; c.inLongText && round < 10; ++round) longText += c.input, longExpected += c.expected;
    }
    logger.messages.clear();
    dictionary.Translate(longText);
    EXPECT_EQ(longText, longExpected);
    EXPECT_EQ(logger.messages, std::vector<std::string>(10, kMissingGone));
}

// The work ends with empty markers and with placeholders that swallow each other; texts for
// missing keys name their key, so each rescan makes a longer key: they nest only so deep, the
// deepest put in unscanned. A chain without a key repeated is translated to its end, however
// deep, and a text that multiplies is translated fully, however large it grows.
TEST(LanguageDictionary, TranslateAlwaysEnds) {
    LanguageDictionary emptyMarkers("", ""), emptyPrefix("", ";"), chain("{", "}"), fanOut("$(", ")");
    emptyMarkers.AddItem("", "x", "");
    emptyPrefix.AddItem("a", "b;", "");
    emptyPrefix.AddItem("b", "a;", "");
    for (int level = 0; level < 40; ++level) chain.AddItem("k" + std::to_string(level), "{k" + std::to_string(level + 1) + "}", "");
    chain.AddItem("k40", "end", "");
    for (int level = 0; level < 10; ++level) {
        std::string next = "$(k" + std::to_string(level + 1) + ")";
        fanOut.AddItem("k" + std::to_string(level), next + next + next + next, "");
    }
    fanOut.AddItem("k10", "x", "");  // 1,398,101 replacements
    for (auto [dictionary, input, expected] : {std::tuple{&emptyMarkers, "abc", std::string("abc")}, {&emptyPrefix, "a;c", "a;c"},
                                               {&chain, "{k0}", "end"}, {&fanOut, "<$(k0)>", "<" + std::string(1u << 20, 'x') + ">"}}) {
        std::string text = input;
        dictionary->Translate(text);
        EXPECT_EQ(text, expected) << input;
    }
    RecordingLogger logger;
    LanguageDictionary growing("a", "!", &logger);
    std::string text = "a!";
    growing.Translate(text);
    EXPECT_EQ(logger.messages.size(), LanguageDictionary::MaxMissingKeyDepth + 1);
    EXPECT_EQ(text.find("LanguageKey \""), LanguageDictionary::MaxMissingKeyDepth);  // one 'L' kept per level
}

// Keys arriving in and out of order, and again right beside the key added last: each entry
// lands in key order, the first entry of a key stays, and every key already present is
// refused and logged, also after Clear.
TEST(LanguageDictionary, AddItemKeepsKeyOrderAndLogsAtLevelZero) {
    RecordingLogger logger;
    LanguageDictionary dictionary("$(", ")", &logger);
    for (const char* key : {"key8", "key9", "key10", "key11", "key10", "key12", "key1", "key11", "key9", "a"})
        dictionary.AddItem(key, std::string("t") + key + std::to_string(dictionary.GetItems().size()), "");
    std::vector<std::string> keys;
    for (const auto& entry : dictionary.GetItems()) keys.push_back(entry.first);
    EXPECT_EQ(keys, (std::vector<std::string>{"a", "key1", "key10", "key11", "key12", "key8", "key9"}));
    EXPECT_EQ(dictionary.FindItem("key10")->GetTranslated(), "tkey102");
    EXPECT_EQ(dictionary.GetTranslation("gone"), "LanguageKey \"gone\" was not found!");
    dictionary.Clear();
    dictionary.AddItem("b", "", "");
    dictionary.AddItem("b", "", "");
    EXPECT_EQ(dictionary.GetItems().size(), 1u);
    std::vector<std::string> expected;
    for (const char* key : {"key10", "key11", "key9", "gone", "b"})
        expected.push_back(key == std::string("gone") ? kMissingGone
                                                      : std::string("LanguageDictionary: An item with key \"") + key + "\" already exsists!");
    EXPECT_EQ(logger.messages, expected);
    EXPECT_EQ(logger.levels, std::vector<int>(expected.size(), 0));
}

// The dictionary compares keys itself, eight bytes at a time: its order must stay the byte order
// std::string gives, with bytes above 0x7f last, a key after its prefixes, a first differing
// byte that outweighs later ones, and differences in the overlapping last word of a long key.
TEST(LanguageDictionary, KeysSortInByteOrder) {
    std::vector<std::string> keys = {"z", "\xc3\xa4", std::string("a\0b", 3), "a", "", "\x7f", "\x80",
                                     "abcdefgh", "bbcdefga", "abcdefgi", "abcdefgh\xff", "abcdefghijkl",
                                     "abcdefghijkm", "abcdefgZijkl", "abcdefghijklmnop", "abcdefghijklmnoq",
                                     "abcdefghi\xe9klmnopqrstuvwxyz", "abcdefghijklmnopqrstuvwxyz"};
    LanguageDictionary dictionary("$(", ")");
    for (const std::string& key : keys) dictionary.AddItem(key, "t" + key, "");
    std::sort(keys.begin(), keys.end());
    std::vector<std::string> order;
    for (const auto& entry : dictionary.GetItems()) {
        order.push_back(entry.first);
        EXPECT_EQ(dictionary.FindItem(entry.first)->GetTranslated(), "t" + entry.first);
    }
    EXPECT_EQ(order, keys);
}

TEST(LanguageDictionary, KeyHelpersAndPlainText) {
    LanguageDictionary dictionary("$(", ")");
    dictionary.AddItem("b", "same", "Zeile\neins");
    dictionary.AddItem("a", "same\nagain", "");
    EXPECT_EQ(dictionary.ExtractKey("$(key)") + "|" + dictionary.ExtractKey("key)") + "|" + dictionary.ExtractKey("$("), "key||");
    EXPECT_EQ(dictionary.FindKeyOf("same"), "b");
    std::string text = "kept\n";
    dictionary.ExportPlainText(text);
    EXPECT_EQ(text, "kept\na=same[BR]again#Original=\nb=same#Original=Zeile[BR]eins\n");
    LanguageDictionary read("$(", ")");
    read.ImportPlainText(text.substr(5) + "c=no line end#Original=x");
    EXPECT_EQ(read.GetItems().size(), 2u);
    EXPECT_EQ(read.FindItem("a")->GetTranslated(), "same\nagain");
    EXPECT_EQ(read.FindItem("b")->GetSource(), "Zeile[BR]eins");
}

}  // namespace
