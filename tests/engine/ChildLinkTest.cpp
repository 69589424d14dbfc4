#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "storyloom/host/EngineHost.h"

namespace {

ChildCreation Declare(const _GUID& type, bool repeatable, unsigned index) {
    ChildCreation record;
    record.type.typeGuid = type;
    record.position = repeatable ? -1 : static_cast<int32_t>(index);
    return record;
}

// Positions: 0 repeatable value, 1 single text, 2 repeatable generic, 3 single value.
struct Parent : testing::Test {
    void SetUp() override {
        parent.SetChildCreationCount(4);
        parent.SetChildCreateType(Declare(ChannelGuids::Value, true, 0), 0);
        parent.SetChildCreateType(Declare(ChannelGuids::Text, false, 1), 1);
        parent.SetChildCreateType(Declare(ChannelGuids::Generic, true, 2), 2);
        parent.SetChildCreateType(Declare(ChannelGuids::Value, false, 3), 3);
    }
    A3d_Channel parent;
    Aco_FloatChannel a, b, c;
    Aco_StringChannel text;
};

// n channels at a repeatable position take n indices and one empty index follows.
TEST_F(Parent, RepeatablePositionsTakeTheirChannelsAndOneEmptyIndex) {
    EXPECT_EQ(parent.GetChildCount(), 4u);  // empty, single, empty, single
    ASSERT_TRUE(parent.LinkChild(0, &a));
    ASSERT_TRUE(parent.LinkChild(0, &b));
    ASSERT_TRUE(parent.LinkChild(1, &text));
    ASSERT_TRUE(parent.LinkChild(2, &c));
    ASSERT_TRUE(parent.LinkChild(3, &a));
    // a b _ text c _ a
    const A3d_Channel* expected[] = {&a, &b, nullptr, &text, &c, nullptr, &a};
    ASSERT_EQ(parent.GetChildCount(), 7u);
    for (unsigned i = 0; i < 7; ++i) EXPECT_EQ(parent.GetChild(i), expected[i]) << "index " << i;
    EXPECT_EQ(parent.GetChild(7), nullptr);
    EXPECT_EQ(parent.GetChildLinkPositionCount(0), 2u);
    EXPECT_EQ(parent.GetChildLinkPositionCount(4), 1u);
    EXPECT_EQ(parent.GetChildLinkPositionCount(1), 0u);  // not where a position starts

    parent.UnlinkChild(0);
    EXPECT_EQ(parent.GetChildCount(), 5u);
    EXPECT_EQ(parent.GetChild(1), &text);
}

TEST_F(Parent, KindCheckOnLinking) {
    EXPECT_FALSE(parent.LinkChild(1, &a)) << "a value channel at a text position";
    EXPECT_FALSE(parent.LinkChild(0, &text));
    EXPECT_TRUE(parent.LinkChild(2, &text)) << "the generic kind takes anything";
    EXPECT_FALSE(parent.LinkChild(4, &a)) << "undeclared position";
    EXPECT_FALSE(parent.LinkChild(3, nullptr));
    // A single position replaces its channel.
    EXPECT_TRUE(parent.LinkChild(3, &a));
    EXPECT_TRUE(parent.LinkChild(3, &b));
    EXPECT_EQ(parent.GetChild(parent.GetChildCount() - 1), &b);
}

TEST_F(Parent, DeathOfChildOrParentLeavesTheOtherClean) {
    A3d_Channel other;
    other.SetChildCreationCount(1);
    other.SetChildCreateType(Declare(ChannelGuids::Generic, false, 0), 0);
    {
        Aco_FloatChannel shortLived;
        ASSERT_TRUE(parent.LinkChild(0, &shortLived));
        ASSERT_TRUE(parent.LinkChild(0, &shortLived));
        ASSERT_TRUE(other.LinkChild(0, &shortLived));
        EXPECT_EQ(parent.GetChildLinkPositionCount(0), 2u);
    }
    EXPECT_EQ(parent.GetChildLinkPositionCount(0), 0u);
    EXPECT_EQ(other.GetChild(0), nullptr);

    // A dying parent leaves no trace in its children.
    auto* temporary = new A3d_Channel;
    temporary->SetChildCreationCount(1);
    temporary->SetChildCreateType(Declare(ChannelGuids::Value, true, 0), 0);
    ASSERT_TRUE(temporary->LinkChild(0, &a));
    delete temporary;
    ASSERT_TRUE(parent.LinkChild(3, &a));  // a must not point at the dead parent any more
    parent.SetChildCreationCount(0);
    EXPECT_EQ(parent.GetChildCount(), 0u);
}

// A child shared by many parents, some linking it more than once, follows each of them through
// links, unlinks and deaths in any order: when it dies, exactly the parents still holding it
// lose it, and none that went before is touched.
TEST(SharedChild, ManyParentsInAnyOrder) {
    constexpr int kParents = 40;
    auto child = std::make_unique<Aco_FloatChannel>();
    std::vector<std::unique_ptr<A3d_Channel>> parents;
    for (int i = 0; i < kParents; ++i) {
        parents.push_back(std::make_unique<A3d_Channel>());
        parents.back()->SetChildCreationCount(1);
        parents.back()->SetChildCreateType(Declare(ChannelGuids::Value, true, 0), 0);
        ASSERT_TRUE(parents.back()->LinkChild(0, child.get()));
        if (i % 3 == 0) {
            ASSERT_TRUE(parents.back()->LinkChild(0, child.get()));
        }
    }
    for (int i = 0; i < kParents; i += 4) parents[i]->UnlinkChild(0);
    for (int i = 1; i < kParents; i += 4) parents[i].reset();
    // Made single, a position keeps one of its two links: the child must still know that parent.
    for (int i = 3; i < kParents; i += 12) parents[i]->SetChildCreateType(Declare(ChannelGuids::Value, false, 0), 0);
    for (int i = 0; i < kParents; i += 8) ASSERT_TRUE(parents[i]->LinkChild(0, child.get()));
    child.reset();
    for (int i = 0; i < kParents; ++i) {
        if (!parents[i]) continue;
        SCOPED_TRACE(i);
        EXPECT_EQ(parents[i]->GetChild(0), nullptr);
        EXPECT_EQ(parents[i]->GetChildLinkPositionCount(0), 0u);
    }
}

// Unlinked from all its parents, a child starts over: a second crowd of parents is followed as well.
TEST(SharedChild, ParentsLeaveAndComeAgain) {
    Aco_FloatChannel child;
    std::vector<std::unique_ptr<A3d_Channel>> parents(20);
    for (int round = 0; round < 2; ++round) {
        for (auto& parent : parents) {
            parent = std::make_unique<A3d_Channel>();
            parent->SetChildCreationCount(1);
            parent->SetChildCreateType(Declare(ChannelGuids::Value, false, 0), 0);
            ASSERT_TRUE(parent->LinkChild(0, &child));
        }
        // Unlinked from the back, so that each parent leaves from the end of the child's list.
        for (auto parent = parents.rbegin(); parent != parents.rend(); ++parent) (*parent)->UnlinkChild(0);
    }
    for (int i = 0; i < 20; i += 2) ASSERT_TRUE(parents[i]->LinkChild(0, &child));
    for (int i = 0; i < 20; ++i) EXPECT_EQ(parents[i]->GetChild(0), i % 2 ? nullptr : &child) << i;
}

// Texts at, just over and far beyond their fields (79 and 99 characters) are cut to fit and
// always end in a NUL; the fields after them keep their values.
TEST(ChildCreation, LongNamesAreCutToTheirFields) {
    for (size_t length : {0u, 78u, 79u, 80u, 98u, 99u, 100u, 101u, 5000u}) {
        ChildCreation record;
        record.type.typeGuid = ChannelGuids::Value;
        record.padding[0] = record.padding[1] = 0xAB;
        const std::string text(length, 'n');
        record.SetLinkName(text.c_str());
        record.type.SetTypeName(text.c_str());
        EXPECT_EQ(std::string(record.linkName), text.substr(0, 99)) << length;
        EXPECT_EQ(std::string(record.type.typeName), text.substr(0, 79)) << length;
        EXPECT_EQ(record.type.typeGuid, ChannelGuids::Value) << length;
        EXPECT_EQ(record.padding[0] + record.padding[1], 2 * 0xAB) << length;
    }
}

}  // namespace
