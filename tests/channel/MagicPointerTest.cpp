#include <gtest/gtest.h>

#include <string>

#include "storyloom/channel/ReportFacility.h"
#include "storyloom/coreframework/MagicPointer.h"

namespace {

struct Owner : MagicBase<Owner> {};

TEST(MagicPointer, HolderSeesTheOwnerOnlyWhileItLives) {
    MagicToken* token = nullptr;
    MagicPointer<Owner> first, second;
    {
        Owner owner;
        token = owner.GetMagicToken();
        first.Reset(&owner);
        second = first;
        EXPECT_EQ(token->holders, 2u);
        EXPECT_EQ(second.Get(), &owner);
    }
    EXPECT_EQ(token->alive, 0u) << "held: the token stays for the holders";
    EXPECT_EQ(first.Get(), nullptr);
    first.Reset();
    EXPECT_EQ(token->holders, 1u);
    EXPECT_FALSE(first.IsHolding());
    // Releasing the last holder frees the token (AddressSanitizer checks it is freed once).
}

TEST(MagicPointer, OwnerWithoutHoldersFreesItsToken) {
    MagicPointer<Owner> holder;
    {
        Owner owner;
        holder.Reset(&owner);
        holder.Reset(nullptr);
        EXPECT_EQ(owner.GetMagicToken()->holders, 0u);
    }
    EXPECT_EQ(holder.Get(), nullptr);
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
