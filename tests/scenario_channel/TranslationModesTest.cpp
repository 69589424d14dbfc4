#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <string>
#include <vector>

#include "ModeTestSupport.h"
#include "storyloom/coreframework/LanguageDictionary.h"
#include "storyloom/host/EngineHost.h"
#include "storyloom/host/ScenarioCore.h"
#include "storyloom/scenario_channel/Aco_Storyloom.h"

namespace {

using Log = std::vector<std::string>;

// One dictionary entry as the XML text carries it.
struct XmlEntry {
    std::string id, original, translated;
    bool operator==(const XmlEntry& o) const {
        return id == o.id && original == o.original && translated == o.translated;
    }
};

std::string ContentOf(xmlNodePtr node) {
    xmlChar* content = xmlNodeGetContent(node);
    std::string text = content ? reinterpret_cast<const char*>(content) : "";
    xmlFree(content);
    return text;
}

// Reads an exported translation text with libxml2, in document order. Fails the test when
// the text is not one "Language" element of "Textitem" elements.
std::vector<XmlEntry> ReadWithLibxml2(const std::string& xml) {
    std::vector<XmlEntry> entries;
    xmlDocPtr doc = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "translation.xml", nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    EXPECT_NE(doc, nullptr) << xml;
    if (!doc) return entries;
    xmlNodePtr root = xmlDocGetRootElement(doc);
    EXPECT_TRUE(root && xmlStrcmp(root->name, BAD_CAST "Language") == 0);
    for (xmlNodePtr item = root ? root->children : nullptr; item; item = item->next) {
        if (item->type != XML_ELEMENT_NODE) continue;
        EXPECT_STREQ(reinterpret_cast<const char*>(item->name), "Textitem");
        XmlEntry entry;
        for (xmlNodePtr field = item->children; field; field = field->next) {
            if (field->type != XML_ELEMENT_NODE) continue;
            const std::string name = reinterpret_cast<const char*>(field->name);
            if (name == "ID") entry.id = ContentOf(field);
            else if (name == "Original") entry.original = ContentOf(field);
            else if (name == "Translated") entry.translated = ContentOf(field);
            else ADD_FAILURE() << "unexpected element " << name;
        }
        entries.push_back(entry);
    }
    xmlFreeDoc(doc);
    return entries;
}

class TranslationModesTest : public ::testing::Test {
protected:
    void SetUp() override {
        scenario = NewScenario();
        scenarioRef.SetRef(scenario);
        Core::ClearErrorLog();
    }
    void TearDown() override {
        for (Core::Scenario* made : scenarios) manager.DestroyScenario(made);
    }
    Core::Scenario* NewScenario() { return scenarios.emplace_back(manager.CreateScenario()); }

    static float Run(unsigned mode, std::initializer_list<A3d_Channel*> children) {
        Aco_Storyloom channel;
        BuildChannel(channel, mode, children);
        return channel.GetFloat();
    }

    // Adds an entry through an "AddItem" channel; a null text is a channel holding no text.
    float AddThroughChannel(const char* key, const char* translated, const char* original) {
        Aco_StringChannel texts[3];
        texts[0].SetString(key);
        texts[1].SetString(translated);
        texts[2].SetString(original);
        return Run(MODE_Scenario_Translation_AddItem, {&scenarioRef, &texts[0], &texts[1], &texts[2]});
    }

    LanguageDictionary& Dictionary() { return scenario->GetLanguageDictionary(); }

    Core::ScenarioManager& manager = Core::CoreEngine::Instance().GetScenarioManager();
    std::vector<Core::Scenario*> scenarios;
    Core::Scenario* scenario = nullptr;
    Aco_CoreRef scenarioRef;
};

// Entries added by channels come out of "Export" in key order and are read back by an
// independent XML parser with the same texts; a second export doubles "Data".
TEST_F(TranslationModesTest, FilledByChannelsExportedAndReadByLibxml2) {
    EXPECT_EQ(AddThroughChannel("greeting", "Hello", "Hallo"), 0.0f);
    EXPECT_EQ(AddThroughChannel("farewell", "Good\nbye", "Auf\nWiedersehen"), 0.0f);
    EXPECT_EQ(AddThroughChannel(nullptr, "under the empty key", nullptr), 0.0f);
    EXPECT_EQ(AddThroughChannel("greeting", "Hi", "Servus"), 0.0f);  // existing key kept

    Aco_StringChannel data;
    EXPECT_EQ(Run(MODE_Scenario_Translation_Export, {&scenarioRef, &data}), 0.0f);
    ASSERT_NE(data.GetString(), nullptr);
    const std::string xml = data.GetString();
    const std::vector<XmlEntry> expected = {
        {"", "", "under the empty key"},
        {"farewell", "Auf[BR]Wiedersehen", "Good[BR]bye"},
        {"greeting", "Hallo", "Hello"},
    };
    EXPECT_EQ(ReadWithLibxml2(xml), expected);

    EXPECT_EQ(Run(MODE_Scenario_Translation_Export, {&scenarioRef, &data}), 0.0f);
    EXPECT_EQ(std::string(data.GetString()), xml + xml);
}

// An exported text imported into an empty dictionary gives back every entry; "Data" stays.
TEST_F(TranslationModesTest, ImportOfExportIntoEmptyDictionary) {
    Dictionary().AddItem("a", "first\nline", "eins");
    Dictionary().AddItem("b", "second", "zwei");
    Aco_StringChannel data;
    ASSERT_EQ(Run(MODE_Scenario_Translation_Export, {&scenarioRef, &data}), 0.0f);
    const std::string exported = data.GetString();

    Core::Scenario* empty = NewScenario();
    Aco_CoreRef emptyRef;
    emptyRef.SetRef(empty);
    EXPECT_EQ(Run(MODE_Scenario_Translation_Import, {&emptyRef, &data}), 0.0f);
    EXPECT_EQ(std::string(data.GetString()), exported);
    LanguageDictionary& imported = empty->GetLanguageDictionary();
    ASSERT_EQ(imported.GetItems().size(), 2u);
    for (const char* key : {"a", "b"}) {
        ASSERT_NE(imported.FindItem(key), nullptr) << key;
        EXPECT_EQ(imported.FindItem(key)->GetTranslated(), Dictionary().FindItem(key)->GetTranslated());
        EXPECT_EQ(imported.FindItem(key)->GetSource(), Dictionary().FindItem(key)->GetSource());
    }
}

// Placeholders built from the markers that "GetPrefixSuffix" gives are translated once and
// for all; after "Clear" they turn into the not-found text.
TEST_F(TranslationModesTest, TranslateThenClear) {
    ASSERT_EQ(AddThroughChannel("greeting", "Hello", ""), 0.0f);
    Aco_StringChannel prefix, suffix;
    ASSERT_EQ(Run(MODE_Scenario_Translation_GetPrefixSuffix, {&scenarioRef, &prefix, &suffix}), 0.0f);
    ASSERT_TRUE(prefix.GetString() && suffix.GetString());
    EXPECT_EQ(std::string(prefix.GetString()), Dictionary().GetKeyPrefix());
    EXPECT_EQ(std::string(suffix.GetString()), Dictionary().GetKeySuffix());
    const std::string text = std::string("Say ") + prefix.GetString() + "greeting" + suffix.GetString() + "!";

    Aco_StringChannel data;
    data.SetString(text.c_str());
    EXPECT_EQ(Run(MODE_Scenario_Translation_Translate, {&scenarioRef, &data}), 0.0f);
    EXPECT_EQ(std::string(data.GetString()), "Say Hello!");
    EXPECT_EQ(Run(MODE_Scenario_Translation_Translate, {&scenarioRef, &data}), 0.0f);
    EXPECT_EQ(std::string(data.GetString()), "Say Hello!");

    EXPECT_EQ(Run(MODE_Scenario_Translation_Clear, {&scenarioRef}), 0.0f);
    EXPECT_TRUE(Dictionary().GetItems().empty());
    data.SetString(text.c_str());
    EXPECT_EQ(Run(MODE_Scenario_Translation_Translate, {&scenarioRef, &data}), 0.0f);
    EXPECT_EQ(std::string(data.GetString()), "Say LanguageKey \"greeting\" was not found!!");
}

// A failing link stops the mode with its report; the dictionary and the texts stay.
TEST_F(TranslationModesTest, FailuresReportTheLinkAndChangeNothing) {
    enum class Fault { NoScenario, EntityAsScenario, EmptyText };
    struct Case {
        unsigned mode;
        const char* shortName;
        unsigned texts;  // text links after the scenario
        Fault fault;
        unsigned emptyLink;
        const char* report;
    };
    const Case cases[] = {
        {MODE_Scenario_Translation_Export, "Scenario_Translation_Export", 1, Fault::NoScenario, 0,
         "ChildLinkError[CoreScenario]"},
        {MODE_Scenario_Translation_Clear, "Scenario_Translation_Clear", 0, Fault::EntityAsScenario, 0,
         "ChildLinkInvalid[CoreScenario]"},
        {MODE_Scenario_Translation_Export, "Scenario_Translation_Export", 1, Fault::EmptyText, 1,
         "ChildLinkError[Data]"},
        {MODE_Scenario_Translation_Import, "Scenario_Translation_Import", 1, Fault::EmptyText, 1,
         "ChildLinkError[Data]"},
        {MODE_Scenario_Translation_Translate, "Scenario_Translation_Translate", 1, Fault::EmptyText, 1,
         "ChildLinkError[Data]"},
        {MODE_Scenario_Translation_AddItem, "Scenario_Translation_AddItem", 3, Fault::EmptyText, 1,
         "ChildLinkError[Key]"},
        {MODE_Scenario_Translation_AddItem, "Scenario_Translation_AddItem", 3, Fault::EmptyText, 3,
         "ChildLinkError[Original]"},
        {MODE_Scenario_Translation_GetPrefixSuffix, "Scenario_Translation_GetPrefixSuffix", 2, Fault::EmptyText, 1,
         "ChildLinkError[KeyPrefix]"},
    };
    Core::StaticMeshEntity entity("crate", {0.0f, 0.0f, 0.0f}, 1.0f);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.report);
        Dictionary().Clear();
        Dictionary().AddItem("kept", "stays", "");
        Core::ClearErrorLog();

        Aco_CoreRef ref;
        ref.SetRef(c.fault == Fault::EntityAsScenario ? static_cast<Core::RefSupport*>(&entity) : scenario);
        Aco_Storyloom channel;
        BuildChannel(channel, c.mode, {c.fault == Fault::NoScenario ? nullptr : &ref});
        std::vector<Aco_StringChannel> texts(c.texts);
        for (unsigned link = 1; link <= c.texts; ++link) {
            texts[link - 1].SetString("text");
            if (link != c.emptyLink) {
                ASSERT_TRUE(channel.LinkChild(link, &texts[link - 1]));
            }
        }
        EXPECT_EQ(channel.GetFloat(), c.fault == Fault::EntityAsScenario ? 106.0f : 105.0f);
        EXPECT_EQ(Core::GetErrorLog(), Log{EvaluationReport(c.shortName, c.report)});
        EXPECT_EQ(Dictionary().GetItems().size(), 1u);
        for (Aco_StringChannel& text : texts) EXPECT_STREQ(text.GetString(), "text");
    }
}

// A prefix written before a failing suffix stays written.
TEST_F(TranslationModesTest, GetPrefixSuffixKeepsThePrefixWhenTheSuffixFails) {
    Aco_StringChannel prefix;
    EXPECT_EQ(Run(MODE_Scenario_Translation_GetPrefixSuffix, {&scenarioRef, &prefix}), 105.0f);
    ASSERT_NE(prefix.GetString(), nullptr);
    EXPECT_EQ(std::string(prefix.GetString()), Dictionary().GetKeyPrefix());
    EXPECT_EQ(Core::GetErrorLog(),
              Log{EvaluationReport("Scenario_Translation_GetPrefixSuffix", "ChildLinkError[KeySuffix]")});
}

}  // namespace
