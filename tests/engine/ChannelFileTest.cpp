#include <gtest/gtest.h>

#include <cstdio>

#include "storyloom/host/EngineHost.h"

namespace {

TEST(ChannelFile, BlocksAreTagSizeAndData) {
    A3dFileSaver saver;
    EXPECT_EQ(saver.SaveTag("TOOLONG"), 0);
    EXPECT_EQ(saver.SaveTag("AB"), 0);
    ASSERT_NE(saver.SaveTag("ABCD"), 0);
    saver.SaveBlockSize(2);
    const unsigned char data[] = {0xAA, 0xBB};
    saver.SaveDataToFile(data, 2);
    const std::vector<unsigned char> expected = {'A', 'B', 'C', 'D', 2, 0, 0, 0, 0xAA, 0xBB};
    EXPECT_EQ(saver.GetBytes(), expected);
}

TEST(ChannelFile, LoaderWalksBlocksAndStopsAtACutOffOne) {
    A3dFileSaver saver;
    saver.SaveTag("ONE_");
    saver.SaveBlockSize(1);
    saver.SaveDataToFile("x", 1);
    saver.SaveTag("TWO_");
    saver.SaveBlockSize(0);
    std::vector<unsigned char> bytes = saver.GetBytes();
    bytes.insert(bytes.end(), {'C', 'U', 'T', '_', 50, 0, 0, 0, 1});  // claims 50 bytes, has 1

    A3dFileLoader loader(bytes);
    EXPECT_FALSE(loader.GetInfoIfTag("TWO_"));
    ASSERT_TRUE(loader.GetInfoIfTag("ONE_"));
    EXPECT_EQ(loader.GetSizeDataBlock(false), 1u);
    EXPECT_EQ(loader.GetSizeDataBlock(true), 9u);
    char c = 0;
    loader.CopyTagDataToPointer(&c);
    EXPECT_EQ(c, 'x');
    ASSERT_TRUE(loader.GetInfoIfTag("TWO_"));
    loader.SkipCurrentTag();
    EXPECT_FALSE(loader.GetInfoIfTag("CUT_"));
    EXPECT_EQ(loader.GetSizeDataBlock(false), 0u);
    loader.SkipCurrentTag();
    EXPECT_TRUE(loader.AtEnd());
}

// Through a file on disk: a missing name or text stays missing, an empty text stays empty,
// and loading joins the channel to the group given.
TEST(ChannelFile, ChannelsRoundTripThroughAFile) {
    Aco_StringChannel noText, emptyText, text;
    noText.SetChannelName(nullptr);
    emptyText.SetString("");
    text.SetChannelName("greeting");
    text.SetString("Hello 100%");
    A3dFileSaver saver;
    for (A3d_Channel* ch : std::initializer_list<A3d_Channel*>{&noText, &emptyText, &text}) ASSERT_TRUE(ch->SaveChannel(saver));
    ASSERT_TRUE(saver.WriteToFile("channels.bin"));

    A3dFileLoader loader;
    ASSERT_TRUE(loader.ReadFromFile("channels.bin"));
    std::remove("channels.bin");
    A3d_ChannelGroup group("Level1");
    Aco_StringChannel noText2, emptyText2, text2;
    for (A3d_Channel* ch : std::initializer_list<A3d_Channel*>{&noText2, &emptyText2, &text2})
        ASSERT_TRUE(ch->LoadChannel(loader, &group));
    EXPECT_EQ(noText2.GetChannelName(), nullptr);
    EXPECT_EQ(noText2.GetString(), nullptr);
    ASSERT_NE(emptyText2.GetString(), nullptr);
    EXPECT_STREQ(emptyText2.GetString(), "");
    EXPECT_STREQ(text2.GetChannelName(), "greeting");
    EXPECT_STREQ(text2.GetString(), "Hello 100%");
    EXPECT_EQ(text2.GetChannelGroup(), &group);
    EXPECT_FALSE(text2.LoadChannel(loader, nullptr)) << "no NAME block left";
}

TEST(TextChannel, NarrowAndWideStayInStep) {
    Aco_StringChannel text;
    EXPECT_EQ(text.GetString(), nullptr);
    EXPECT_EQ(text.GetWString(), nullptr);
    text.SetWString(L"caf\u00e9 \u4e2d");
    EXPECT_STREQ(text.GetString(), "caf\xe9 ?");
    text.SetString("abc");
    EXPECT_STREQ(text.GetWString(), L"abc");
    text.AppendString("def");
    EXPECT_STREQ(text.GetString(), "abcdef");
    text.ClearString();
    EXPECT_FALSE(text.HasString());
}

}  // namespace
