#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "storyloom/host/Aco_CustomEnum.h"
#include "storyloom/host/EngineHost.h"
#include "storyloom/host/ScenarioCore.h"

namespace {

// One row per host channel class: a channel filled with values that differ from a fresh one.
struct ChannelClass {
    const char* name;
    std::function<std::unique_ptr<A3d_Channel>()> fresh;
    std::function<void(A3d_Channel&)> fill;
};

template <class C>
std::unique_ptr<A3d_Channel> Fresh() {
    return std::make_unique<C>();
}
const float kSixteen[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

const ChannelClass classes[] = {
    {"float", Fresh<Aco_FloatChannel>, [](A3d_Channel& c) { static_cast<Aco_FloatChannel&>(c).SetFloat(2.5f); }},
    {"vector", Fresh<Aco_VectorChannel>, [](A3d_Channel& c) { static_cast<Aco_VectorChannel&>(c).SetVector(1, 2, 3); }},
    {"text", Fresh<Aco_StringChannel>, [](A3d_Channel& c) { static_cast<Aco_StringChannel&>(c).SetString("hello"); }},
    {"matrix", Fresh<Aco_MatrixChannel>, [](A3d_Channel& c) { static_cast<Aco_MatrixChannel&>(c).SetMatrix(kSixteen); }},
    {"core ref", Fresh<Aco_CoreRef>, [](A3d_Channel&) {}},
    {"custom enum", Fresh<Aco_CustomEnum>, [](A3d_Channel& c) {
         static_cast<Aco_CustomEnum&>(c).SetFloat(3.0f);
         static_cast<Aco_CustomEnum&>(c).SetEnumTypeName("Sky type");
     }},
};

std::vector<unsigned char> Saved(A3d_Channel& channel) {
    A3dFileSaver saver;
    EXPECT_TRUE(channel.SaveChannel(saver));
    return saver.GetBytes();
}

// What a fresh channel of the class saves after loading `bytes`; `loaded` tells whether it took them.
std::vector<unsigned char> SavedAfterLoading(const ChannelClass& c, std::vector<unsigned char> bytes, bool& loaded) {
    std::unique_ptr<A3d_Channel> channel = c.fresh();
    A3dFileLoader loader(std::move(bytes));
    loaded = channel->LoadChannel(loader, nullptr);
    return Saved(*channel);
}

// Offsets at which a block of the file ends.
std::vector<size_t> BlockEnds(const std::vector<unsigned char>& bytes) {
    std::vector<size_t> ends;
    for (size_t at = 0; at + 8 <= bytes.size();) {
        at += 8 + (bytes[at + 4] | bytes[at + 5] << 8 | bytes[at + 6] << 16 | bytes[at + 7] << 24);
        ends.push_back(at);
    }
    return ends;
}

std::vector<unsigned char> Block(const char* tag, std::vector<unsigned char> data) {
    std::vector<unsigned char> block(tag, tag + 4);
    const uint32_t size = static_cast<uint32_t>(data.size());
    for (int i = 0; i < 4; ++i) block.push_back(static_cast<unsigned char>(size >> (8 * i)));
    block.insert(block.end(), data.begin(), data.end());
    return block;
}

}  // namespace

// A file cut at any byte loads as the whole blocks before the cut: without a whole name
// block loading answers false, and a cut value block is as if it were not there. Either
// way the channel saves, loads and saves again unchanged afterwards.
TEST(ChannelFileFault, EveryClassTruncatedAtEveryByte) {
    for (const ChannelClass& c : classes) {
        std::unique_ptr<A3d_Channel> original = c.fresh();
        original->SetChannelName("Named");
        c.fill(*original);
        const std::vector<unsigned char> whole = Saved(*original);
        const std::vector<size_t> ends = BlockEnds(whole);
        ASSERT_EQ(ends.back(), whole.size()) << c.name;
        for (size_t cut = 0; cut <= whole.size(); ++cut) {
            size_t wholeBlocks = 0;
            for (size_t end : ends)
                if (end <= cut) wholeBlocks = end;
            bool loaded = false, loadedWhole = false;
            const auto saved = SavedAfterLoading(c, {whole.begin(), whole.begin() + cut}, loaded);
            const auto expected = SavedAfterLoading(c, {whole.begin(), whole.begin() + wholeBlocks}, loadedWhole);
            EXPECT_EQ(loaded, cut >= ends.front()) << c.name << " cut at " << cut;
            EXPECT_EQ(saved, expected) << c.name << " cut at " << cut;
            bool reloaded = false;
            EXPECT_EQ(SavedAfterLoading(c, saved, reloaded), saved) << c.name << " cut at " << cut;
            EXPECT_TRUE(reloaded);
        }
        bool loaded = false;
        EXPECT_EQ(SavedAfterLoading(c, whole, loaded), whole) << c.name;
    }
}

// A value block of the wrong size is passed over, so the blocks after it are read; an
// unknown block is left for others and leaves the value as it was.
TEST(ChannelFileFault, WrongBlockSizesAndUnknownTags) {
    auto join = [](std::initializer_list<std::vector<unsigned char>> blocks) {
        std::vector<unsigned char> bytes;
        for (const auto& block : blocks) bytes.insert(bytes.end(), block.begin(), block.end());
        return bytes;
    };
    const auto name = Block("NAME", {'e', '\0'});
    Aco_CustomEnum enumeration;
    A3dFileLoader loader(join({name, Block("FVAL", {1, 2}), Block("ENUM", {'S', 'k', 'y'})}));
    EXPECT_TRUE(enumeration.LoadChannel(loader, nullptr) && loader.AtEnd());
    EXPECT_TRUE(enumeration.GetFloat() == 0.0f && std::string(enumeration.GetEnumTypeName()) == "Sky");
    for (const char* tag : {"VVAL", "XXXX", "NAME"}) {
        Aco_VectorChannel vector;
        vector.SetVector(7, 8, 9);
        A3dFileLoader odd(join({name, Block(tag, std::vector<unsigned char>(5, 9)), Block("VVAL", std::vector<unsigned char>(12, 0))}));
        EXPECT_TRUE(vector.LoadChannel(odd, nullptr)) << tag;
        EXPECT_EQ(vector.GetVector(), D3DXVECTOR3(7, 8, 9)) << tag;
        EXPECT_TRUE(odd.GetInfoIfTag(tag)) << tag;  // the wrongly sized value block is behind the loader
        EXPECT_EQ(odd.GetSizeDataBlock(false), std::string(tag) == "VVAL" ? 12u : 5u) << tag;
    }
}
