#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <map>

#include "RecordingLogger.h"
#include "coreframework/LanguageDictionary.h"

namespace {

// Reads a translation text with an XML parser of its own: key -> (source, translated).
// Answers false when the text is not well-formed XML of the expected shape.
bool ParseWithLibxml(const std::string& text,
                     std::map<std::string, std::pair<std::string, std::string>>& entries) {
    xmlDocPtr doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), "translation.xml",
                                  nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc) return false;
    bool ok = true;
    xmlNodePtr root = xmlDocGetRootElement(doc);
    if (!root || xmlStrcmp(root->name, BAD_CAST "Language") != 0) ok = false;
    for (xmlNodePtr item = root ? root->children : nullptr; ok && item; item = item->next) {
        if (item->type != XML_ELEMENT_NODE) continue;
        std::map<std::string, std::string> fields;
        for (xmlNodePtr field = item->children; field; field = field->next) {
            if (field->type != XML_ELEMENT_NODE) continue;
            xmlChar* content = xmlNodeGetContent(field);
            fields[reinterpret_cast<const char*>(field->name)] =
                content ? reinterpret_cast<const char*>(content) : "";
            xmlFree(content);
        }
        ok = xmlStrcmp(item->name, BAD_CAST "Textitem") == 0 && fields.size() == 3;
        entries[fields["ID"]] = {fields["Original"], fields["Translated"]};
    }
    xmlFreeDoc(doc);
    return ok;
}

}  // namespace

TEST(LanguageDictionaryXML, ExportShape) {
    LanguageDictionary dictionary("$(", ")");
    std::string out = "held before\n";
    LanguageDictionaryXMLSerializer::Export(dictionary, out);
    EXPECT_EQ(out, "held before\n<Language>\n</Language>\n");

    dictionary.AddItem("b", "B\nsecond line", "b source");
    dictionary.AddItem("a", "", "line\nbreak");
    out.clear();
    LanguageDictionaryXMLSerializer::Export(dictionary, out);
    EXPECT_EQ(out,
              "<Language>\n"
              "\t<Textitem>\n"
              "\t\t<ID>a</ID>\n"
              "\t\t<Original>line[BR]break</Original>\n"
              "\t\t<Translated></Translated>\n"
              "\t</Textitem>\n"
              "\t<Textitem>\n"
              "\t\t<ID>b</ID>\n"
              "\t\t<Original>b source</Original>\n"
              "\t\t<Translated>B[BR]second line</Translated>\n"
              "\t</Textitem>\n"
              "</Language>\n");
}

// Translated texts get their line feeds back; source texts keep the marker.
TEST(LanguageDictionaryXML, RoundTripDecodesOnlyTranslatedText) {
    LanguageDictionary source("$(", ")");
    source.AddItem("k", "first\nsecond", "eins\nzwei");
    std::string text = "prefix that stays ";
    LanguageDictionaryXMLSerializer::Export(source, text);

    LanguageDictionary target("$(", ")");
    LanguageDictionaryXMLSerializer::Import(text, target);
    ASSERT_NE(target.FindItem("k"), nullptr);
    EXPECT_EQ(target.FindItem("k")->GetTranslated(), "first\nsecond");
    EXPECT_EQ(target.FindItem("k")->GetSource(), "eins[BR]zwei");
    EXPECT_EQ(text, "prefix that stays <Language>\n\t\n</Language>\n");
}

TEST(LanguageDictionaryXML, ExportIsWellFormedForAnIndependentParser) {
    LanguageDictionary dictionary("$(", ")");
    dictionary.AddItem("menu.start", "Start the game", "Spiel starten");
    dictionary.AddItem("menu.quit", "Quit\nnow", "");
    dictionary.AddItem("", "empty key", "x");
    std::string text;
    LanguageDictionaryXMLSerializer::Export(dictionary, text);

    std::map<std::string, std::pair<std::string, std::string>> entries;
    ASSERT_TRUE(ParseWithLibxml(text, entries)) << text;
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries["menu.start"], std::make_pair(std::string("Spiel starten"),
                                                    std::string("Start the game")));
    EXPECT_EQ(entries["menu.quit"].second, "Quit[BR]now");
    EXPECT_EQ(entries[""].second, "empty key");
}

TEST(LanguageDictionaryXML, ImportsHandWrittenText) {
    const std::string handWritten =
        "<?xml version=\"1.0\"?>\n"
        "<!-- written by hand -->\n"
        "<Language>\n"
        "  <Textitem>\n"
        "    <ID>title</ID>\n"
        "    <Original>Titel</Original>\n"
        "    <Translated>Title[BR]Subtitle</Translated>\n"
        "  </Textitem>\n"
        "  <Textitem><ID>partial</ID></Textitem>\n"
        "  <Other><ID>ignored</ID></Other>\n"
        "</Language>\n";
    xmlDocPtr wellFormed = xmlReadMemory(handWritten.data(), static_cast<int>(handWritten.size()),
                                         "", nullptr, XML_PARSE_NOERROR);
    ASSERT_NE(wellFormed, nullptr);
    xmlFreeDoc(wellFormed);

    RecordingLogger logger;
    LanguageDictionary dictionary("$(", ")", &logger);
    std::string data = handWritten;
    LanguageDictionaryXMLSerializer::Import(data, dictionary);
    ASSERT_EQ(dictionary.GetItems().size(), 2u);
    EXPECT_EQ(dictionary.FindItem("title")->GetTranslated(), "Title\nSubtitle");
    EXPECT_EQ(dictionary.FindItem("title")->GetSource(), "Titel");
    EXPECT_EQ(dictionary.FindItem("partial")->GetTranslated(), "");

    // A second import keeps every entry and logs each existing key once.
    data = handWritten;
    LanguageDictionaryXMLSerializer::Import(data, dictionary);
    EXPECT_EQ(dictionary.GetItems().size(), 2u);
    EXPECT_EQ(logger.messages,
              (std::vector<std::string>{
                  "LanguageDictionary: An item with key \"title\" already exsists!",
                  "LanguageDictionary: An item with key \"partial\" already exsists!"}));

    // Without a Language node nothing is read.
    data = "<Textitem><ID>lost</ID></Textitem>";
    LanguageDictionaryXMLSerializer::Import(data, dictionary);
    EXPECT_EQ(dictionary.FindItem("lost"), nullptr);
}
