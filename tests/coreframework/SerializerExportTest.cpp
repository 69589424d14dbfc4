#include <gtest/gtest.h>

#include "storyloom/coreframework/serializer/Serializer.h"

// Only state Export writes node tags; any other writes the chunk lines at the given indent.
TEST(SerializerExport, TagTreeWithTabsAndLineFeeds) {
    Serializer language, item;
    language.SetTag("Language");
    language.AddChunk<int>("version", 2, 0, true);
    item.SetTag("Textitem");
    item.AddChunk<std::string>("ID", "k", "", false);
    language.AddChild(&item);
    std::string out = "before\n";
    language.Export(CustomEnums::SerializerFlag::Export, out, 0);
    EXPECT_EQ(out, "before\n<Language version=\"2\">\n\t<Textitem>\n\t\t<ID>k</ID>\n\t</Textitem>\n"
                   "</Language>\n");
    for (int state : {1, 4}) {
        out.clear();
        language.Export(static_cast<CustomEnums::SerializerFlag::State>(state), out, 2);
        EXPECT_EQ(out, "\t\t<ID>k</ID>\n") << state;
    }
}

TEST(SerializerExport, WhichChunksAreWritten) {
    struct Case {
        std::uint16_t flags;
        int value;  // 0 is the default
        bool written;
    } const cases[] = {{0, 0, false},
                       {0, 5, true},
                       {DataChunk::AlwaysWrite, 0, true},
                       {DataChunk::NeverWrite, 5, false},
                       {DataChunk::NeverWrite | DataChunk::AlwaysWrite, 0, true}};
    for (const Case& c : cases) {
        for (bool attribute : {false, true}) {
            Serializer node;
            node.SetTag("N");
            node.AddChunk<int>("x", c.value, 0, attribute)->SetFlags(c.flags);
            std::string out;
            node.Export(CustomEnums::SerializerFlag::Export, out, 0);
            const std::string v = std::to_string(c.value);
            EXPECT_EQ(out, !c.written  ? "<N>\n</N>\n"
                           : attribute ? "<N x=\"" + v + "\">\n</N>\n"
                                       : "<N>\n\t<x>" + v + "</x>\n</N>\n");
        }
    }
    Serializer node;
    EXPECT_NE(node.AddChunk<int>("x", 1, 0, false), nullptr);
    EXPECT_EQ(node.AddChunk<int>("x", 2, 0, false), nullptr);  // names are unique per list
    EXPECT_NE(node.AddChunk<int>("x", 3, 0, true), nullptr);
}
