#include <gtest/gtest.h>
#include <libxml/parser.h>

#include <algorithm>
#include <cctype>
#include <iterator>

#include "RecordingLogger.h"
#include "ScratchDirectory.h"
#include "storyloom/coreframework/LanguageDictionary.h"

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

// Line feeds are found wherever they sit in texts of every length; every other character,
// the format's own markup included, is written as it stands, and nothing is logged.
TEST(LanguageDictionaryXML, ExportMarksLineFeedsAnywhereAndWritesMarkupAsItStands) {
    for (std::size_t length = 1; length <= 20; ++length) {
        for (std::size_t at = 0; at < length; ++at) {
            SCOPED_TRACE(testing::Message() << "length " << length << ", at " << at);
            std::string feeds(length, 'a'), expected(length, 'a');
            feeds[at] = '\n';
            feeds.back() = '\n';
            expected.replace(length - 1, 1, "[BR]");
            if (at + 1 < length) expected.replace(at, 1, "[BR]");
            std::string markup(length, 'a');
            markup.insert(at, "</Translated>");

            RecordingLogger logger;
            LanguageDictionary dictionary("$(", ")", &logger);
            dictionary.AddItem("feeds", feeds, feeds);
            dictionary.AddItem(markup + "<!--", markup, "<Textitem>");
            std::string out;
            LanguageDictionaryXMLSerializer::Export(dictionary, out);
            EXPECT_NE(out.find("<ID>feeds</ID>\n\t\t<Original>" + expected + "</Original>\n\t\t<Translated>" +
                               expected + "</Translated>"),
                      std::string::npos);
            EXPECT_NE(out.find("<ID>" + markup + "<!--</ID>\n\t\t<Original><Textitem></Original>\n\t\t<Translated>" +
                               markup + "</Translated>"),
                      std::string::npos);
            EXPECT_TRUE(logger.messages.empty());
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

// Items the reader does not reach (after an unclosed comment, after an unbalanced item, outside
// the "Language" node) are simply not read, and nothing is logged.
TEST(LanguageDictionaryXML, ImportReadsWhatItReachesAndReportsNothing) {
    const std::pair<const char*, std::size_t> cases[] = {
        {"<Language>\n<Textitem><ID>a</ID></Textitem>\n<!-- unclosed\n<Textitem><ID>b</ID></Textitem>\n"
         "<Textitem><ID>c</ID></Textitem>\n</Language>\n",
         1},
        {"<Language>\n<Textitem><ID>a</ID></Textitem>\n<Textitem><ID>b</ID>\n</Language>\n", 1},
        {"<Textitem><ID>a</ID></Textitem>", 0},
    };
    ScratchDirectory scratch;  // the unbalanced item writes a dump file
    for (const auto& [text, items] : cases) {
        RecordingLogger logger;
        LanguageDictionary dictionary("$(", ")", &logger);
        std::string data = text;
        LanguageDictionaryXMLSerializer::Import(data, dictionary);
        EXPECT_EQ(dictionary.GetItems().size(), items) << text;
        EXPECT_EQ(dictionary.FindItem("a") != nullptr, items > 0) << text;
        EXPECT_TRUE(logger.messages.empty()) << text;
    }
}
