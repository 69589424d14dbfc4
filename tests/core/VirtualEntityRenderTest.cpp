#include <cmath>
#include <cstdio>

#include "CameraProjection.h"
#include "CoreTestSupport.h"
#include "d3d9/ReadPng.h"
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
    const Vec3 points[] = {{0, 0, 0}, {1.5f, -0.5f, 0.5f}, {-2, 1, 3}};
    for (const Core::Camera& camera : cameras)
        for (const Vec3& point : points) {
            SCOPED_TRACE(testing::Message() << "eye " << camera.GetEye().x << "," << camera.GetEye().y << ","
                                            << camera.GetEye().z << " point " << point.x << "," << point.y);
            VelmMathLib::Vec2 pixel = Project(camera, point);
            CoreFramework::Ray ray;
            VelmMathLib::Vec3i at;
            ASSERT_TRUE(camera.GetPickRay(pixel.x, pixel.y, ray, at));
            EXPECT_LT(Distance(ray.direction, Core::Normalized(point - camera.GetEye())), 1e-4f);
        }
}

TEST_F(VirtualEntityRender, EntityDrawsItsSphereAndTheBoxAroundIt) {
    DebugPrimitivesContainer container(nullptr);
    Core::VirtualScenarioEntity entity("marker", Vec3(1, 2, 3), 0.5f);
    entity.SetColor({0.1f, 0.2f, 0.3f, 0.4f});
    ASSERT_TRUE(entity.Render(container));
    EXPECT_EQ(container.GetSphereCount(), 1u);
    EXPECT_EQ(container.GetConeCount(), 0u);
    EXPECT_EQ(container.GetLineCount(), 12u);

    // The sphere: the unit sphere scaled by the radius and moved to the position.
    container.SetOpacity(1.0f);
    SoftwareDevice device(4, 4);
    DebugRenderer renderer;
    ASSERT_EQ(renderer.Restore(&device), D3D_OK);
    container.Render(&device, renderer.GetSphereMesh(), renderer.GetConeMesh(), *std::make_unique<D3DMATERIAL9>());
    ASSERT_EQ(device.GetDrawCalls().size(), 2u);
    const D3DXMATRIX& world = device.GetDrawCalls()[1].world;
    D3DXVECTOR3 pole(0, 0, 1), moved;
    D3DXVec3TransformCoord(&moved, &pole, &world);
    EXPECT_EQ(moved, D3DXVECTOR3(1, 2, 3.5f));
    EXPECT_FLOAT_EQ(device.GetDrawCalls()[1].material.Diffuse.b, 0.3f);
    renderer.Release();

    // A full container takes what fits and says it was not all.
    DebugPrimitivesContainer full(nullptr);
    for (unsigned i = 0; i < DebugPrimitivesContainer::MaxLines - 5; ++i) full.AddLine({}, {}, 0);
    ClearAssertionReports();
    EXPECT_FALSE(entity.Render(full));
    EXPECT_EQ(full.GetSphereCount(), 1u);
    EXPECT_EQ(full.GetLineCount(), DebugPrimitivesContainer::MaxLines);
    ClearAssertionReports();
}

// The road a person takes: two virtual entities drawn through the engine's renderer with a
// software device, written as a picture, and the picture read back.
TEST_F(VirtualEntityRender, PictureShowsBothEntitiesWhereTheCameraSeesThem) {
    SoftwareDevice device(160, 120);
    DebugRenderer& renderer = Core::CoreEngine::Instance().GetDebugRenderer();
    ASSERT_EQ(renderer.Restore(&device), D3D_OK);
    const Core::Camera camera(Vec3(0, 0, -10), Vec3(0, 0, 0), 1.0f, 160, 120);
    ASSERT_EQ(camera.SetDeviceTransforms(device), D3D_OK);
    // The renderer is the engine's: batches that earlier users left while it had no device
    // are drawn now, before the picture starts.
    renderer.Render(-1, 0);
    const D3DCOLOR background = D3DCOLOR_ARGB(255, 16, 16, 32);
    device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, background, 1.0f, 0);

    Core::Scenario* scenario = Manager().CreateScenario();
    Core::VirtualScenarioEntity left("left", Vec3(-3, 0, 0), 1.0f), right("right", Vec3(3, 1, 2), 1.0f);
    left.SetColor({1, 0, 0, 1});
    right.SetColor({0, 1, 0, 1});
    Core::StaticMeshEntity mesh("mesh", Vec3(0, 0, 0), 1.0f);  // not virtual: not drawn
    scenario->AddEntity(&left);
    scenario->AddEntity(&mesh);
    scenario->AddEntity(&right);
    EXPECT_EQ(scenario->RenderVirtualEntities(), 2u);

    const std::string path = "virtual_entities.png";
    std::remove(path.c_str());
    ASSERT_TRUE(device.SavePng(path));
    PngPicture picture;
    ASSERT_TRUE(ReadPng(path, picture));
    ASSERT_EQ(picture.width, 160u);
    ExpectColourAt(picture, camera, left.GetPosition(), 16, 8, 40);
    ExpectColourAt(picture, camera, right.GetPosition(), 8, 16, 40);
    // The white box edge in front of the left sphere, a pixel or so from where it projects.
    VelmMathLib::Vec2 edge = Project(camera, Vec3(-3, 1, -1));
    bool outlined = false;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            outlined = outlined || picture.At(unsigned(edge.x) + dx, unsigned(edge.y) + dy) == 0xFFFFFFFFu;
    EXPECT_TRUE(outlined);
    // The mesh entity at the centre and the corners show the background.
    for (auto [x, y] : {std::pair{80u, 60u}, {0u, 0u}, {159u, 0u}, {0u, 119u}, {159u, 119u}})
        EXPECT_EQ(picture.At(x, y), background) << x << "," << y;
    renderer.Lose();
}

}  // namespace
