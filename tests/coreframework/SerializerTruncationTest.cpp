#include <gtest/gtest.h>

#include "ScratchDirectory.h"
#include "coreframework/LanguageDictionary.h"
#include "coreframework/serializer/Serializer.h"

using CustomEnums::SerializerFlag::Import;

namespace {

const char* const sample =
    "<!-- scene --> <Scene version=\"3\" name=\"a b\">\n"
    "\t<count>12</count>\n"
    "\t<unknown>x</unknown>\n"
    "\t<Item kind=\"box\">\n"
    "\t\t<size>1 2.5 3</size>\n"
    "\t\t<Item><size>4</size></Item>\n"
    "\t</Item>\n"
    "\t<title>two words</title>\n"
    "\t<Item>\n"
    "\t\t<size>5 6 7</size>\n"
    "\t</Item>\n"
    "</Scene>\n";

struct SceneReader {
    SceneReader() {
        scene.SetTag("Scene");
        item.SetTag("Item");
        version = scene.AddChunk<int>("version", 0, 0, true);
        name = scene.AddChunk<std::string>("name", "", "", true);
        count = scene.AddChunk<int>("count", 0, 0, false);
        title = scene.AddChunk<std::string>("title", "", "", false);
        size = item.AddChunk<VelmMathLib::Vec3>("size", {}, {}, false);
        scene.AddChild(&item);
    }
    Serializer scene, item;
    TDataChunkValue<int>* version;
    TDataChunkValue<std::string>* name;
    TDataChunkValue<int>* count;
    TDataChunkValue<std::string>* title;
    TDataChunkValue<VelmMathLib::Vec3>* size;
};

}  // namespace

// Whatever piece of a text the reader gets, it stays inside it, answers one of its results,
// never grows the text, and a value it reads is the value the whole text holds.
TEST(SerializerTruncation, EveryPrefixOfASampleText) {
    ScratchDirectory scratch;
    SceneReader whole;
    std::string full = sample;
    ASSERT_EQ(whole.scene.Import(Import, full), Serializer::ImportDone);
    ASSERT_EQ(whole.title->GetValue(), "two words");
    ASSERT_EQ(whole.name->GetValue(), "a b");

    const std::string text = sample;
    for (size_t length = 0; length < text.size(); ++length) {
        SceneReader reader;
        std::string data = text.substr(0, length);
        const int result = reader.scene.Import(Import, data);
        EXPECT_TRUE(result == 0 || result == 1 || result == 109 || result == 112)
            << length << ": " << result;
        EXPECT_LE(data.size(), length);
        const std::pair<const DataChunk*, const DataChunk*> chunks[] = {
            {reader.version, whole.version}, {reader.name, whole.name},
            {reader.count, whole.count},     {reader.title, whole.title},
            {reader.size, whole.size}};
        for (const auto& [read, expected] : chunks) {
            if (read->GetImportCount()) {
                EXPECT_EQ(read->ToString(), expected->ToString()) << length << " " << read->GetName();
            }
        }
    }
    ClearAssertionReports();
}

TEST(SerializerTruncation, EveryPrefixOfATranslationText) {
    ScratchDirectory scratch;
    LanguageDictionary source("$(", ")");
    source.AddItem("greeting", "Hello\nthere", "Hallo");
    source.AddItem("farewell", "Bye", "Tschuess");
    std::string text;
    LanguageDictionaryXMLSerializer::Export(source, text);

    for (size_t length = 0; length <= text.size(); ++length) {
        LanguageDictionary target("$(", ")");
        std::string data = text.substr(0, length);
        LanguageDictionaryXMLSerializer::Import(data, target);
        for (const auto& entry : target.GetItems()) {
            const LanguageItem* original = source.FindItem(entry.first);
            ASSERT_NE(original, nullptr) << length << ": " << entry.first;
            EXPECT_EQ(entry.second->GetTranslated(), original->GetTranslated());
        }
        if (length == text.size()) {
            EXPECT_EQ(target.GetItems().size(), 2u);
        }
    }
    ClearAssertionReports();
}
