#include <gtest/gtest.h>

#include "RecordingLogger.h"
#include "storyloom/coreframework/LanguageDictionary.h"

TEST(LanguageDictionary, TranslateReplacesPlaceholders) {
    const std::pair<const char*, const char*> cases[] = {
        {"$(greeting), $(greeting)!", "Hello, Hello!"},
        {"$(greeting) and $(greeting", "Hello and $(greeting"},  // no suffix: stop there
        {"[$(nested)]", "[<Hello>]"},                             // translations are translated
        {"$(open)eeting)", "Hello"},  // completed by the text behind a translation
        {"$()", "LanguageKey \"\" was not found!"},
        {"$(self)", "again $(self)"},  // not expanded inside its own expansion
        {"$(ping)", "pong ping $(ping)"},
        {"$(dollar)(greeting)", "xHello"},  // a prefix begun by a translation's end
        {"$(dollar)$(greeting)", "x$Hello"},
    };
    LanguageDictionary dictionary("$(", ")");
    dictionary.AddItem("greeting", "Hello", "Hallo");
    dictionary.AddItem("nested", "<$(greeting)>", "");
    dictionary.AddItem("open", "$(gr", "");
    dictionary.AddItem("self", "again $(self)", "");
    dictionary.AddItem("ping", "pong $(pong)", "");
    dictionary.AddItem("pong", "ping $(ping)", "");
    dictionary.AddItem("dollar", "x$", "");
    for (const auto& [input, expected] : cases) {
        std::string text = input;
        dictionary.Translate(text);
        EXPECT_EQ(text, expected) << input;
    }
}

// A long text looks its keys up once each; every placeholder still translates as it does alone,
// and each one of a missing key is reported again.
TEST(LanguageDictionary, TranslateOfManyPlaceholdersMatchesEachAlone) {
    const std::pair<const char*, const char*> pieces[] = {
        {"$(greeting)", "Hello"},        {"[$(nested)]", "[<Hello>]"},
        {"$(gone)", "LanguageKey \"gone\" was not found!"},
        {"$(self)", "again $(self)"},    {"$(dollar)(greeting)", "xHello"},
        {"$(open)eeting)", "Hello"},     {"plain ", "plain "},
    };
    RecordingLogger logger;
    LanguageDictionary dictionary("$(", ")", &logger);
    dictionary.AddItem("greeting", "Hello", "");
    dictionary.AddItem("nested", "<$(greeting)>", "");
    dictionary.AddItem("self", "again $(self)", "");
    dictionary.AddItem("dollar", "x$", "");
    dictionary.AddItem("open", "$(gr", "");
    std::string text, expected;
    for (int round = 0; round < 10; ++round) {
        for (const auto& [input, output] : pieces) {
            text += input;
            expected += output;
        }
    }
    dictionary.Translate(text);
    EXPECT_EQ(text, expected);
    EXPECT_EQ(logger.messages, std::vector<std::string>(10, "LanguageDictionary: Item with key \"gone\" was not found!"));
}

TEST(LanguageDictionary, TranslateAlwaysEnds) {
    LanguageDictionary emptyMarkers("", "");
    emptyMarkers.AddItem("", "x", "");
    std::string text = "abc";
    emptyMarkers.Translate(text);
    EXPECT_EQ(text, "abc");

    // Each placeholder swallows the whole translation before it.
    LanguageDictionary emptyPrefix("", ";");
    emptyPrefix.AddItem("a", "b;", "");
    emptyPrefix.AddItem("b", "a;", "");
    text = "a;c";
    emptyPrefix.Translate(text);
    EXPECT_EQ(text, "a;c");

    // Texts for missing keys name their key, so each rescan makes a longer key; they nest only
    // so deep, the deepest put in unscanned.
    RecordingLogger logger;
    LanguageDictionary growing("a", "!", &logger);
    text = "a!";
    growing.Translate(text);
    EXPECT_EQ(logger.messages.size(), LanguageDictionary::MaxMissingKeyDepth + 1);
    EXPECT_EQ(text.find("LanguageKey \""), LanguageDictionary::MaxMissingKeyDepth);  // one 'L' kept per level

    // A chain without a key repeated is translated to its end, however deep.
    LanguageDictionary chain("{", "}");
    for (int level = 0; level < 40; ++level)
        chain.AddItem("k" + std::to_string(level), "{k" + std::to_string(level + 1) + "}", "");
    chain.AddItem("k40", "end", "");
    text = "{k0}";
    chain.Translate(text);
    EXPECT_EQ(text, "end");
}

TEST(LanguageDictionary, LogsDuplicateAndMissingKeys) {
    RecordingLogger logger;
    LanguageDictionary dictionary("$(", ")", &logger);
    dictionary.AddItem("k", "first", "one");
    dictionary.AddItem("k", "second", "two");
    EXPECT_EQ(dictionary.FindItem("k")->GetTranslated(), "first");
    EXPECT_EQ(dictionary.GetTranslation("gone"), "LanguageKey \"gone\" was not found!");
    EXPECT_EQ(logger.messages, (std::vector<std::string>{
                                   "LanguageDictionary: An item with key \"k\" already exsists!",
                                   "LanguageDictionary: Item with key \"gone\" was not found!"}));
    EXPECT_EQ(logger.levels, (std::vector<int>{0, 0}));
}

// Keys arriving in and out of order, and again right beside the key added last: each entry
// lands in key order, and every key already present is refused, also after Clear.
TEST(LanguageDictionary, AddItemKeepsKeyOrderWhateverTheArrivalOrder) {
    RecordingLogger logger;
    LanguageDictionary dictionary("$(", ")", &logger);
    for (const char* key : {"key8", "key9", "key10", "key11", "key10", "key12", "key1", "key11", "key9", "a"})
        dictionary.AddItem(key, std::string("t") + key, "");
    std::vector<std::string> keys;
    for (const auto& entry : dictionary.GetItems()) keys.push_back(entry.first);
    EXPECT_EQ(keys, (std::vector<std::string>{"a", "key1", "key10", "key11", "key12", "key8", "key9"}));
    EXPECT_EQ(dictionary.FindItem("key10")->GetTranslated(), "tkey10");
    dictionary.Clear();
    dictionary.AddItem("b", "", "");
    dictionary.AddItem("b", "", "");
    EXPECT_EQ(dictionary.GetItems().size(), 1u);
    std::vector<std::string> refused;
    for (const char* key : {"key10", "key11", "key9", "b"})
        refused.push_back(std::string("LanguageDictionary: An item with key \"") + key + "\" already exsists!");
    EXPECT_EQ(logger.messages, refused);
}

TEST(LanguageDictionary, KeyHelpersAndPlainText) {
    LanguageDictionary dictionary("$(", ")");
    dictionary.AddItem("b", "same", "Zeile\neins");
    dictionary.AddItem("a", "same\nagain", "");
    EXPECT_EQ(dictionary.ExtractKey("$(key)"), "key");
    EXPECT_EQ(dictionary.ExtractKey("key)"), "");
    EXPECT_EQ(dictionary.ExtractKey("$("), "");
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

namespace {

// Entries k0 .. k<levels>, each naming the next `fanOut` times; the last one is a single "x".
void AddFanOut(LanguageDictionary& dictionary, int levels, int fanOut) {
    for (int level = 0; level < levels; ++level) {
        std::string translation;
        for (int i = 0; i < fanOut; ++i) translation += "$(k" + std::to_string(level + 1) + ")";
        dictionary.AddItem("k" + std::to_string(level), translation, "");
    }
    dictionary.AddItem("k" + std::to_string(levels), "x", "");
}

}  // namespace

// Only a key inside its own expansion bounds the work: a text that multiplies is translated
// fully, however large it grows, and nothing is logged.
TEST(LanguageDictionary, TranslateExpandsFanOutFully) {
    RecordingLogger logger;
    LanguageDictionary dictionary("$(", ")", &logger);
    AddFanOut(dictionary, 10, 4);  // 1,398,101 replacements
    std::string text = "<$(k0)>";
    dictionary.Translate(text);
    EXPECT_EQ(text, "<" + std::string(1u << 20, 'x') + ">");
    EXPECT_TRUE(logger.messages.empty());
}
