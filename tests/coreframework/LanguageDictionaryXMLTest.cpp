#include <gtest/gtest.h>
#include <libxml/parser.h>

#include <algorithm>
#include <cctype>
#include <iterator>

#include "RecordingLogger.h"
#include "ScratchDirectory.h"
#include "coreframework/LanguageDictionary.h"

TEST(LanguageDictionaryXML, ExportShapeAndOrder) {
    LanguageDictionary dictionary("$(", ")");
    std::string out = "held before\n";
    LanguageDictionaryXMLSerializer::Export(dictionary, out);
    EXPECT_EQ(out, "held before\n<Language>\n</Language>\n");

    dictionary.AddItem("b", "B\nsecond", "b source");
    dictionary.AddItem("a", "", "line\nbreak");
    out.clear();
    LanguageDictionaryXMLSerializer::Export(dictionary, out);
    EXPECT_EQ(out,
              "<Language>\n"
              "\t<Textitem>\n\t\t<ID>a</ID>\n\t\t<Original>line[BR]break</Original>\n"
              "\t\t<Translated></Translated>\n\t</Textitem>\n"
              "\t<Textitem>\n\t\t<ID>b</ID>\n\t\t<Original>b source</Original>\n"
              "\t\t<Translated>B[BR]second</Translated>\n\t</Textitem>\n"
              "</Language>\n");
}

// Another parser reads the exported text as XML with the same items and texts.
TEST(LanguageDictionaryXML, ExportIsWellFormedXml) {
    LanguageDictionary dictionary("$(", ")");
    dictionary.AddItem("menu.start", "Start the game", "Spiel starten");
    dictionary.AddItem("menu.quit", "Quit\nnow", "");
    std::string text;
    LanguageDictionaryXMLSerializer::Export(dictionary, text);

    xmlDocPtr doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), "", nullptr, 0);
    ASSERT_NE(doc, nullptr) << text;
    xmlChar* content = xmlNodeGetContent(xmlDocGetRootElement(doc));
    std::string words(reinterpret_cast<const char*>(content));
    xmlFree(content);
    xmlFreeDoc(doc);
    words.erase(std::remove_if(words.begin(), words.end(), isspace), words.end());
    EXPECT_EQ(words, "menu.quitQuit[BR]nowmenu.startSpielstartenStartthegame");
}

// Line feeds and markup are found wherever they sit in texts of every length, and the refusal
// names the first piece of markup of the first text holding one: key, source, translation.
TEST(LanguageDictionaryXML, ExportFindsLineFeedsAndMarkupAnywhere) {
    for (std::size_t length = 1; length <= 20; ++length) {
        for (std::size_t at = 0; at < length; ++at) {
            SCOPED_TRACE(testing::Message() << "length " << length << ", at " << at);
            std::string feeds(length, 'a'), expected(length, 'a');
            feeds[at] = '\n';
            feeds.back() = '\n';
            expected.replace(length - 1, 1, "[BR]");
            if (at + 1 < length) expected.replace(at, 1, "[BR]");
            std::string markup(length, 'a');
            markup.insert(at, "<ID>");

            RecordingLogger logger;
            LanguageDictionary dictionary("$(", ")", &logger);
            dictionary.AddItem("feeds", feeds, feeds);
            dictionary.AddItem("less", std::string(length, 'a') + "<", "<" + std::string(at, 'a'));
            dictionary.AddItem("markup", markup, "</Original>" + std::string(at, 'a'));
            dictionary.AddItem(markup + "<Textitem ", "", "<!--");
            std::string out;
            EXPECT_FALSE(LanguageDictionaryXMLSerializer::Export(dictionary, out));
            EXPECT_NE(out.find("<ID>feeds</ID>\n\t\t<Original>" + expected + "</Original>\n\t\t<Translated>" +
                               expected + "</Translated>"),
                      std::string::npos);
            EXPECT_NE(out.find("<Original><" + std::string(at, 'a') + "</Original>"), std::string::npos);
            const std::string refused = "LanguageDictionaryXMLSerializer: The item with key \"";
            const std::string cannot = ", which a translation text cannot store; it was not exported!";
            EXPECT_EQ(logger.messages, (std::vector<std::string>{
                                           refused + markup + "<Textitem \" holds \"<Textitem \"" + cannot,
                                           refused + "markup\" holds \"</Original>\"" + cannot}));
        }
    }
}

// Translated texts get their line feeds back; source texts keep the marker.
TEST(LanguageDictionaryXML, ImportsHandWrittenTextOnce) {
    const std::string handWritten =
        "<?xml version=\"1.0\"?>\n<!-- by hand -->\n<Language>\n"
        "  <Textitem>\n    <ID>title</ID>\n    <Original>Ti[BR]tel</Original>\n"
        "    <Translated>Title[BR]Subtitle</Translated>\n  </Textitem>\n"
        "  <Textitem><ID>partial</ID></Textitem>\n"
        "  <Other><ID>ignored</ID></Other>\n"
        "</Language>\n";
    RecordingLogger logger;
    LanguageDictionary dictionary("$(", ")", &logger);
    for (int pass = 0; pass < 2; ++pass) {
        std::string data = handWritten;
        LanguageDictionaryXMLSerializer::Import(data, dictionary);
    }
    ASSERT_EQ(dictionary.GetItems().size(), 2u);
    EXPECT_EQ(dictionary.FindItem("title")->GetTranslated(), "Title\nSubtitle");
    EXPECT_EQ(dictionary.FindItem("title")->GetSource(), "Ti[BR]tel");
    EXPECT_EQ(dictionary.FindItem("partial")->GetTranslated(), "");
    EXPECT_EQ(logger.messages,
              (std::vector<std::string>{
                  "LanguageDictionary: An item with key \"title\" already exsists!",
                  "LanguageDictionary: An item with key \"partial\" already exsists!"}));

    std::string withoutRoot = "<Textitem><ID>lost</ID></Textitem>";
    LanguageDictionaryXMLSerializer::Import(withoutRoot, dictionary);
    EXPECT_EQ(dictionary.FindItem("lost"), nullptr);
}

// A text holding markup of the format cannot be stored: export leaves its entry out with a
// line naming the key, and everything it did write reads back whole.
TEST(LanguageDictionaryXML, UnstorableTextsAreReportedNeverLostSilently) {
    struct Case {
        const char* key;
        const char* translated;
        const char* source;
    };
    const Case unstorable[] = {
        {"comment", "see <!-- here", ""}, {"closing", "</Textitem>", ""},
        {"opening", "", "<Textitem>"},    {"id", "", "a</ID>b"},
        {"x<Original>", "", ""},          {"tr", "<Translated>", ""},
    };
    RecordingLogger logger;
    LanguageDictionary dictionary("$(", ")", &logger);
    dictionary.AddItem("a", "first <b>bold</b>", "");
    for (const Case& c : unstorable) dictionary.AddItem(c.key, c.translated, c.source);
    dictionary.AddItem("z", "last\nline", "-->");

    std::string text;
    EXPECT_FALSE(LanguageDictionaryXMLSerializer::Export(dictionary, text));
    ASSERT_EQ(logger.messages.size(), std::size(unstorable));
    for (const Case& c : unstorable) {
        const std::string named = std::string("item with key \"") + c.key + "\"";
        EXPECT_EQ(std::count_if(logger.messages.begin(), logger.messages.end(),
                                [&](const std::string& m) { return m.find(named) != std::string::npos; }),
                  1)
            << c.key;
    }

    RecordingLogger readLogger;
    LanguageDictionary read("$(", ")", &readLogger);
    LanguageDictionaryXMLSerializer::Import(text, read);
    EXPECT_TRUE(readLogger.messages.empty());
    ASSERT_EQ(read.GetItems().size(), 2u);
    EXPECT_EQ(read.FindItem("a")->GetTranslated(), "first <b>bold</b>");
    EXPECT_EQ(read.FindItem("z")->GetTranslated(), "last\nline");
}

// Items the reader cannot reach are counted in one line instead of vanishing.
TEST(LanguageDictionaryXML, ImportCountsItemsItCouldNotRead) {
    const std::pair<const char*, const char*> cases[] = {
        {"<Language>\n<Textitem><ID>a</ID></Textitem>\n<!-- unclosed\n<Textitem><ID>b</ID></Textitem>\n"
         "<Textitem><ID>c</ID></Textitem>\n</Language>\n",
         "2 of 3 items could not be read!"},
        {"<Language>\n<Textitem><ID>a</ID></Textitem>\n<Textitem><ID>b</ID>\n</Language>\n",
         "1 of 2 items could not be read!"},
        {"<Textitem><ID>a</ID></Textitem>", "1 of 1 items could not be read!"},
    };
    ScratchDirectory scratch;  // the unbalanced item writes a dump file
    for (const auto& [text, expected] : cases) {
        RecordingLogger logger;
        LanguageDictionary dictionary("$(", ")", &logger);
        std::string data = text;
        LanguageDictionaryXMLSerializer::Import(data, dictionary);
        ASSERT_EQ(logger.messages.size(), 1u) << text;
        EXPECT_EQ(logger.messages[0], std::string("LanguageDictionaryXMLSerializer: ") + expected);
    }
}
