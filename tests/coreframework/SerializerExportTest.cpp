#include <gtest/gtest.h>

#include "coreframework/serializer/Serializer.h"

using CustomEnums::SerializerFlag::State;

TEST(SerializerExport, TagTreeWithTabsAndLineFeeds) {
    Serializer language, item;
    language.SetTag("Language");
    item.SetTag("Textitem");
    item.AddChunk<std::string>("ID", "k", "", false);
    language.AddChild(&item);

    std::string out = "before\n";
    EXPECT_EQ(language.Export(CustomEnums::SerializerFlag::Export, out, 0), 0);
    EXPECT_EQ(out,
              "before\n"
              "<Language>\n"
              "\t<Textitem>\n"
              "\t\t<ID>k</ID>\n"
              "\t</Textitem>\n"
              "</Language>\n");
}

// Any state but Export writes the chunk lines only, at the given indent, at every depth.
TEST(SerializerExport, OtherStatesWriteNoTagsAtAnyDepth) {
    Serializer root, child, grandChild;
    root.SetTag("Root");
    root.AddChunk<int>("a", 1, 0, true);
    root.AddChunk<int>("b", 2, 0, false);
    child.SetTag("Child");
    child.AddChunk<float>("c", 1.5f, 0.0f, false);
    grandChild.SetTag("Grand");
    grandChild.AddChunk<bool>("d", true, false, false);
    root.AddChild(&child);
    child.AddChild(&grandChild);

    for (int state : {1, 2, 3, 4}) {
        std::string out;
        root.Export(static_cast<State>(state), out, 2);
        EXPECT_EQ(out, "\t\t<b>2</b>\n\t\t<c>1.5</c>\n\t\t<d>true</d>\n") << state;
    }
}

TEST(SerializerExport, WhichChunksAreWritten) {
    struct Case {
        std::uint16_t flags;
        bool holdsDefault;
        bool written;
    };
    const Case cases[] = {
        {0, true, false},
        {0, false, true},
        {DataChunk::AlwaysWrite, true, true},
        {DataChunk::NeverWrite, false, false},
        {DataChunk::NeverWrite, true, false},
        {DataChunk::NeverWrite | DataChunk::AlwaysWrite, true, true},
    };
    for (const Case& c : cases) {
        for (bool attribute : {false, true}) {
            Serializer node;
            node.SetTag("N");
            node.AddChunk<int>("x", c.holdsDefault ? 0 : 5, 0, attribute)->SetFlags(c.flags);
            std::string out;
            node.Export(CustomEnums::SerializerFlag::Export, out, 0);
            const std::string value = c.holdsDefault ? "0" : "5";
            const std::string expected =
                !c.written  ? "<N>\n</N>\n"
                : attribute ? "<N x=\"" + value + "\">\n</N>\n"
                            : "<N>\n\t<x>" + value + "</x>\n</N>\n";
            EXPECT_EQ(out, expected) << c.flags << " " << c.holdsDefault << " " << attribute;
        }
    }
}

TEST(SerializerExport, ChunkNamesAreUniquePerList) {
    Serializer node;
    ASSERT_NE(node.AddChunk<int>("x", 1, 0, false), nullptr);
    EXPECT_EQ(node.AddChunk<int>("x", 2, 0, false), nullptr);
    EXPECT_NE(node.AddChunk<int>("x", 3, 0, true), nullptr);
    EXPECT_EQ(node.FindChunk("x", false)->ToString(), "1");
    EXPECT_EQ(node.FindChunk("x", true)->ToString(), "3");
    EXPECT_EQ(node.FindChunk("y", false), nullptr);

    int variable = 7;
    EXPECT_FALSE(node.AdoptChunk(new TDataChunkPtr<int>("x", &variable, 0), false));
    EXPECT_TRUE(node.AdoptChunk(new TDataChunkPtr<int>("y", &variable, 0), false));
    variable = 8;
    std::string out;
    node.Export(CustomEnums::SerializerFlag::Import, out, 0);
    EXPECT_EQ(out, "<x>1</x>\n<y>8</y>\n");
}
