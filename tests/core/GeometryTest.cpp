#include <cmath>
#include <memory>

#include "CoreTestSupport.h"

namespace {

using VelmMathLib::Vec3;
using CoreGeometry = CoreTest;

// An area touches a mesh entity when any of its pieces reaches the entity's bounding sphere.
TEST_F(CoreGeometry, AreaTouchesBoundingSpheres) {
    Core::AreaEntity area("area");
    EXPECT_FALSE(area.IsTouching(Core::StaticMeshEntity("x", Vec3(), 100.0f)));  // no pieces
    area.AddComponent(new Core::SphereAreaComponent(Vec3(0, 0, 0), 2.0f));
    area.AddComponent(new Core::BoxAreaComponent(Vec3(10, 1, 1), Vec3(5, -1, -1)));  // corners swapped
    struct Case {
        Vec3 position;
        float radius;
        bool touching;
    };
    const Case cases[] = {
        {{0, 0, 0}, 0.0f, true},     // centre of the sphere
        {{3, 0, 0}, 1.0f, true},     // spheres just touch
        {{3.1f, 0, 0}, 1.0f, false}, // just apart, and not yet at the box
        {{7, 0, 0}, 0.0f, true},     // inside the box
        {{7, 3, 0}, 2.0f, true},     // reaches the box's top face
        {{7, 3.5f, 0}, 2.0f, false},
        {{11, 2, 0}, 1.5f, true},    // near the box's edge, within reach of the corner line
        {{11, 2, 0}, 1.4f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.position.x << "," << c.position.y << " r" << c.radius);
        EXPECT_EQ(area.IsTouching(Core::StaticMeshEntity("mesh", c.position, c.radius)), c.touching);
    }
    EXPECT_FALSE(area.AddComponent(nullptr));
    EXPECT_FALSE(area.AddComponent(area.GetComponents()[0]));
    EXPECT_EQ(area.GetComponents().size(), 2u);
}

TEST_F(CoreGeometry, RadiiRefuseNegativeAndNonFiniteValues) {
    Core::SphereAreaComponent sphere(Vec3(), 2.0f);
    Core::VirtualScenarioEntity marker("m", Vec3(), 1.0f);
    for (float bad : {-0.5f, NAN, INFINITY}) {
        EXPECT_FALSE(sphere.SetRadius(bad));
        EXPECT_FALSE(marker.SetRadius(bad));
    }
    EXPECT_EQ(sphere.GetRadius(), 2.0f);
    EXPECT_EQ(marker.GetRadius(), 1.0f);
    EXPECT_EQ(Core::StaticMeshEntity("s", Vec3(), -3.0f).GetRadius(), 0.0f);
    EXPECT_TRUE(sphere.SetRadius(0.0f));
}

// Rays through the centre, the corners and the edges of the viewport.
TEST_F(CoreGeometry, PickRayCoversTheFieldOfView) {
    const float fov = 1.5707964f;  // 90 degrees: the half height at distance 1 is 1
    Core::Camera camera(Vec3(0, 0, -10), Vec3(0, 0, 0), fov, 200, 100);
    struct Case {
        float x, y;
        Vec3 direction;  // before normalising
    };
    const Case cases[] = {
        {100, 50, {0, 0, 1}},
        {0, 0, {-2, 1, 1}},     // top left: aspect 2 widens x
        {200, 100, {2, -1, 1}},
        {150, 50, {1, 0, 1}},
    };
    for (const Case& c : cases) {
        CoreFramework::Ray ray;
        VelmMathLib::Vec3i pixel;
        ASSERT_TRUE(camera.GetPickRay(c.x, c.y, ray, pixel));
        EXPECT_LT(Distance(ray.direction, Core::Normalized(c.direction)), 1e-5f);
        EXPECT_EQ(ray.origin, Vec3(0, 0, -10));
        EXPECT_EQ(pixel.x, int(c.x));
        EXPECT_EQ(pixel.y, int(c.y));
    }
}

TEST_F(CoreGeometry, CamerasThatCannotSeeLeaveTheOutputs) {
    const Core::Camera blind[] = {
        {Vec3(1, 1, 1), Vec3(1, 1, 1), 1.0f, 100, 100},  // eye on target
        {Vec3(), Vec3(0, 0, 1), 1.0f, 0, 100},           // no viewport
        {Vec3(), Vec3(0, 0, 1), 0.0f, 100, 100},         // no field of view
    };
    for (const Core::Camera& camera : blind) {
        CoreFramework::Ray ray{Vec3(9, 9, 9), Vec3(9, 9, 9)};
        VelmMathLib::Vec3i pixel{7, 7, 7};
        EXPECT_FALSE(camera.GetPickRay(1, 1, ray, pixel));
        EXPECT_EQ(ray.origin, Vec3(9, 9, 9));
        EXPECT_EQ(pixel.x, 7);
    }
    // Looking straight down still gives a ray.
    CoreFramework::Ray ray;
    VelmMathLib::Vec3i pixel;
    EXPECT_TRUE(Core::Camera(Vec3(0, 10, 0), Vec3(), 1.0f, 10, 10).GetPickRay(5, 5, ray, pixel));
    EXPECT_NEAR(ray.direction.y, -1.0f, 1e-5f);
}

// Only virtual entities of the scenario are picked; "nearest" tests them all.
TEST_F(CoreGeometry, VirtualEntityCollision) {
    Core::Scenario* scenario = Manager().CreateScenario();
    Core::VirtualScenarioEntity far("far", Vec3(0, 0, 20), 1.0f), near("near", Vec3(0, 0, 10), 1.0f);
    Core::StaticMeshEntity mesh("mesh", Vec3(0, 0, 5), 1.0f);
    scenario->AddEntity(&far);
    scenario->AddEntity(&near);
    scenario->AddEntity(&mesh);
    CoreFramework::Ray ray{Vec3(0, 0, 0), Vec3(0, 0, 2)};  // direction need not be unit length

    Core::VirtualScenarioEntity* hit = nullptr;
    Vec3 point;
    float distance = -1.0f;
    EXPECT_TRUE(scenario->GetVirtualEntityCollision(ray, {}, hit, point, true, &distance));
    EXPECT_EQ(hit, &near);
    EXPECT_FLOAT_EQ(distance, 9.0f);
    EXPECT_EQ(point, Vec3(0, 0, 9));
    EXPECT_TRUE(scenario->GetVirtualEntityCollision(ray, {}, hit, point, false, nullptr));
    EXPECT_EQ(hit, &far);  // first in id order

    CoreFramework::Ray away{Vec3(0, 0, 0), Vec3(0, 1, 0)};
    hit = nullptr;
    point = Vec3(1, 2, 3);
    distance = -1.0f;
    EXPECT_FALSE(scenario->GetVirtualEntityCollision(away, {}, hit, point, true, &distance));
    EXPECT_EQ(hit, nullptr);
    EXPECT_EQ(point, Vec3(1, 2, 3));
    EXPECT_EQ(distance, -1.0f);
    CoreFramework::Ray none{Vec3(), Vec3()};
    EXPECT_FALSE(scenario->GetVirtualEntityCollision(none, {}, hit, point, true, &distance));

    EXPECT_EQ(scenario->RenderVirtualEntities(), 2u);
    EXPECT_EQ(scenario->GetRenderPassCount(), 1u);
}

}  // namespace
