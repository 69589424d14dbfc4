#include <gtest/gtest.h>

#include <cstring>

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
    EXPECT_EQ(text->type.typeGuid, ChannelGuids::Text);
    EXPECT_EQ(text->type.baseTypeGuid, ChannelGuids::Generic) << "left at its default";
    EXPECT_EQ(text->position, 2);
    EXPECT_EQ(text->hostValue, 1);
    EXPECT_EQ(ch.GetChildCreateType(AnyLink)->position, -1);
    EXPECT_STREQ(ch.GetChildLinkName(MatrixLink), "matrix");
    EXPECT_EQ(ch.GetChildLinkErrorText(ValueLink), "ChildLinkError[value]");
    EXPECT_EQ(ch.GetChildLinkInvalidText(AnyLink), "ChildLinkInvalid[any]");
}

// Each access against an empty link, a link of another kind and the index past the end.
TEST_F(Extension, FailedAccessLeavesOutputsUntouched) {
    A3d_Channel foreign;  // of no kind at all
    ASSERT_TRUE(ch.LinkChild(AnyLink, &foreign));
    const unsigned past = ch.GetChildCount();
    for (unsigned link : {unsigned(ValueLink), unsigned(AnyLink), past}) {
        SCOPED_TRACE(link);
        globalEngine.ClearDebugMessages();
        float f = 42.0f;
        int i = 42;
        D3DXVECTOR3 v(1, 2, 3);
        VelmMathLib::Vec2 xz{5, 6};
        D3DXMATRIX m;
        m.m[3][3] = 9;
        char* narrow = reinterpret_cast<char*>(&f);
        std::string appended = "keep";
        EXPECT_FALSE(ch.CE_GetValue(f, link));
        EXPECT_FALSE(ch.CE_GetValue(i, link));
        EXPECT_FALSE(ch.CE_SetValue(1.0f, link));
        EXPECT_FALSE(ch.CE_GetVector(v, link));
        EXPECT_FALSE(ch.CE_GetVectorXZ(xz, link));
        EXPECT_FALSE(ch.CE_GetMatrix(m, link));
        EXPECT_FALSE(ch.CE_GetStringPointer(&narrow, link));
        EXPECT_FALSE(ch.CE_CopyString(appended, link, true));
        EXPECT_EQ(f, 42.0f);
        EXPECT_EQ(i, 42);
        EXPECT_EQ(v, D3DXVECTOR3(1, 2, 3));
        EXPECT_EQ(xz.x, 5.0f);
        EXPECT_EQ(m.m[3][3], 9.0f);
        EXPECT_EQ(narrow, reinterpret_cast<char*>(&f));
        EXPECT_EQ(appended, "keep");
        EXPECT_EQ(ch.CE_GetVector(link, D3DXVECTOR3(7, 7, 7)), D3DXVECTOR3(7, 7, 7));
        EXPECT_EQ(ch.CE_GetVectorXZ(link, VelmMathLib::Vec2{8, 9}).y, 9.0f);
        if (link == past) {
            EXPECT_FALSE(Debug().empty());
            for (const std::string& message : Debug()) EXPECT_EQ(message, "InvalidlLinkIndex.Link[" + std::to_string(past) + "]");
        } else {
            EXPECT_TRUE(Debug().empty()) << "an empty or mismatched link is not reported: " << Debug().front();
        }
    }
    EXPECT_FALSE(ch.CE_IsChildLinked(ValueLink));
    EXPECT_FALSE(ch.CE_CallChild(ValueLink));
    EXPECT_EQ(ch.CE_GetLinkedChildName(past), nullptr);
}

TEST_F(Extension, TypedAccessReachesEachKind) {
    value.SetFloat(-3.9f);
    vector.SetVector(1, 2, 3);
    text.SetString("100% sure");
    ASSERT_TRUE(ch.LinkChild(ValueLink, &value));
    ASSERT_TRUE(ch.LinkChild(VectorLink, &vector));
    ASSERT_TRUE(ch.LinkChild(TextLink, &text));
    ASSERT_TRUE(ch.LinkChild(MatrixLink, &matrix));

    int truncated = 0;
    EXPECT_TRUE(ch.CE_GetValue(truncated, ValueLink));
    EXPECT_EQ(truncated, -3) << "toward zero";
    EXPECT_TRUE(ch.CE_SetValue(2.5f, ValueLink));
    EXPECT_EQ(value.GetFloat(), 2.5f);

    VelmMathLib::Vec2 xz;
    EXPECT_TRUE(ch.CE_GetVectorXZ(xz, VectorLink));
    EXPECT_EQ(xz.x, 1.0f);
    EXPECT_EQ(xz.y, 3.0f) << "the second component is dropped";
    const VelmMathLib::Vec3 v{4, 5, 6};
    EXPECT_TRUE(ch.CE_SetVector(v, VectorLink));
    EXPECT_EQ(vector.GetVector(), D3DXVECTOR3(4, 5, 6));

    char buffer[16];
    EXPECT_TRUE(ch.CE_CopyString(buffer, sizeof(buffer), TextLink));
    EXPECT_STREQ(buffer, "100% sure") << "a percent sign is copied unchanged";
    EXPECT_FALSE(ch.CE_CopyString(buffer, 4, TextLink)) << "cut to the buffer";
    EXPECT_STREQ(buffer, "100");
    std::string twice;
    ch.CE_CopyString(twice, TextLink, false);
    ch.CE_CopyString(twice, TextLink, false);
    EXPECT_EQ(twice, "100% sure100% sure");
    EXPECT_TRUE(ch.CE_SetString(std::wstring(L"wide"), TextLink));
    std::wstring wide;
    EXPECT_TRUE(ch.CE_CopyString(wide, TextLink));
    EXPECT_EQ(wide, L"wide");
    EXPECT_STREQ(ch.CE_GetStringPointer(TextLink, nullptr), "wide");

    float sixteen[16];
    for (int k = 0; k < 16; ++k) sixteen[k] = float(k);
    D3DXMATRIX m(sixteen);
    EXPECT_TRUE(ch.CE_SetMatrix(m, MatrixLink));
    EXPECT_EQ(matrix.GetMatrix().m[1][2], 6.0f) << "row by row";
    EXPECT_EQ(ch.CE_GetMatrix(MatrixLink, D3DXMATRIX()), m);
    EXPECT_STREQ(ch.CE_GetLinkedChildName(TextLink), nullptr);
    text.SetChannelName("label");
    EXPECT_STREQ(ch.CE_GetLinkedChildName(TextLink), "label");
}

TEST_F(Extension, TextChildHoldingNoText) {
    ASSERT_TRUE(ch.LinkChild(TextLink, &text));
    char fallback[] = "fallback";
    wchar_t wideFallback[] = L"fallback";
    EXPECT_EQ(ch.CE_GetStringPointer(TextLink, fallback), fallback);
    EXPECT_EQ(ch.CE_GetWStringPointer(TextLink, wideFallback), nullptr);
    EXPECT_EQ(ch.CE_GetWStringPointer(ValueLink, wideFallback), wideFallback);
    std::string out = "kept";
    EXPECT_TRUE(ch.CE_CopyString(out, TextLink, true));
    EXPECT_FALSE(ch.CE_CopyString(out, TextLink, false));
    EXPECT_EQ(out, "kept");
    char* pointer = fallback;
    EXPECT_TRUE(ch.CE_GetStringPointer(&pointer, TextLink));
    EXPECT_EQ(pointer, nullptr);
    EXPECT_FALSE(ch.CE_GetStringPointer(static_cast<char**>(nullptr), TextLink));
}

// A value link accepts any channel built on the float channel; reading it evaluates it.
TEST_F(Extension, ValueLinkTakesDerivedFloatChannels) {
    struct Evaluated : Aco_FloatChannel {
        float GetFloat() override { return static_cast<float>(++evaluations); }
        int evaluations = 0;
    } child;
    ASSERT_TRUE(ch.LinkChild(ValueLink, &child));
    float out = 0.0f;
    EXPECT_TRUE(ch.CE_GetValue(out, ValueLink));
    EXPECT_TRUE(ch.CE_GetValue(out, ValueLink));
    EXPECT_EQ(out, 2.0f);
    EXPECT_EQ(child.evaluations, 2);
}

TEST_F(Extension, LinkNameListGrowsWithPlaceholders) {
    LinkedChannel fresh;
    EXPECT_STREQ(fresh.GetChildLinkName(3), "");
    EXPECT_STREQ(fresh.GetChildLinkName(0), "[none]");
    EXPECT_STREQ(fresh.GetChildLinkName(2), "[none]");
    fresh.SetChildLinkName(1, nullptr);
    EXPECT_STREQ(fresh.GetChildLinkName(1), "[none]");
    ASSERT_EQ(Debug().size(), 1u);
    EXPECT_EQ(Debug()[0], "ChannelExtension<class Aco_FloatChannel>::SetChildLinkName().name");
}

TEST_F(Extension, NullArgumentsAreReported) {
    ch.CreateLink(ChannelGuids::Value, nullptr, nullptr, 0, false);
    ch.CE_SetSelf(nullptr);
    EXPECT_FALSE(ChannelBaseGuidMatch(nullptr, ChannelGuids::Value));
    EXPECT_STREQ(GetChannelGroupName(nullptr), "");
    globalEngine.ShowDebugMessage(nullptr);
    const std::vector<std::string> expected = {
        "ChannelExtension<class Aco_FloatChannel>::CreateLink().TypeName",
        "ChannelExtension<class Aco_FloatChannel>::CreateLink().Name",
        "ChannelExtension<class Aco_FloatChannel>::CE_SetSelf().self",
        "GetChannelGroupName().ch",
        "ChannelBaseGuidMatch().ch",
        "GetChannelGroupName().ch",
        "",
    };
    EXPECT_EQ(Debug(), expected);
    EXPECT_STREQ(ch.CE_GetOwnName(), "[no-name]");
    EXPECT_STREQ(ch.CE_GetOwnCGRName(), "[no-name]");
}

TEST_F(Extension, OwnGroupNameFollowsTheLastSetSelf) {
    A3d_ChannelGroup level("Level1"), unnamed(nullptr);
    ch.SetChannelGroup(&level);
    EXPECT_STREQ(ch.CE_GetOwnCGRName(), "[no-name]");
    ch.CE_SetSelf(&ch);
    EXPECT_STREQ(ch.CE_GetOwnCGRName(), "Level1");
    ch.SetChannelGroup(&unnamed);
    ch.CE_SetSelf(&ch);
    EXPECT_STREQ(ch.CE_GetOwnCGRName(), "[unknown]");
}

TEST_F(Extension, TaggedValuesInTheChannelFile) {
    A3dFileSaver saver;
    EXPECT_TRUE(ch.SaveChannelValue(saver, "WORD", 0x01020304u));
    EXPECT_TRUE(ch.SaveChannelValue(saver, "TEXT", std::string("abc")));
    EXPECT_FALSE(ch.SaveChannelValue(saver, "BAD", 1));
    saver.SaveTag("HALF");
    saver.SaveBlockSize(2);
    saver.SaveDataToFile("xy", 2);
    EXPECT_TRUE(ch.SaveChannelValue(saver, "NEXT", -2));
    saver.SaveTag("SAME");
    saver.SaveBlockSize(2);
    saver.SaveDataToFile("xy", 2);
    EXPECT_TRUE(ch.SaveChannelValue(saver, "SAME", 9));
    const std::vector<unsigned char> head = {'W', 'O', 'R', 'D', 4, 0, 0, 0, 4, 3, 2, 1,
                                             'T', 'E', 'X', 'T', 4, 0, 0, 0, 'a', 'b', 'c', 0};
    ASSERT_GE(saver.GetBytes().size(), head.size());
    EXPECT_TRUE(std::equal(head.begin(), head.end(), saver.GetBytes().begin()));

    A3dFileLoader loader(saver.GetBytes());
    unsigned int word = 0;
    std::string text = "old";
    EXPECT_FALSE(ch.ReadChannelValue(loader, "TEXT", word)) << "another tag";
    EXPECT_TRUE(ch.ReadChannelValue(loader, "WORD", word));
    EXPECT_EQ(word, 0x01020304u);
    EXPECT_TRUE(ch.ReadChannelValue(loader, "TEXT", text));
    EXPECT_EQ(text, "abc");
    int value = 7;
    EXPECT_FALSE(ch.ReadChannelValue(loader, "HALF", value)) << "2 bytes where 4 are expected";
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(ch.ReadChannelValue(loader, "NEXT", value)) << "the short block was skipped";
    EXPECT_EQ(value, -2);
    EXPECT_FALSE(ch.ReadChannelValue(loader, "SAME", value));
    EXPECT_TRUE(ch.ReadChannelValue(loader, "SAME", value)) << "one skip: the next block of the tag is read";
    EXPECT_EQ(value, 9);
}

}  // namespace
