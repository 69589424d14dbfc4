#include <gtest/gtest.h>

#include "support/CountingNew.h"
#include "storyloom/coreframework/debugrenderer/DebugRenderer.h"

namespace {

// Filling a container up to every capacity allocates nothing; the next primitive of each kind
// is refused without touching the batch, and the batch reports its first refusal once.
TEST(DebugPrimitivesContainer, FillsWithoutAllocatingAndRefusesWhenFull) {
    DebugPrimitivesContainer container(nullptr);
    D3DXMATRIX world;
    ClearAssertionReports();
    bool allAccepted = true;
    EXPECT_EQ(CountingNew::AllocationsOf([&] {
                  for (unsigned i = 0; i < DebugPrimitivesContainer::MaxLines; ++i)
                      allAccepted = container.AddLine({float(i), 0, 0}, {0, float(i), 0}, i) && allAccepted;
                  for (unsigned i = 0; i < DebugPrimitivesContainer::MaxSpheres; ++i)
                      allAccepted = container.AddSphere(world, {1, 0, 0, 1}) && container.AddCone(world, {0, 1, 0, 1}) && allAccepted;
              }), 0u);
    EXPECT_TRUE(allAccepted && GetAssertionReports().empty());
    EXPECT_FALSE(container.AddLine({}, {}, 0) || container.AddSphere(world, {}) || container.AddCone(world, {}));
    EXPECT_TRUE(container.GetLineCount() == DebugPrimitivesContainer::MaxLines && container.GetRefusedCount() == 3u &&
                container.GetSphereCount() == DebugPrimitivesContainer::MaxSpheres &&
                container.GetConeCount() == DebugPrimitivesContainer::MaxCones);
    ASSERT_EQ(GetAssertionReports().size(), 1u);
    EXPECT_EQ(GetAssertionReports()[0].expression, "(_lineCount < MaxLines) && 0");
    ClearAssertionReports();
}

}  // namespace
