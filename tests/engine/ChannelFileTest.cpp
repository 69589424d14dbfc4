#include <gtest/gtest.h>

#include <cstdio>

#include "storyloom/host/EngineHost.h"

namespace {

// A block is its tag, its size (32 bits, little-endian) and its data.
TEST(ChannelFile, BlockLayoutAndALoaderThatStopsAtACutOffBlock) {
    A3dFileSaver saver;
    ASSERT_NE(saver.SaveTag("ONE_"), 0);
    saver.SaveBlockSize(2);
    saver.SaveDataToFile("\xAA\xBB", 2);
    saver.SaveTag("TWO_");
    saver.SaveBlockSize(0);
    std::vector<unsigned char> bytes = saver.GetBytes();
    EXPECT_EQ(bytes, (std::vector<unsigned char>{'O', 'N', 'E', '_', 2, 0, 0, 0, 0xAA, 0xBB, 'T', 'W', 'O', '_', 0, 0, 0, 0}));
    bytes.insert(bytes.end(), {'C', 'U', 'T', '_', 50, 0, 0, 0, 1});  // claims 50 bytes, has 1

    A3dFileLoader loader(bytes);
    EXPECT_FALSE(loader.GetInfoIfTag("TWO_"));  // not the next block
    ASSERT_TRUE(loader.GetInfoIfTag("ONE_"));
    EXPECT_EQ(loader.GetSizeDataBlock(false), 2u);
    EXPECT_EQ(loader.GetSizeDataBlock(true), 10u);
    unsigned char data[2] = {};
    loader.CopyTagDataToPointer(data);
    EXPECT_EQ(data[1], 0xBB);
    ASSERT_TRUE(loader.GetInfoIfTag("TWO_"));
    loader.SkipCurrentTag();
    EXPECT_FALSE(loader.GetInfoIfTag("CUT_"));
    EXPECT_EQ(loader.GetSizeDataBlock(false), 0u);
    loader.SkipCurrentTag();
    EXPECT_TRUE(loader.AtEnd());
}

// Through a file on disk: a missing name or text stays missing, an empty text stays empty,
// wide text is kept as narrow text, and loading joins the channel to the group given.
TEST(ChannelFile, TextChannelsRoundTripThroughAFile) {
    Aco_StringChannel saved[3], loaded[3];
    saved[0].SetChannelName(nullptr);
    saved[1].SetString("");
    saved[2].SetChannelName("greeting");
    saved[2].SetWString(L"caf\u00e9 \u4e2d");
    saved[2].AppendString(" 100%");
    A3dFileSaver saver;
    for (Aco_StringChannel& ch : saved) ASSERT_TRUE(ch.SaveChannel(saver));
    ASSERT_TRUE(saver.WriteToFile("channels.bin"));
    A3dFileLoader loader;
    ASSERT_TRUE(loader.ReadFromFile("channels.bin"));
    std::remove("channels.bin");
    A3d_ChannelGroup group("Level1");
    for (Aco_StringChannel& ch : loaded) ASSERT_TRUE(ch.LoadChannel(loader, &group));
    EXPECT_EQ(loaded[0].GetChannelName(), nullptr);
    EXPECT_EQ(loaded[0].GetWString(), nullptr);
    EXPECT_STREQ(loaded[1].GetString(), "");
    EXPECT_STREQ(loaded[2].GetChannelName(), "greeting");
    EXPECT_STREQ(loaded[2].GetString(), "caf\xe9 ? 100%");
    EXPECT_STREQ(loaded[2].GetWString(), L"caf\u00e9 ? 100%");
    EXPECT_EQ(loaded[2].GetChannelGroup(), &group);
    EXPECT_FALSE(loaded[2].LoadChannel(loader, nullptr)) << "no NAME block left";
}

}  // namespace
