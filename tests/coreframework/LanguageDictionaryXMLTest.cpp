#include <gtest/gtest.h>
#include <libxml/parser.h>

#include "RecordingLogger.h"
#include "ScratchDirectory.h"
#include "storyloom/coreframework/LanguageDictionary.h"

// Items in key order, tabs and line feeds as below, line feeds inside texts written as "[BR]"
// (also at either end), every other character, the format's own markup included, as it stands;
// nothing is logged. Texts without markup make a document another XML parser reads.
TEST(LanguageDictionaryXML, ExportShapeOrderAndMarkers) {
    RecordingLogger logger;
    LanguageDictionary dictionary("$(", ")", &logger);
    std::string out = "held before\n";
    LanguageDictionaryXMLSerializer::Export(dictionary, out);
    EXPECT_EQ(out, "held before\n<Language>\n</Language>\n");
    dictionary.AddItem("b", "B\nsecond\n", "\nb source");
    dictionary.AddItem("a</ID><!--", "</Translated>", "<Textitem>");
    out.clear();
    LanguageDictionaryXMLSerializer::Export(dictionary, out);
    EXPECT_EQ(out,
              "<Language>\n"
              "\t<Textitem>\n\t\t<ID>a</ID><!--</ID>\n\t\t<Original><Textitem></Original>\n"
              "\t\t<Translated></Translated></Translated>\n\t</Textitem>\n"
              "\t<Textitem>\n\t\t<ID>b</ID>\n\t\t<Original>[BR]b source</Original>\n"
              "\t\t<Translated>B[BR]second[BR]</Translated>\n\t</Textitem>\n"
              "</Language>\n");
    for (std::size_t length = 1; length <= 20; ++length) {  // a line feed at every place of every length
        for (std::size_t at = 0; at < length; ++at) {
            std::string feeds(length, 'a'), expected(length, 'a');
            feeds[at] = '\n';
            expected.replace(at, 1, "[BR]");
            LanguageDictionary one("$(", ")", &logger);
            one.AddItem("k", feeds, "");
            out.clear();
            LanguageDictionaryXMLSerializer::Export(one, out);
            EXPECT_NE(out.find("<Translated>" + expected + "</Translated>"), std::string::npos) << length << " " << at;
        }
    }
    EXPECT_TRUE(logger.messages.empty());
    LanguageDictionary plain("$(", ")", &logger);
    plain.AddItem("menu.quit", "Quit\nnow", "Quit the game");
    out.clear();
    LanguageDictionaryXMLSerializer::Export(plain, out);
    xmlDocPtr document = xmlReadMemory(out.data(), static_cast<int>(out.size()), "", nullptr, XML_PARSE_NONET);
    EXPECT_NE(document, nullptr) << out;
    xmlFreeDoc(document);
}

// Translated texts get their line feeds back, source texts keep the marker; what the reader does not reach (outside the "Language" node,
// after an unclosed comment, after an unbalanced item) is simply not read, and not logged.
TEST(LanguageDictionaryXML, ImportReadsWhatItReaches) {
    const std::string handWritten =
        "<?xml version=\"1.0\"?>\n<!-- by hand -->\n<Language>\n"
        "  <Textitem>\n    <ID>title</ID>\n    <Original>Ti[BR]tel</Original>\n"
        "    <Translated>Title[BR]Subtitle</Translated>\n  </Textitem>\n"
        "  <Textitem><ID>partial</ID></Textitem>\n  <Other><ID>ignored</ID></Other>\n</Language>\n";
    RecordingLogger logger;
    LanguageDictionary dictionary("$(", ")", &logger);
    std::string data = handWritten;
    LanguageDictionaryXMLSerializer::Import(data, dictionary);
    ASSERT_EQ(dictionary.GetItems().size(), 2u);
    EXPECT_EQ(dictionary.FindItem("title")->GetTranslated(), "Title\nSubtitle");
    EXPECT_EQ(dictionary.FindItem("title")->GetSource(), "Ti[BR]tel");
    EXPECT_EQ(dictionary.FindItem("partial")->GetTranslated(), "");
    EXPECT_TRUE(logger.messages.empty());
    const std::pair<const char*, std::size_t> cases[] = {
        {"<Textitem><ID>a</ID></Textitem>", 0},
        {"<Language>\n<Textitem><ID>a</ID></Textitem>\n<!-- unclosed\n<Textitem><ID>b</ID></Textitem>\n</Language>\n", 1},
        {"<Language>\n<Textitem><ID>a</ID></Textitem>\n<Textitem><ID>b</ID>\n</Language>\n", 1},
    };
    ScratchDirectory scratch;  // the unbalanced item writes a dump file
    for (const auto& [text, items] : cases) {
        RecordingLogger quiet;
        LanguageDictionary read("$(", ")", &quiet);
        std::string data = text;
        LanguageDictionaryXMLSerializer::Import(data, read);
        EXPECT_TRUE(read.GetItems().size() == items && (read.FindItem("a") != nullptr) == (items > 0)) << text;
        EXPECT_TRUE(quiet.messages.empty()) << text;
    }
}
