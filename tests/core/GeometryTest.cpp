#include <cmath>
#include <memory>

#include "CoreTestSupport.h"

namespace {

using VelmMathLib::Vec3;
using CoreGeometry = CoreTest;

// An area touches a mesh entity when any of its pieces reaches the entity's bounding sphere
// (one piece of each shape is with the area mode); a box may be given by any two corners.
// Radii refuse negative and non-finite values.
TEST_F(CoreGeometry, AreaPiecesAndRadii) {
    Core::AreaEntity area("area");
    EXPECT_FALSE(area.IsTouching(Core::StaticMeshEntity("x", Vec3(), 100.0f)));  // no pieces
    auto* sphere = new Core::SphereAreaComponent(Vec3(0, 0, 0), 2.0f);
    area.AddComponent(sphere);
    area.AddComponent(new Core::BoxAreaComponent(Vec3(10, 1, 1), Vec3(5, -1, -1)));  // corners swapped
    EXPECT_FALSE(area.AddComponent(nullptr) || area.AddComponent(sphere));
    EXPECT_EQ(area.GetComponents().size(), 2u);
    const struct {
        Vec3 position;
        float radius;
        bool touching;
    } cases[] = {{{3, 0, 0}, 1.0f, true}, {{3.1f, 0, 0}, 1.0f, false}, {{7, 3, 0}, 2.0f, true}, {{7, 3.5f, 0}, 2.0f, false},
                 {{11, 2, 0}, 1.5f, true}, {{11, 2, 0}, 1.4f, false}};  // the last two: near the box's edge
    for (const auto& c : cases)
        EXPECT_EQ(area.IsTouching(Core::StaticMeshEntity("mesh", c.position, c.radius)), c.touching) << c.position.x << c.radius;
    Core::VirtualScenarioEntity marker("m", Vec3(), 1.0f);
    for (float bad : {-0.5f, NAN, INFINITY}) EXPECT_FALSE(sphere->SetRadius(bad) || marker.SetRadius(bad));
    EXPECT_TRUE(sphere->GetRadius() == 2.0f && marker.GetRadius() == 1.0f && sphere->SetRadius(0.0f));
    EXPECT_EQ(Core::StaticMeshEntity("s", Vec3(), -3.0f).GetRadius(), 0.0f);
}

// Rays through the centre, the corners and the edges of the viewport, from the eye; cameras
// that cannot see leave the outputs as they were.
TEST_F(CoreGeometry, PickRays) {
    Core::Camera camera(Vec3(0, 0, -10), Vec3(0, 0, 0), 1.5707964f, 200, 100);  // the half height at distance 1 is 1
    const std::pair<VelmMathLib::Vec2, Vec3> cases[] = {  // pixel, direction before normalising
        {{100, 50}, {0, 0, 1}}, {{0, 0}, {-2, 1, 1}}, {{200, 100}, {2, -1, 1}}, {{150, 50}, {1, 0, 1}}};
    for (const auto& [at, direction] : cases) {
        CoreFramework::Ray ray;
        VelmMathLib::Vec3i pixel;
        ASSERT_TRUE(camera.GetPickRay(at.x, at.y, ray, pixel));
        EXPECT_LT(Distance(ray.direction, Core::Normalized(direction)), 1e-5f) << at.x << "," << at.y;
        EXPECT_TRUE(ray.origin == Vec3(0, 0, -10) && pixel.x == int(at.x) && pixel.y == int(at.y));
    }
    const Core::Camera blind[] = {
        {Vec3(), Vec3(0, 0, 1), 1.0f, 0, 100},           // no viewport
        {Vec3(), Vec3(0, 0, 1), 0.0f, 100, 100},         // no field of view
    };
    for (const Core::Camera& cannotSee : blind) {
        CoreFramework::Ray ray{Vec3(9, 9, 9), Vec3(9, 9, 9)};
        VelmMathLib::Vec3i pixel{7, 7, 7};
        EXPECT_FALSE(cannotSee.GetPickRay(1, 1, ray, pixel));
        EXPECT_TRUE(ray.origin == Vec3(9, 9, 9) && pixel.x == 7);
    }
}

}  // namespace
