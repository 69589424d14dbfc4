#include <gtest/gtest.h>

#include <cmath>

#include "storyloom/channel/ChannelExtension.h"
#include "storyloom/host/EngineHost.h"

namespace {

// A channel class that declares its links once, through the extension's own CreateLink.
class LinkedChannel : public Aco_FloatChannel, public ChannelExtension<Aco_FloatChannel> {
public:
    LinkedChannel() { CE_SetSelf(this); }
    using ChannelExtension::ReadChannelValue;
    using ChannelExtension::SaveChannelValue;
};

enum Link : unsigned { ValueLink, VectorLink, TextLink, MatrixLink, AnyLink };

struct Extension : testing::Test {
    void SetUp() override {
        globalEngine.ClearDebugMessages();
        ch.CreateValueLink("value", 0, false);
        ch.CreateVectorLink("vector", 0, false);
        ch.CreateStringLink("text", 1, false);
        ch.CreateMatrixLink("matrix", 2, false);
        ch.CreateGenericLink("any", 0, true);
    }
    const std::vector<std::string>& Debug() { return globalEngine.GetDebugMessages(); }

    LinkedChannel ch;
    Aco_FloatChannel value;
    Aco_VectorChannel vector;
    Aco_StringChannel text;
    Aco_MatrixChannel matrix;
};

TEST_F(Extension, DeclarationsReachTheHost) {
    ASSERT_EQ(ch.GetChildCreationCount(), 5u);
    const ChildCreation* text = ch.GetChildCreateType(TextLink);
    EXPECT_STREQ(text->type.typeName, "Text");
    EXPECT_TRUE(text->type.typeGuid == ChannelGuids::Text && text->position == 2 && text->hostValue == 1);
    EXPECT_EQ(ch.GetChildCreateType(AnyLink)->position, -1);
    EXPECT_EQ(ch.GetChildLinkErrorText(ValueLink) + ch.GetChildLinkInvalidText(AnyLink),
              "ChildLinkError[value]ChildLinkInvalid[any]");
}

// Each access against an empty link, a link of another kind and the index past the end: only
// the last is reported, and no output is touched.
TEST_F(Extension, FailedAccessLeavesOutputsUntouched) {
    A3d_Channel foreign;  // of no kind at all
    ASSERT_TRUE(ch.LinkChild(AnyLink, &foreign));
    const unsigned past = ch.GetChildCount();
    for (unsigned link : {unsigned(ValueLink), unsigned(AnyLink), past}) {
        SCOPED_TRACE(link);
        globalEngine.ClearDebugMessages();
        float f = 42.0f;
        D3DXVECTOR3 v(1, 2, 3);
        VelmMathLib::Vec2 xz{5, 6};
        D3DXMATRIX m;
        m.m[3][3] = 9;
        std::string appended = "keep";
        EXPECT_FALSE(ch.CE_GetValue(f, link) || ch.CE_GetVector(v, link) || ch.CE_GetVectorXZ(xz, link) ||
                     ch.CE_GetMatrix(m, link) || ch.CE_CopyString(appended, link, true));
        EXPECT_TRUE(f == 42.0f && v == D3DXVECTOR3(1, 2, 3) && xz.x == 5.0f && m.m[3][3] == 9.0f && appended == "keep");
        EXPECT_EQ(Debug().empty(), link != past);
        for (const std::string& report : Debug()) EXPECT_EQ(report, "InvalidlLinkIndex.Link[" + std::to_string(past) + "]");
    }
    EXPECT_FALSE(ch.CE_IsChildLinked(ValueLink) || ch.CE_CallChild(ValueLink) || ch.CE_GetLinkedChildName(past));
}

TEST_F(Extension, TypedAccessReachesEachKind) {
    vector.SetVector(1, 2, 3);
    text.SetString("100% sure");
    for (auto [link, child] : {std::pair<Link, A3d_Channel*>{ValueLink, &value}, {VectorLink, &vector},
                               {TextLink, &text}, {MatrixLink, &matrix}})
        ASSERT_TRUE(ch.LinkChild(link, child));
    // Toward zero, held at the bounds; not a number reads as 0.
    for (auto [held, expected] : {std::pair{-3.9f, -3}, {3e9f, 2147483647}, {-3e9f, -2147483647 - 1}, {std::nanf(""), 0}}) {
        value.SetFloat(held);
        int truncated = 1;
        EXPECT_TRUE(ch.CE_GetValue(truncated, ValueLink) && truncated == expected) << held;
    }
    VelmMathLib::Vec2 xz;
    EXPECT_TRUE(ch.CE_GetVectorXZ(xz, VectorLink) && xz.x == 1.0f && xz.y == 3.0f) << "the second component is dropped";
    char buffer[16];
    EXPECT_TRUE(ch.CE_CopyString(buffer, sizeof(buffer), TextLink));
    EXPECT_STREQ(buffer, "100% sure") << "a percent sign is copied unchanged";
    EXPECT_FALSE(ch.CE_CopyString(buffer, 4, TextLink)) << "cut to the buffer";
    EXPECT_STREQ(buffer, "100");
    EXPECT_TRUE(ch.CE_SetString(std::wstring(L"wide"), TextLink));
    std::wstring wide;
    EXPECT_TRUE(ch.CE_CopyString(wide, TextLink) && wide == L"wide");
    EXPECT_STREQ(ch.CE_GetStringPointer(TextLink, nullptr), "wide");
    float sixteen[16];
    for (int k = 0; k < 16; ++k) sixteen[k] = float(k);
    D3DXMATRIX m(sixteen);
    EXPECT_TRUE(ch.CE_SetMatrix(m, MatrixLink));
    EXPECT_EQ(matrix.GetMatrix().m[1][2], 6.0f) << "row by row";
    EXPECT_EQ(ch.CE_GetMatrix(MatrixLink, D3DXMATRIX()), m);
    text.SetChannelName("label");
    EXPECT_STREQ(ch.CE_GetLinkedChildName(TextLink), "label");

    // A text child holding no text: the narrow fallback, but a null wide pointer.
    text.SetString(nullptr);
    char fallback[] = "fallback";
    wchar_t wideFallback[] = L"fallback";
    EXPECT_EQ(ch.CE_GetStringPointer(TextLink, fallback), fallback);
    EXPECT_EQ(ch.CE_GetWStringPointer(TextLink, wideFallback), nullptr);
    std::string out = "kept";
    EXPECT_TRUE(ch.CE_CopyString(out, TextLink, true) && !ch.CE_CopyString(out, TextLink, false) && out == "kept");
}

// Null arguments are reported under their function; the own names read "[no-name]" without a
// channel, and the group name follows the group as of the last CE_SetSelf.
TEST_F(Extension, NullArgumentsNamesAndGroups) {
    LinkedChannel fresh;
    EXPECT_STREQ(fresh.GetChildLinkName(3), "");
    EXPECT_STREQ(fresh.GetChildLinkName(2), "[none]");
    fresh.SetChildLinkName(1, nullptr);
    EXPECT_STREQ(fresh.GetChildLinkName(1), "[none]");
    ch.CreateLink(ChannelGuids::Value, nullptr, nullptr, 0, false);
    ch.CE_SetSelf(nullptr);
    EXPECT_FALSE(ChannelBaseGuidMatch(nullptr, ChannelGuids::Value));
    EXPECT_STREQ(GetChannelGroupName(nullptr), "");
    const std::string in = "ChannelExtension<class Aco_FloatChannel>::";
    EXPECT_EQ(Debug(), (std::vector<std::string>{in + "SetChildLinkName().name", in + "CreateLink().TypeName",
                                                 in + "CreateLink().Name", in + "CE_SetSelf().self", "GetChannelGroupName().ch",
                                                 "ChannelBaseGuidMatch().ch", "GetChannelGroupName().ch"}));
    EXPECT_EQ(std::string(ch.CE_GetOwnName()) + ch.CE_GetOwnCGRName(), "[no-name][no-name]");

    A3d_ChannelGroup level("Level1"), unnamed(nullptr);
    ch.SetChannelGroup(&level);
    EXPECT_STREQ(ch.CE_GetOwnCGRName(), "[no-name]");
    ch.CE_SetSelf(&ch);
    EXPECT_STREQ(ch.CE_GetOwnCGRName(), "Level1");
    ch.SetChannelGroup(&unnamed);
    ch.CE_SetSelf(&ch);
    EXPECT_STREQ(ch.CE_GetOwnCGRName(), "[unknown]");
}

// Words are 4 bytes little-endian, texts end in a NUL; a block of another size is skipped once.
TEST_F(Extension, TaggedValuesInTheChannelFile) {
    A3dFileSaver saver;
    EXPECT_TRUE(ch.SaveChannelValue(saver, "WORD", 0x01020304u));
    EXPECT_TRUE(ch.SaveChannelValue(saver, "TEXT", std::string("abc")));
    EXPECT_FALSE(ch.SaveChannelValue(saver, "BAD", 1));
    const std::vector<unsigned char> head = {'W', 'O', 'R', 'D', 4, 0, 0, 0, 4, 3, 2, 1,
                                             'T', 'E', 'X', 'T', 4, 0, 0, 0, 'a', 'b', 'c', 0};
    EXPECT_EQ(saver.GetBytes(), head);
    saver.SaveTag("SAME");
    saver.SaveBlockSize(2);
    saver.SaveDataToFile("xy", 2);
    EXPECT_TRUE(ch.SaveChannelValue(saver, "SAME", -2));

    A3dFileLoader loader(saver.GetBytes());
    unsigned int word = 0;
    std::string text = "old";
    int value = 7;
    EXPECT_FALSE(ch.ReadChannelValue(loader, "TEXT", word)) << "another tag";
    EXPECT_TRUE(ch.ReadChannelValue(loader, "WORD", word) && ch.ReadChannelValue(loader, "TEXT", text));
    EXPECT_TRUE(word == 0x01020304u && text == "abc");
    EXPECT_FALSE(ch.ReadChannelValue(loader, "SAME", value)) << "2 bytes where 4 are expected";
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(ch.ReadChannelValue(loader, "SAME", value)) << "one skip: the next block of the tag is read";
    EXPECT_EQ(value, -2);
}

}  // namespace
