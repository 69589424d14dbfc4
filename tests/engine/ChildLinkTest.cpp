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

std::unique_ptr<A3d_Channel> Parent(std::initializer_list<std::pair<_GUID, bool>> positions) {
    auto parent = std::make_unique<A3d_Channel>();
    parent->SetChildCreationCount(static_cast<unsigned>(positions.size()));
    unsigned index = 0;
    for (const auto& [type, repeatable] : positions) parent->SetChildCreateType(Declare(type, repeatable, index), index), ++index;
    return parent;
}

// n channels at a repeatable position take n indices and one empty index follows; a single
// position replaces its channel; a link of the wrong kind or at no position is refused.
TEST(ChildLink, IndicesKindsAndReplacement) {
    auto parent = Parent({{ChannelGuids::Value, true}, {ChannelGuids::Text, false},
                          {ChannelGuids::Generic, true}, {ChannelGuids::Value, false}});
    Aco_FloatChannel a, b, c;
    Aco_StringChannel text;
    EXPECT_FALSE(parent->LinkChild(1, &a)) << "a value channel at a text position";
    EXPECT_FALSE(parent->LinkChild(0, &text));
    EXPECT_FALSE(parent->LinkChild(4, &a)) << "undeclared position";
    EXPECT_FALSE(parent->LinkChild(3, nullptr));
    for (auto [position, child] : {std::pair<unsigned, A3d_Channel*>{0, &a}, {0, &b}, {1, &text}, {2, &c}, {3, &b}, {3, &a}})
        ASSERT_TRUE(parent->LinkChild(position, child));
    const A3d_Channel* expected[] = {&a, &b, nullptr, &text, &c, nullptr, &a, nullptr};
    ASSERT_EQ(parent->GetChildCount(), 7u);
    for (unsigned i = 0; i < 8; ++i) EXPECT_EQ(parent->GetChild(i), expected[i]) << "index " << i;
    EXPECT_EQ(parent->GetChildLinkPositionCount(0), 2u);
    EXPECT_EQ(parent->GetChildLinkPositionCount(1), 0u);  // not where a position starts
    parent->UnlinkChild(0);
    EXPECT_EQ(parent->GetChildCount(), 5u);
    EXPECT_EQ(parent->GetChild(1), &text);
}

// A child shared by many parents, some linking it more than once, follows each of them through
// links, unlinks, redeclarations and deaths: when it dies, exactly the parents still holding it
// lose it. A child unlinked from all its parents follows a second crowd as well.
TEST(ChildLink, SharedChildFollowsItsParentsInAnyOrder) {
    constexpr int kParents = 40;
    auto child = std::make_unique<Aco_FloatChannel>();
    std::vector<std::unique_ptr<A3d_Channel>> parents;
    for (int round = 0; round < 2; ++round) {
        parents.clear();
        for (int i = 0; i < kParents; ++i) {
            parents.push_back(Parent({{ChannelGuids::Value, true}}));
            ASSERT_TRUE(parents.back()->LinkChild(0, child.get()));
            if (i % 3 == 0) parents.back()->LinkChild(0, child.get());
        }
        if (round == 0)  // from the back, so that each parent leaves from the end of the child's list
            for (auto parent = parents.rbegin(); parent != parents.rend(); ++parent) (*parent)->UnlinkChild(0);
    }
    for (int i = 0; i < kParents; i += 4) parents[i]->UnlinkChild(0);
    for (int i = 1; i < kParents; i += 4) parents[i].reset();
    // Made single, a position keeps one of its two links: the child must still know that parent.
    for (int i = 3; i < kParents; i += 12) parents[i]->SetChildCreateType(Declare(ChannelGuids::Value, false, 0), 0);
    for (int i = 0; i < kParents; i += 8) ASSERT_TRUE(parents[i]->LinkChild(0, child.get()));
    child.reset();
    for (int i = 0; i < kParents; ++i) {
        if (!parents[i]) continue;
        EXPECT_EQ(parents[i]->GetChild(0), nullptr) << i;
        EXPECT_EQ(parents[i]->GetChildLinkPositionCount(0), 0u) << i;
    }
}

// Texts at, just over and far beyond their fields (79 and 99 characters) are cut to fit and
// always end in a NUL; the fields after them keep their values.
TEST(ChildLink, LongNamesAreCutToTheirFields) {
    for (size_t length : {0u, 79u, 80u, 99u, 100u, 5000u}) {
        ChildCreation record = Declare(ChannelGuids::Value, false, 7);
        const std::string text(length, 'n');
        record.SetLinkName(text.c_str());
        record.type.SetTypeName(text.c_str());
        EXPECT_EQ(std::string(record.linkName), text.substr(0, 99)) << length;
        EXPECT_EQ(std::string(record.type.typeName), text.substr(0, 79)) << length;
        EXPECT_EQ(record.type.typeGuid, ChannelGuids::Value) << length;
        EXPECT_EQ(record.position, 7) << length;
    }
}

}  // namespace
