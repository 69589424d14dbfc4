// The translation modes on the dictionary of a scenario.
#include "storyloom/coreframework/LanguageDictionary.h"
#include "storyloom/coreframework/LanguageDictionaryXMLSerializer.h"
#include "support/ModeTestSupport.h"

namespace {

class TranslationModes : public ModeTest {
protected:
    void SetUp() override {
        ModeTest::SetUp();
        scenario = Manager().CreateScenario();
        scenarioRef.SetRef(scenario);
    }
    // Adds an entry through an "AddItem" channel; a null text is a channel holding no text.
    float AddItem(const char* key, const char* translated, const char* original) {
        return Mode(MODE_Scenario_Translation_AddItem,
                    {&scenarioRef, &Text("Key", key), &Text("Translation", translated), &Text("Original", original)})
            .GetFloat();
    }
    LanguageDictionary& Dictionary() { return scenario->GetLanguageDictionary(); }

    Core::Scenario* scenario = nullptr;
    Aco_CoreRef& scenarioRef = Ref("scenario");
};

// Entries added by channels (an existing key kept) come out of "Export" as the dictionary's
// own export writes them, behind what "Data" held; imported into an empty dictionary they
// give back every entry, and "Data" stays.
TEST_F(TranslationModes, AddExportImport) {
    EXPECT_EQ(AddItem("greeting", "Hello", "Hallo"), 0.0f);
    EXPECT_EQ(AddItem("farewell", "Good\nbye", "Tschuess"), 0.0f);
    EXPECT_EQ(AddItem(nullptr, "under the empty key", nullptr), 0.0f);
    EXPECT_EQ(AddItem("greeting", "Hi", "Servus"), 0.0f);
    ASSERT_EQ(Dictionary().GetItems().size(), 3u);
    ASSERT_NE(Dictionary().FindItem(""), nullptr);
    EXPECT_EQ(Dictionary().FindItem("")->GetSource(), "");
    EXPECT_EQ(Dictionary().FindItem("greeting")->GetTranslated(), "Hello");

    std::string xml;
    LanguageDictionaryXMLSerializer::Export(Dictionary(), xml);
    Aco_StringChannel& data = Text("Data");
    Aco_Storyloom& exporter = Mode(MODE_Scenario_Translation_Export, {&scenarioRef, &data});
    EXPECT_EQ(exporter.GetFloat(), 0.0f);
    EXPECT_EQ(TextOf(data), xml);
    EXPECT_EQ(exporter.GetFloat(), 0.0f);
    EXPECT_EQ(TextOf(data), xml + xml);

    Core::Scenario* empty = Manager().CreateScenario();
    Aco_StringChannel& imported = Text("Data", xml.c_str());
    EXPECT_EQ(Mode(MODE_Scenario_Translation_Import, {&Ref("empty", empty), &imported}).GetFloat(), 0.0f);
    EXPECT_EQ(TextOf(imported), xml);
    const LanguageDictionary& copy = empty->GetLanguageDictionary();
    ASSERT_EQ(copy.GetItems().size(), 3u);
    for (const char* key : {"", "farewell", "greeting"}) {
        ASSERT_NE(copy.FindItem(key), nullptr) << key;
        EXPECT_EQ(copy.FindItem(key)->GetTranslated(), Dictionary().FindItem(key)->GetTranslated());
        EXPECT_EQ(copy.FindItem(key)->GetSource(), Dictionary().FindItem(key)->GetSource());
    }
}

// Placeholders built from the markers that "GetPrefixSuffix" gives are translated once and
// for all; after "Clear" they turn into the not-found text. A prefix written before a failing
// suffix stays written.
TEST_F(TranslationModes, TranslateThenClear) {
    ASSERT_EQ(AddItem("greeting", "Hello", ""), 0.0f);
    Aco_StringChannel &prefix = Text("KeyPrefix"), &suffix = Text("KeySuffix");
    EXPECT_EQ(Mode(MODE_Scenario_Translation_GetPrefixSuffix, {&scenarioRef, &prefix}).GetFloat(), 105.0f);
    EXPECT_EQ(TextOf(prefix), Dictionary().GetKeyPrefix());
    ASSERT_EQ(Mode(MODE_Scenario_Translation_GetPrefixSuffix, {&scenarioRef, &prefix, &suffix}).GetFloat(), 0.0f);
    EXPECT_EQ(TextOf(suffix), Dictionary().GetKeySuffix());
    const std::string text = "Say " + TextOf(prefix) + "greeting" + TextOf(suffix) + "!";

    Aco_StringChannel& data = Text("Data", text.c_str());
    Aco_Storyloom& translate = Mode(MODE_Scenario_Translation_Translate, {&scenarioRef, &data});
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(translate.GetFloat(), 0.0f);
        EXPECT_EQ(TextOf(data), "Say Hello!");
    }
    EXPECT_EQ(Mode(MODE_Scenario_Translation_Clear, {&scenarioRef}).GetFloat(), 0.0f);
    EXPECT_TRUE(Dictionary().GetItems().empty());
    data.SetString(text.c_str());
    EXPECT_EQ(translate.GetFloat(), 0.0f);
    EXPECT_EQ(TextOf(data), "Say LanguageKey \"greeting\" was not found!!");
    ExpectLog({EvaluationReport("Scenario_Translation_GetPrefixSuffix", "ChildLinkError[KeySuffix]")});
}

}  // namespace
