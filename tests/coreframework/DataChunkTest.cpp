#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "coreframework/serializer/DataChunk.h"

using VelmMathLib::Matrix;
using VelmMathLib::Vec2;
using VelmMathLib::Vec2i;
using VelmMathLib::Vec3;
using VelmMathLib::Vec3i;
using VelmMathLib::Vec4;

namespace {

template <class U>
void ExpectTypeNames(const char* valueName, const char* pointerName) {
    U variable{};
    TDataChunkValue<U> value("v", U{}, U{});
    TDataChunkPtr<U> bound("p", &variable, U{});
    EXPECT_STREQ(value.GetTypeName(), valueName);
    EXPECT_STREQ(bound.GetTypeName(), pointerName);
}

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

TEST(DataChunk, TypeNamesOfValueAndBoundChunks) {
    ExpectTypeNames<float>("DataChunkFloat", "DataChunkFloatPtr");
    ExpectTypeNames<int>("DataChunkInt", "DataChunkIntPtr");
    ExpectTypeNames<unsigned int>("DataChunkSizeT", "DataChunkSizeTPtr");
    ExpectTypeNames<bool>("DataChunkBool", "DataChunkBoolPtr");
    ExpectTypeNames<std::string>("DataChunkString", "DataChunkStringPtr");
    ExpectTypeNames<Vec2>("DataChunkVec2", "DataChunkVec2Ptr");
    ExpectTypeNames<Vec2i>("DataChunkVec2i", "DataChunkVec2iPtr");
    ExpectTypeNames<Vec3>("DataChunkVec3", "DataChunkVec3Ptr");
    ExpectTypeNames<Vec3i>("DataChunkVec3i", "DataChunkVec3iPtr");
    ExpectTypeNames<Vec4>("DataChunkVec4", "DataChunkVec4Ptr");
    ExpectTypeNames<Matrix>("DataChunkMatrix", "DataChunkMatrixPtr");
}

TEST(DataChunk, WrittenTexts) {
    EXPECT_EQ(Written(2.5f), "2.5");
    EXPECT_EQ(Written(1e20f), "1e+20");
    EXPECT_EQ(Written(2.5f, 3), "2.500");
    EXPECT_EQ(Written(-7), "-7");
    EXPECT_EQ(Written(4294967295u), "4294967295");
    EXPECT_EQ(Written(true), "true");
    EXPECT_EQ(Written(false), "false");
    EXPECT_EQ(Written(std::string("a <b>\n")), "a <b>\n");
    EXPECT_EQ(Written(Vec3(1.0f, 2.5f, 0.0f)), "1 2.5 0");
    EXPECT_EQ(Written(Vec2{0.5f, -1.0f}, 1), "0.5 -1.0");
    EXPECT_EQ(Written(Vec3i{1, -2, 3}), "1 -2 3");
    EXPECT_EQ(Written(Matrix{}), "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1");

    // A bound chunk writes the shortest form whatever its precision says.
    float variable = 2.5f;
    TDataChunkPtr<float> bound("p", &variable, 0.0f);
    bound.SetPrecision(3);
    EXPECT_EQ(bound.ToString(), "2.5");
}

TEST(DataChunk, ReadingStartsFromZeroAndCounts) {
    EXPECT_EQ(Read<float>("abc"), 0.0f);
    EXPECT_EQ(Read<int>("12x"), 12);
    Vec3 partial = Read<Vec3>("1 x 3");
    EXPECT_EQ(partial, Vec3(1.0f, 0.0f, 0.0f));
    Matrix m = Read<Matrix>("2");
    EXPECT_EQ(m.m[0], 2.0f);
    EXPECT_EQ(m.m[5], 0.0f);  // not the identity the record starts as
    EXPECT_EQ(Read<std::string>(" kept as is "), " kept as is ");

    TDataChunkValue<int> chunk("n", 0, 0);
    EXPECT_EQ(chunk.FromString("1"), 1);
    EXPECT_EQ(chunk.FromString(""), 0);
    EXPECT_EQ(chunk.GetImportCount(), 2u);
}

TEST(DataChunk, BoolReadingRules) {
    for (const char* text : {"true", "TRUE", "Yes", "eNaBlEd", "2", "17"})
        EXPECT_TRUE(Read<bool>(text)) << text;
    for (const char* text : {"false", "no", "0", "-1", "", "on", "truex"})
        EXPECT_FALSE(Read<bool>(text)) << text;
}

TEST(DataChunk, DefaultIsByteWiseForNumbersAndTextForStrings) {
    EXPECT_FALSE(TDataChunkValue<float>("f", -0.0f, 0.0f).IsDefault());
    EXPECT_TRUE(TDataChunkValue<float>("f", 0.0f, 0.0f).IsDefault());
    EXPECT_FALSE(TDataChunkValue<Vec4>("v", Vec4{0, 0, 0, 1}, Vec4{}).IsDefault());
    EXPECT_TRUE(TDataChunkValue<std::string>("s", std::string("x"), std::string("x")).IsDefault());

    // A bound chunk compares the variable as it is now.
    int variable = 3;
    TDataChunkPtr<int> bound("p", &variable, 3);
    EXPECT_TRUE(bound.IsDefault());
    variable = 4;
    EXPECT_FALSE(bound.IsDefault());
}

TEST(DataChunk, BitsRoundTripAndShortStreamFails) {
    BitStream stream;
    TDataChunkValue<Vec3>("v", Vec3(1, -2, 3.5f), Vec3()).WriteBits(stream);
    TDataChunkValue<std::string>("s", std::string("text"), std::string()).WriteBits(stream);
    TDataChunkValue<bool>("b", true, false).WriteBits(stream);
    EXPECT_EQ(stream.GetBitCount(), 8u * (12 + 4 + 4 + 1));

    TDataChunkValue<Vec3> vec("v", Vec3(), Vec3());
    TDataChunkValue<std::string> text("s", std::string(), std::string());
    TDataChunkValue<bool> flag("b", false, false);
    vec.ReadBits(stream);
    text.ReadBits(stream);
    flag.ReadBits(stream);
    EXPECT_FALSE(stream.HasFailed());
    EXPECT_EQ(vec.GetValue(), Vec3(1, -2, 3.5f));
    EXPECT_EQ(text.GetValue(), "text");
    EXPECT_TRUE(flag.GetValue());

    TDataChunkValue<int> untouched("n", 42, 0);
    untouched.ReadBits(stream);
    EXPECT_TRUE(stream.HasFailed());
    EXPECT_EQ(untouched.GetValue(), 42);
}

TEST(DataChunk, BoundChunkWithoutVariableIsReportedAndHarmless) {
    ClearAssertionReports();
    TDataChunkPtr<float> chunk("p", nullptr, 1.5f);
    ASSERT_EQ(GetAssertionReports().size(), 1u);
    EXPECT_EQ(GetAssertionReports()[0].expression, "(value) && 0");
    EXPECT_EQ(GetAssertionReports()[0].sourcePath, "coreframework/serializer/DataChunk");
    chunk.FromString("3");
    EXPECT_EQ(chunk.ToString(), "");
    EXPECT_EQ(chunk.GetValue(), 1.5f);
    ClearAssertionReports();
}
