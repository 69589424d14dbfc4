#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "storyloom/coreframework/debugrenderer/DebugRenderer.h"

// Counts every allocation of this test program, so a test can see that a path makes none.
// Every form of new and delete is replaced, so that each pointer meets the free that matches
// its malloc; kept out of line, as inlined the compiler pairs them by name and warns.
namespace {
std::atomic<long> allocationCount{0};
void* CountedAllocation(std::size_t size) noexcept {
    ++allocationCount;
    return std::malloc(size ? size : 1);
}
}  // namespace

__attribute__((noinline)) void* operator new(std::size_t size) {
    if (void* memory = CountedAllocation(size)) return memory;
    throw std::bad_alloc();
}
__attribute__((noinline)) void* operator new[](std::size_t size) { return operator new(size); }
__attribute__((noinline)) void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return CountedAllocation(size);
}
__attribute__((noinline)) void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return CountedAllocation(size);
}
__attribute__((noinline)) void operator delete(void* memory) noexcept { std::free(memory); }
__attribute__((noinline)) void operator delete[](void* memory) noexcept { std::free(memory); }
__attribute__((noinline)) void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
__attribute__((noinline)) void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

// Filling a container up to every capacity allocates nothing; the next primitive of each kind
// is refused without touching the batch, and the batch reports its first refusal once.
TEST(DebugPrimitivesContainer, FillsWithoutAllocatingAndRefusesWhenFull) {
    DebugPrimitivesContainer container(nullptr);
    D3DXMATRIX world;
    ClearAssertionReports();
    const long before = allocationCount;
    bool allAccepted = true;
    for (unsigned i = 0; i < DebugPrimitivesContainer::MaxLines; ++i)
        allAccepted = container.AddLine({float(i), 0, 0}, {0, float(i), 0}, i) && allAccepted;
    for (unsigned i = 0; i < DebugPrimitivesContainer::MaxSpheres; ++i)
        allAccepted = container.AddSphere(world, {1, 0, 0, 1}) && allAccepted;
    for (unsigned i = 0; i < DebugPrimitivesContainer::MaxCones; ++i)
        allAccepted = container.AddCone(world, {0, 1, 0, 1}) && allAccepted;
    const long during = allocationCount - before;
    EXPECT_EQ(during, 0);
    EXPECT_TRUE(allAccepted);
    EXPECT_EQ(container.GetLineCount(), DebugPrimitivesContainer::MaxLines);
    EXPECT_EQ(container.GetSphereCount(), DebugPrimitivesContainer::MaxSpheres);
    EXPECT_EQ(container.GetConeCount(), DebugPrimitivesContainer::MaxCones);
    EXPECT_TRUE(GetAssertionReports().empty());

    EXPECT_FALSE(container.AddLine({}, {}, 0));
    EXPECT_FALSE(container.AddSphere(world, {}));
    EXPECT_FALSE(container.AddCone(world, {}));
    EXPECT_EQ(container.GetLineCount(), DebugPrimitivesContainer::MaxLines);
    EXPECT_EQ(container.GetSphereCount(), DebugPrimitivesContainer::MaxSpheres);
    EXPECT_EQ(container.GetConeCount(), DebugPrimitivesContainer::MaxCones);
    EXPECT_EQ(container.GetRefusedCount(), 3u);
    ASSERT_EQ(GetAssertionReports().size(), 1u);
    EXPECT_EQ(GetAssertionReports()[0].expression, "(_lineCount < MaxLines) && 0");
    ClearAssertionReports();
}

}  // namespace
