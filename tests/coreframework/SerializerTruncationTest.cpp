#include <gtest/gtest.h>

#include "ScratchDirectory.h"
#include "storyloom/coreframework/serializer/Serializer.h"

namespace {

const std::string sample =
    "<!-- scene --> <Scene version=\"3\" name=\"a b\">\n"
    "\t<count>12</count>\n"
    "\t<unknown>x</unknown>\n"
    "\t<Item kind=\"box\">\n"
    "\t\t<size>1 2.5 3</size>\n"
    "\t\t<Item><size>4</size></Item>\n"
    "\t</Item>\n"
    "\t<title>two words</title>\n"
    "</Scene>\n";

struct SceneReader {
    SceneReader() {
        scene.SetTag("Scene");
        item.SetTag("Item");
        chunks = {scene.AddChunk<int>("version", 0, 0, true),
                  scene.AddChunk<std::string>("name", "", "", true),
                  scene.AddChunk<int>("count", 0, 0, false),
                  scene.AddChunk<std::string>("title", "", "", false),
                  item.AddChunk<VelmMathLib::Vec3>("size", {}, {}, false)};
        scene.AddChild(&item);
    }
    Serializer scene, item;
    std::vector<DataChunk*> chunks;
};

}  // namespace

// Whatever piece of a text the reader gets, it stays inside it, answers one of its results,
// never grows the text, and every value it reads is the value the whole text holds.
TEST(SerializerTruncation, EveryPrefixOfASampleText) {
    ScratchDirectory scratch;
    SceneReader whole;
    std::string full = sample;
    ASSERT_EQ(whole.scene.Import(CustomEnums::SerializerFlag::Import, full), 0);
    for (size_t length = 0; length < sample.size(); ++length) {
        SceneReader reader;
        std::string data = sample.substr(0, length);
        const int result = reader.scene.Import(CustomEnums::SerializerFlag::Import, data);
        EXPECT_TRUE(result == 0 || result == 1 || result == 109 || result == 112) << length;
        EXPECT_LE(data.size(), length);
        for (size_t i = 0; i < reader.chunks.size(); ++i) {
            if (reader.chunks[i]->GetImportCount()) {
                EXPECT_EQ(reader.chunks[i]->ToString(), whole.chunks[i]->ToString()) << length;
            }
        }
    }
    ClearAssertionReports();
}
