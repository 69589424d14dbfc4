#include <gtest/gtest.h>

#include "RecordingLogger.h"
#include "coreframework/LanguageDictionary.h"

TEST(LanguageDictionary, TranslateReplacesPlaceholders) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"$(greeting), $(greeting)!", "Hello, Hello!"},
        {"no placeholder", "no placeholder"},
        // a missing suffix ends the work; earlier placeholders are done
        {"$(greeting) and $(greeting", "Hello and $(greeting"},
        // translations are translated in turn
        {"[$(nested)]", "[<Hello>]"},
        // a placeholder may be completed by the text behind a translation
        {"$(open)eeting)", "Hello"},
        {"$()", "LanguageKey \"\" was not found!"},
        {"$(self)", "again $(self)"},
        {"$(ping)", "pong ping $(ping)"},
        {"", ""},
    };
    LanguageDictionary dictionary("$(", ")");
    dictionary.AddItem("greeting", "Hello", "Hallo");
    dictionary.AddItem("nested", "<$(greeting)>", "");
    dictionary.AddItem("open", "$(gr", "");
    dictionary.AddItem("self", "again $(self)", "");
    dictionary.AddItem("ping", "pong $(pong)", "");
    dictionary.AddItem("pong", "ping $(ping)", "");
    for (const Case& c : cases) {
        std::string text = c.text;
        dictionary.Translate(text);
        EXPECT_EQ(text, c.expected) << c.text;
    }
}

// Translate always ends, however the markers and translations are chosen.
TEST(LanguageDictionary, TranslateIsBounded) {
    LanguageDictionary emptyMarkers("", "");
    emptyMarkers.AddItem("", "x", "");
    std::string text = "abc";
    emptyMarkers.Translate(text);
    EXPECT_EQ(text, "abc");

    LanguageDictionary emptyPrefix("", ";");
    emptyPrefix.AddItem("a", "b;", "");
    emptyPrefix.AddItem("b", "a;", "");
    text = "a;c";
    emptyPrefix.Translate(text);
    EXPECT_EQ(text, "a;c");

    // Fan-out without a cycle stops at the depth limit.
    LanguageDictionary fan("{", "}");
    for (int level = 0; level < 40; ++level)
        fan.AddItem("k" + std::to_string(level),
                    "{k" + std::to_string(level + 1) + "}", "");
    text = "{k0}";
    fan.Translate(text);
    EXPECT_EQ(text, "{k" + std::to_string(LanguageDictionary::MaxTranslationDepth) + "}");
}

TEST(LanguageDictionary, LogsDuplicateAndMissingKeys) {
    RecordingLogger logger;
    LanguageDictionary dictionary("$(", ")", &logger);
    dictionary.AddItem("k", "first", "one");
    dictionary.AddItem("k", "second", "two");
    EXPECT_EQ(dictionary.FindItem("k")->GetTranslated(), "first");
    EXPECT_EQ(dictionary.GetTranslation("gone"), "LanguageKey \"gone\" was not found!");
    EXPECT_EQ(logger.messages,
              (std::vector<std::string>{
                  "LanguageDictionary: An item with key \"k\" already exsists!",
                  "LanguageDictionary: Item with key \"gone\" was not found!"}));
    EXPECT_EQ(logger.levels, (std::vector<int>{0, 0}));

    dictionary.Clear();
    EXPECT_EQ(dictionary.FindItem("k"), nullptr);
}

TEST(LanguageDictionary, KeyHelpers) {
    LanguageDictionary dictionary("$(", ")");
    dictionary.AddItem("b", "same", "");
    dictionary.AddItem("a", "same", "");
    EXPECT_EQ(dictionary.MakePlaceholder("key"), "$(key)");
    EXPECT_EQ(dictionary.ExtractKey("$(key)"), "key");
    EXPECT_EQ(dictionary.ExtractKey("key)"), "");
    EXPECT_EQ(dictionary.ExtractKey("$("), "");
    EXPECT_EQ(dictionary.FindKeyOf("same"), "a");
    EXPECT_EQ(dictionary.FindKeyOf("other"), "");

    RecordingLogger logger;
    LanguageDictionary copy("<", ">", &logger);
    copy.AddItem("b", "kept", "");
    dictionary.CopyItemsTo(copy);
    EXPECT_EQ(copy.FindItem("a")->GetTranslated(), "same");
    EXPECT_EQ(copy.FindItem("b")->GetTranslated(), "kept");
    EXPECT_EQ(logger.messages.size(), 1u);
}

TEST(LanguageDictionary, PlainTextRoundTrip) {
    LanguageDictionary dictionary("$(", ")");
    dictionary.AddItem("two", "line one\nline two", "Zeile\neins");
    dictionary.AddItem("one", "single", "");
    std::string text = "kept\n";
    dictionary.ExportPlainText(text);
    EXPECT_EQ(text,
              "kept\n"
              "one=single#Original=\n"
              "two=line one[BR]line two#Original=Zeile[BR]eins\n");

    LanguageDictionary read("$(", ")");
    read.ImportPlainText(text.substr(5) + "three=no line end#Original=x");
    EXPECT_EQ(read.GetItems().size(), 2u);
    EXPECT_EQ(read.FindItem("two")->GetTranslated(), "line one\nline two");
    EXPECT_EQ(read.FindItem("two")->GetSource(), "Zeile[BR]eins");
}
