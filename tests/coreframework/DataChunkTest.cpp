#include <gtest/gtest.h>

#include "storyloom/coreframework/serializer/DataChunk.h"

using namespace VelmMathLib;

namespace {

template <class U>
std::string Written(const U& value, int precision = -1) {
    TDataChunkValue<U> chunk("v", value, U{});
    chunk.SetPrecision(static_cast<std::int16_t>(precision));
    return chunk.ToString();
}

template <class U>
U Read(const std::string& text) {
    TDataChunkValue<U> chunk("v", U{}, U{});
    chunk.FromString(text);
    return chunk.GetValue();
}

}  // namespace

// A bound chunk writes the shortest form whatever its precision says; default means byte-wise
// equal for numbers (so -0 is written) and equal text for strings.
TEST(DataChunk, WrittenTexts) {
    EXPECT_EQ(Written(2.5f) + "|" + Written(2.5f, 3) + "|" + Written(4294967295u) + "|" + Written(false), "2.5|2.500|4294967295|false");
    EXPECT_EQ(Written(Vec3(1.0f, 2.5f, 0.0f)) + "|" + Written(Vec2{0.5f, -1.0f}, 1), "1 2.5 0|0.5 -1.0");
    EXPECT_EQ(Written(Matrix{}), "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1");
    float variable = 2.5f;
    TDataChunkPtr<float> bound("p", &variable, 0.0f);
    bound.SetPrecision(3);
    EXPECT_EQ(bound.ToString(), "2.5");
    EXPECT_STREQ(bound.GetTypeName(), "DataChunkFloatPtr");
    EXPECT_STREQ(TDataChunkValue<unsigned int>("u", 0, 0).GetTypeName(), "DataChunkSizeT");
    EXPECT_FALSE(TDataChunkValue<float>("f", -0.0f, 0.0f).IsDefault());
    EXPECT_TRUE(TDataChunkValue<std::string>("s", std::string("x"), std::string("x")).IsDefault());

    ClearAssertionReports();
    TDataChunkPtr<float> unbound("p", nullptr, 1.5f);  // reported, and harmless
    unbound.FromString("3");
    EXPECT_EQ(unbound.GetValue(), 1.5f);
    ASSERT_EQ(GetAssertionReports().size(), 1u);
    EXPECT_EQ(GetAssertionReports()[0].expression, "(value) && 0");
    EXPECT_EQ(GetAssertionReports()[0].sourcePath, "coreframework/serializer/DataChunk");
    ClearAssertionReports();
}

// Fields the scanner cannot fill read as zero; whole numbers read as the C scan reads them,
// whatever their size: the number's low 32 bits (held at the 64-bit bound first).
TEST(DataChunk, ReadTexts) {
    EXPECT_EQ(Read<float>("abc"), 0.0f);
    EXPECT_EQ(Read<Vec3>("1 x 3"), Vec3(1.0f, 0.0f, 0.0f));
    EXPECT_EQ(Read<Matrix>("2").m[5], 0.0f);
    EXPECT_EQ(Read<std::string>(" as is "), " as is ");
    for (const char* text : {"true", "TRUE", "Yes", "eNaBlEd", "2", "4294967297"}) EXPECT_TRUE(Read<bool>(text)) << text;
    for (const char* text : {"false", "no", "0", "-1", "", "on", "4294967296"}) EXPECT_FALSE(Read<bool>(text)) << text;
    EXPECT_TRUE(Read<Vec2i>("3 4294967298").y == 2 && Read<Vec3i>("1 2 x").y == 2 && Read<Vec3i>("1 2 x").z == 0);
    const struct {
        const char* text;
        int asInt;
        unsigned int asUnsigned;
    } rows[] = {
        {"2147483647", 2147483647, 2147483647u},          {" -2147483648 rest", -2147483647 - 1, 2147483648u},
        {"2147483648", -2147483647 - 1, 2147483648u},     {"-2147483649", 2147483647, 2147483647u},
        {"4294967297", 1, 1u},                            {"-1", -1, 4294967295u},
        {"99999999999999999999999", -1, 4294967295u},     {"-99999999999999999999999", 0, 4294967295u},
    };
    for (const auto& row : rows) {
        TDataChunkValue<int> whole("n", 7, 0);
        EXPECT_EQ(whole.FromString(row.text), 1) << row.text;
        whole.FromString(row.text);
        EXPECT_TRUE(whole.GetValue() == row.asInt && whole.GetImportCount() == 2u) << row.text;
        EXPECT_EQ(Read<unsigned int>(row.text), row.asUnsigned) << row.text;
    }
}

TEST(DataChunk, BitsRoundTripAndAShortStreamLeavesTheValue) {
    BitStream stream;
    TDataChunkValue<Vec3>("v", Vec3(1, -2, 3.5f), Vec3()).WriteBits(stream);
    TDataChunkValue<std::string>("s", std::string("text"), std::string()).WriteBits(stream);
    TDataChunkValue<Vec3> vec("v", Vec3(), Vec3());
    TDataChunkValue<std::string> text("s", std::string(), std::string());
    vec.ReadBits(stream);
    text.ReadBits(stream);
    EXPECT_FALSE(stream.HasFailed());
    EXPECT_TRUE(vec.GetValue() == Vec3(1, -2, 3.5f) && text.GetValue() == "text");
    TDataChunkValue<int> untouched("n", 42, 0);
    untouched.ReadBits(stream);
    EXPECT_TRUE(stream.HasFailed() && untouched.GetValue() == 42);
    EXPECT_EQ(BitStream().ReadByte(), 0u);  // bits past the end read as 0
}
