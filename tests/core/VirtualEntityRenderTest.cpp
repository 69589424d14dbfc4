#include "CameraProjection.h"
#include "CoreTestSupport.h"
#include "storyloom/host/d3d9/SoftwareDevice.h"

namespace {

using VelmMathLib::Vec3;
using VirtualEntityRender = CoreTest;

// What the device draws with a camera's matrices is what the camera picks: the pick ray
// through a point's projected pixel passes through the point.
TEST_F(VirtualEntityRender, CameraMatricesAgreeWithPickRays) {
    const Core::Camera cameras[] = {
        {Vec3(0, 0, -10), Vec3(0, 0, 0), 1.0f, 200, 100},
        {Vec3(4, 3, -2), Vec3(-1, 0, 5), 0.8f, 64, 128},
        {Vec3(0, 10, 0), Vec3(0, 0, 0), 1.2f, 50, 50},  // straight down
    };
    for (const Core::Camera& camera : cameras)
        for (const Vec3& point : {Vec3(0, 0, 0), Vec3(1.5f, -0.5f, 0.5f), Vec3(-2, 1, 3)}) {
            VelmMathLib::Vec2 pixel = Project(camera, point);
            CoreFramework::Ray ray;
            VelmMathLib::Vec3i at;
            ASSERT_TRUE(camera.GetPickRay(pixel.x, pixel.y, ray, at));
            EXPECT_LT(Distance(ray.direction, Core::Normalized(point - camera.GetEye())), 1e-4f) << camera.GetEye().x << point.x;
        }
}

// An entity draws the unit sphere scaled by its radius at its position, in its colour, and the
// twelve edges of the box around it; a full container takes what fits and says it was not all.
// (Pictures of drawn entities are with the render mode.)
TEST_F(VirtualEntityRender, EntityDrawsItsSphereAndTheBoxAroundIt) {
    DebugPrimitivesContainer container(nullptr);
    Core::VirtualScenarioEntity entity("marker", Vec3(1, 2, 3), 0.5f);
    entity.SetColor({0.1f, 0.2f, 0.3f, 0.4f});
    ASSERT_TRUE(entity.Render(container));
    EXPECT_TRUE(container.GetSphereCount() == 1u && container.GetConeCount() == 0u && container.GetLineCount() == 12u);
    SoftwareDevice device(4, 4);
    DebugRenderer renderer;
    ASSERT_EQ(renderer.Restore(&device), D3D_OK);
    D3DMATERIAL9 material;
    container.Render(&device, renderer.GetSphereMesh(), renderer.GetConeMesh(), material);
    ASSERT_EQ(device.GetDrawCalls().size(), 2u);
    D3DXVECTOR3 pole(0, 0, 1), moved;
    D3DXVec3TransformCoord(&moved, &pole, &device.GetDrawCalls()[1].world);
    EXPECT_EQ(moved, D3DXVECTOR3(1, 2, 3.5f));
    EXPECT_FLOAT_EQ(device.GetDrawCalls()[1].material.Diffuse.b, 0.3f);
    renderer.Release();

    DebugPrimitivesContainer full(nullptr);
    for (unsigned i = 0; i < DebugPrimitivesContainer::MaxLines - 5; ++i) full.AddLine({}, {}, 0);
    EXPECT_FALSE(entity.Render(full));
    EXPECT_TRUE(full.GetSphereCount() == 1u && full.GetLineCount() == DebugPrimitivesContainer::MaxLines);
    ClearAssertionReports();
}

}  // namespace
