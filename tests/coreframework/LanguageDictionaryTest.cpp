#include <gtest/gtest.h>

#include "RecordingLogger.h"
#include "coreframework/LanguageDictionary.h"

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

    LanguageDictionary chain("{", "}");
    for (int level = 0; level < 40; ++level)
        chain.AddItem("k" + std::to_string(level), "{k" + std::to_string(level + 1) + "}", "");
    text = "{k0}";
    chain.Translate(text);
    EXPECT_EQ(text, "{k" + std::to_string(LanguageDictionary::MaxTranslationDepth) + "}");
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

// Exponential fan-out within the depth bound stops at the work bound with one log line;
// everything below the bound translates exactly as without it.
TEST(LanguageDictionary, TranslateWorkIsBounded) {
    RecordingLogger logger;
    LanguageDictionary explosive("$(", ")", &logger);
    AddFanOut(explosive, 16, 4);  // 4^16 leaves unbounded
    std::string text = "$(k0)";
    explosive.Translate(text);
    EXPECT_LE(text.size(), LanguageDictionary::DefaultMaxTranslatedSize);
    ASSERT_EQ(logger.messages.size(), 1u);
    EXPECT_EQ(logger.messages[0].rfind("LanguageDictionary: Translate stopped after ", 0), 0u);

    LanguageDictionary below("$(", ")", &logger);
    AddFanOut(below, 6, 3);
    text = "<$(k0)>";
    below.Translate(text);
    EXPECT_EQ(text, "<" + std::string(729, 'x') + ">");
    EXPECT_EQ(logger.messages.size(), 1u);

    struct Case {
        std::size_t replacements, size;
        const char* expected;
    };
    const Case cases[] = {
        {3, 1000, "abcdefabcdefabcdef$(a)"},
        {1000, 18, "abcdef$(a)$(a)$(a)"},  // the second would make 18 - 4 + 6 characters
        {0, 1000, "$(a)$(a)$(a)$(a)"},
        {4, 24, "abcdefabcdefabcdefabcdef"},  // exactly at both bounds
    };
    for (const Case& c : cases) {
        LanguageDictionary limited("$(", ")", &logger);
        limited.AddItem("a", "abcdef", "");
        limited.SetTranslateLimits(c.replacements, c.size);
        logger.messages.clear();
        text = "$(a)$(a)$(a)$(a)";
        limited.Translate(text);
        EXPECT_EQ(text, c.expected) << c.replacements << " " << c.size;
        EXPECT_EQ(logger.messages.size(), std::string(c.expected).find('$') != std::string::npos ? 1u : 0u);
    }
}
