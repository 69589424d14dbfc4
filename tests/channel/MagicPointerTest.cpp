#include <gtest/gtest.h>

#include <string>

#include "storyloom/channel/ReportFacility.h"
#include "storyloom/coreframework/MagicPointer.h"

namespace {

struct Owner : MagicBase<Owner> {};

// The token outlives a held owner for its holders and goes with the last of them
// (AddressSanitizer checks that it is freed once, and only then).
TEST(MagicPointer, HolderSeesTheOwnerOnlyWhileItLives) {
    MagicToken* token = nullptr;
    MagicPointer<Owner> first, second;
    {
        Owner owner;
        token = owner.GetMagicToken();
        first.Reset(&owner);
        second = first;
        EXPECT_TRUE(token->holders == 2u && second.Get() == &owner);
    }
    EXPECT_TRUE(token->alive == 0u && first.Get() == nullptr);
    first.Reset();
    EXPECT_TRUE(token->holders == 1u && !first.IsHolding());
}

TEST(ReportFacility, FunctionCheckAndArguments) {
    EXPECT_STREQ(FormatCheckFailure("F<class A>::G", "InvalidMode[%u]", 31u), "F<class A>::G().InvalidMode[31]");
    EXPECT_STREQ(FormatFailedCondition("F", "a % b == 0"), "F().a % b == 0");
    EXPECT_EQ(FormatText(nullptr), "");
    // A report longer than the shared buffer is cut, not overrun.
    std::string huge(30000, 'x');
    EXPECT_EQ(std::string(FormatFailedCondition("F", huge.c_str())).size(), REPORT_BUFFER_SIZE - 1);
}

}  // namespace
