// Drawing virtual entities through the engine's renderer and picking them with the mouse.
#include <cstdio>
#include <string>

#include "ScenarioModesFixture.h"
#include "core/CameraProjection.h"
#include "d3d9/ReadPng.h"
#include "storyloom/host/d3d9/SoftwareDevice.h"

namespace {

using Core::VirtualScenarioEntity;
using VelmMathLib::Vec3;

// A camera at (0, 0, -10) looking at the origin, and two entities one behind the other on
// its centre ray, in a scenario.
class PickingTest : public ScenarioModeTest {
protected:
    void SetUp() override {
        ScenarioModeTest::SetUp();
        scenario = Manager().CreateScenario();
        scenario->AddEntity(&far);
        scenario->AddEntity(&near);
        scenarioRef.SetRef(scenario);
        cameraRef.SetRef(&camera);
        picked.SetRef(&far);
        position.SetVector(7, 7, 7);
        distance.SetFloat(7.0f);
    }
    // Links a picking channel; null leaves a position empty.
    void Build(Aco_Storyloom& channel, A3d_Channel* entity) {
        BuildChannel(channel, MODE_VirtualEntity_MousePicking,
                     {&scenarioRef, &cameraRef, &mouseX, &mouseY, entity, &position, &distance});
    }
    std::string Report(const std::string& text) {
        return EvaluationReport(ShortNameOf(MODE_VirtualEntity_MousePicking), text);
    }

    Core::Scenario* scenario = nullptr;
    VirtualScenarioEntity far{"far", Vec3(0, 0, 0), 1.0f}, near{"near", Vec3(0, 0, -5), 1.0f};
    Core::Camera camera{Vec3(0, 0, -10), Vec3(0, 0, 0), 1.0f, 160, 120};
    Aco_CoreRef scenarioRef, cameraRef, picked;
    Aco_FloatChannel mouseX, mouseY, distance;
    Aco_VectorChannel position;
};

// The centre pixel hits the nearer entity where its sphere faces the camera; a corner hits
// nothing, empties "Entity" and writes what the query left: (0, 0, 0) and -1.0.
TEST_F(PickingTest, PicksTheNearerEntityOrNothing) {
    const struct {
        float x, y;
        VirtualScenarioEntity* hit;
        D3DXVECTOR3 point;
        float distance;
    } cases[] = {{80, 60, &near, {0, 0, -6}, 4.0f}, {0, 0, nullptr, {0, 0, 0}, -1.0f}, {80, 60, &near, {0, 0, -6}, 4.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "pixel " << c.x << "," << c.y);
        mouseX.SetFloat(c.x);
        mouseY.SetFloat(c.y);
        Aco_Storyloom channel;
        Build(channel, &picked);
        EXPECT_EQ(channel.GetFloat(), 0.0f);
        EXPECT_EQ(picked.GetRef(), static_cast<Core::RefSupport*>(c.hit));
        D3DXVECTOR3 at = position.GetVector();
        EXPECT_NEAR(at.x, c.point.x, 1e-4f);
        EXPECT_NEAR(at.y, c.point.y, 1e-4f);
        EXPECT_NEAR(at.z, c.point.z, 1e-4f);
        EXPECT_NEAR(distance.GetStoredFloat(), c.distance, 1e-4f);
        EXPECT_TRUE(Core::GetErrorLog().empty());
    }
}

// With nothing at "Entity" the query still runs first; the optional outputs stay untouched.
// A camera that cannot see shows the order: its report and the query's come before the link's.
TEST_F(PickingTest, EmptyEntityLinkFailsAfterTheQuery) {
    mouseX.SetFloat(80);
    mouseY.SetFloat(60);
    Aco_Storyloom channel;
    Build(channel, nullptr);
    EXPECT_EQ(channel.GetFloat(), 105.0f);
    ExpectLogged(Report("ChildLinkError[Entity]"));
    EXPECT_EQ(position.GetVector(), D3DXVECTOR3(7, 7, 7));
    EXPECT_EQ(distance.GetStoredFloat(), 7.0f);

    Core::ClearErrorLog();
    Core::Camera blind(Vec3(1, 1, 1), Vec3(1, 1, 1), 1.0f, 160, 120);
    cameraRef.SetRef(&blind);
    EXPECT_EQ(channel.GetFloat(), 105.0f);
    EXPECT_THAT(Core::GetErrorLog(),
                testing::ElementsAre(testing::HasSubstr("Camera::GetPickRay"),
                                     testing::HasSubstr("Scenario::GetVirtualEntityCollision"),
                                     Report("ChildLinkError[Entity]")));
}

TEST_F(PickingTest, InputFailuresStopBeforeTheQuery) {
    Aco_CoreRef emptyRef;
    const struct {
        unsigned link;
        A3d_Channel* replacement;
        float status;
        const char* text;
    } cases[] = {
        {0, nullptr, 105.0f, "ChildLinkError[CoreScenario]"},
        {0, &cameraRef, 106.0f, "ChildLinkInvalid[CoreScenario]"},
        {1, nullptr, 105.0f, "ChildLinkError[CoreCamera]"},
        {1, &scenarioRef, 106.0f, "ChildLinkInvalid[CoreCamera]"},
        {1, &emptyRef, 106.0f, "ChildLinkInvalid[CoreCamera]"},
        {2, nullptr, 105.0f, "ChildLinkError[MouseX]"},
        {3, nullptr, 105.0f, "ChildLinkError[MouseY]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Core::ClearErrorLog();
        Aco_Storyloom channel;
        Build(channel, &picked);
        channel.UnlinkChild(c.link);
        if (c.replacement) {
            ASSERT_TRUE(channel.LinkChild(c.link, c.replacement));
        }
        EXPECT_EQ(channel.GetFloat(), c.status);
        ExpectLogged(Report(c.text));
        EXPECT_EQ(picked.GetRef(), static_cast<Core::RefSupport*>(&far));
        EXPECT_EQ(distance.GetStoredFloat(), 7.0f);
    }
}

// Two virtual entities drawn through mode 20 with a software device, written as a picture
// and read back: each entity's colour at its projected centre, the background elsewhere.
// Each evaluation draws and frees its container, so one container serves both.
using RenderModeTest = ScenarioModeTest;

TEST_F(RenderModeTest, RenderedEntitiesShowWhereTheCameraSeesThem) {
    SoftwareDevice device(160, 120);
    DebugRenderer& renderer = Core::CoreEngine::Instance().GetDebugRenderer();
    ASSERT_EQ(renderer.Restore(&device), D3D_OK);
    const Core::Camera camera(Vec3(0, 0, -10), Vec3(0, 0, 0), 1.0f, 160, 120);
    ASSERT_EQ(camera.SetDeviceTransforms(device), D3D_OK);
    renderer.Render(-1, DebugRenderer::ReleaseContainer);  // batches earlier users left behind
    const D3DCOLOR background = D3DCOLOR_ARGB(255, 16, 16, 32);
    device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, background, 1.0f, 0);
    device.ClearRecords();

    VirtualScenarioEntity left("left", Vec3(-3, 0, 0), 1.0f), right("right", Vec3(3, 1, 2), 1.0f);
    left.SetColor({1, 0, 0, 1});
    right.SetColor({0, 1, 0, 1});
    Core::StaticMeshEntity mesh("mesh", Vec3(), 1.0f);
    Aco_CoreRef leftRef, rightRef, meshRef, emptyRef;
    leftRef.SetRef(&left);
    rightRef.SetRef(&right);
    meshRef.SetRef(&mesh);
    const struct {
        Aco_CoreRef* entity;
        float status;
        const char* report;
    } draws[] = {{&leftRef, 0.0f, nullptr},
                 {nullptr, 105.0f, "ChildLinkError[CoreEntity]"},
                 {&meshRef, 106.0f, "ChildLinkInvalid[CoreEntity]"},  // no virtual entity: nothing drawn
                 {&emptyRef, 106.0f, "ChildLinkInvalid[CoreEntity]"},
                 {&rightRef, 0.0f, nullptr}};
    unsigned containers = 0;
    for (const auto& draw : draws) {
        SCOPED_TRACE(draw.report ? draw.report : "drawn");
        Core::ClearErrorLog();
        Aco_Storyloom channel;
        BuildChannel(channel, MODE_VirtualEntity_Render, {draw.entity});
        EXPECT_EQ(channel.GetFloat(), draw.status);
        if (draw.report) ExpectLogged(EvaluationReport(ShortNameOf(MODE_VirtualEntity_Render), draw.report));
        if (!containers) containers = renderer.GetContainerCount();
        EXPECT_EQ(renderer.GetContainerCount(), containers);
    }
    // Sphere and twelve outline edges (one line list) per drawn entity.
    EXPECT_EQ(device.GetDrawCalls().size(), 4u);

    const std::string path = testing::TempDir() + "virtual_entity_modes.png";
    ASSERT_TRUE(device.SavePng(path));
    renderer.Lose();
    PngPicture picture;
    const bool read = ReadPng(path, picture);
    std::remove(path.c_str());
    ASSERT_TRUE(read);
    ASSERT_EQ(picture.width, 160u);
    ASSERT_EQ(picture.height, 120u);
    ExpectColourAt(picture, camera, left.GetPosition(), 16, 8, 40);
    ExpectColourAt(picture, camera, right.GetPosition(), 8, 16, 40);
    // The mesh entity at the centre was never drawn; the corners show the background.
    for (auto [x, y] : {std::pair{80u, 60u}, {0u, 0u}, {159u, 0u}, {0u, 119u}, {159u, 119u}})
        EXPECT_EQ(picture.At(x, y), background) << x << "," << y;
}

}  // namespace
