// Drawing virtual entities through the engine's renderer and picking them with the mouse.
#include "storyloom/host/core/VirtualScenarioEntity.h"
#include "storyloom/host/d3d9/SoftwareDevice.h"
#include "support/ModeTestSupport.h"

namespace {

using Core::VirtualScenarioEntity;
using VelmMathLib::Vec3;

// A camera at (0, 0, -10) looking at the origin, and two entities one behind the other on
// its centre ray, in a scenario.
class Picking : public ModeTest {
protected:
    void SetUp() override {
        ModeTest::SetUp();
        Core::Scenario* scenario = Manager().CreateScenario();
        scenario->AddEntity(&far);
        scenario->AddEntity(&near);
        Link(channel, 0, Ref("CoreScenario", scenario));
    }
    VirtualScenarioEntity far{"far", Vec3(0, 0, 0), 1.0f}, near{"near", Vec3(0, 0, -5), 1.0f};
    Core::Camera camera{Vec3(0, 0, -10), Vec3(0, 0, 0), 1.0f, 160, 120};
    Aco_FloatChannel &mouseX = Value("MouseX"), &mouseY = Value("MouseY"), &distance = Value("Distance", 7.0f);
    Aco_CoreRef& picked = Ref("Entity", &far);
    Aco_VectorChannel& position = Make<Aco_VectorChannel>("Position");
    Aco_Storyloom& channel = Mode(MODE_VirtualEntity_MousePicking, {nullptr, &Ref("CoreCamera", &camera), &mouseX,
                                                                    &mouseY, &picked, &position, &distance});
};

// The centre pixel hits the nearer entity where its sphere faces the camera; a corner hits
// nothing, empties "Entity" and writes what the query left: (0, 0, 0) and -1.0.
TEST_F(Picking, PicksTheNearerEntityOrNothing) {
    const struct {
        float x, y;
        VirtualScenarioEntity* hit;
        D3DXVECTOR3 point;
        float distance;
    } cases[] = {
        {80, 60, &near, {0, 0, -6}, 4.0f}, {0, 0, nullptr, {0, 0, 0}, -1.0f}, {80, 60, &near, {0, 0, -6}, 4.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "pixel " << c.x << "," << c.y);
        mouseX.SetFloat(c.x);
        mouseY.SetFloat(c.y);
        EXPECT_EQ(channel.GetFloat(), 0.0f);
        EXPECT_EQ(picked.GetRef(), static_cast<Core::RefSupport*>(c.hit));
        D3DXVECTOR3 at = position.GetVector();
        EXPECT_NEAR(at.x, c.point.x, 1e-4f);
        EXPECT_NEAR(at.y, c.point.y, 1e-4f);
        EXPECT_NEAR(at.z, c.point.z, 1e-4f);
        EXPECT_NEAR(StoredValue(distance), c.distance, 1e-4f);
    }
}

// The query runs before an empty "Entity" stops the mode: a camera that cannot see shows the
// order, its reports coming before the link's. The optional outputs stay untouched.
TEST_F(Picking, EmptyEntityLinkFailsAfterTheQuery) {
    Core::Camera blind(Vec3(1, 1, 1), Vec3(1, 1, 1), 1.0f, 160, 120);
    position.SetVector(7, 7, 7);
    channel.UnlinkChild(1);
    channel.UnlinkChild(4);
    Link(channel, 1, Ref("CoreCamera", &blind));
    EXPECT_EQ(channel.GetFloat(), 105.0f);
    EXPECT_THAT(ErrorLog(),
                testing::ElementsAre(testing::HasSubstr("Camera::GetPickRay"),
                                     testing::HasSubstr("Scenario::GetVirtualEntityCollision"),
                                     EvaluationReport("VirtualEntity_MousePicking", "ChildLinkError[Entity]")));
    Core::ClearErrorLog();
    EXPECT_EQ(position.GetVector(), D3DXVECTOR3(7, 7, 7));
    EXPECT_EQ(StoredValue(distance), 7.0f);
}

// Each evaluation of mode 20 draws its virtual entity and frees its container, so one container
// serves all; a channel that refers to no virtual entity draws nothing. (Where the drawn
// entities show is the tools' PickingExample test, on the picking example's picture.)
TEST_F(ModeTest, RenderDrawsVirtualEntitiesInOneContainer) {
    SoftwareDevice device(160, 120);
    DebugRenderer& renderer = Core::CoreEngine::Instance().GetDebugRenderer();
    ASSERT_EQ(renderer.Restore(&device), D3D_OK);
    renderer.Render(-1, DebugRenderer::ReleaseContainer);  // batches earlier users left behind
    device.ClearRecords();
    VirtualScenarioEntity left("left", Vec3(-3, 0, 0), 1.0f), right("right", Vec3(3, 1, 2), 1.0f);
    Core::StaticMeshEntity mesh("mesh", Vec3(), 1.0f);
    unsigned containers = 0;
    for (Core::RefSupport* entity : std::initializer_list<Core::RefSupport*>{&left, &mesh, &right}) {
        EXPECT_EQ(Mode(MODE_VirtualEntity_Render, {&Ref("CoreEntity", entity)}).GetFloat(),
                  entity == &mesh ? 106.0f : 0.0f);
        if (!containers) containers = renderer.GetContainerCount();
        EXPECT_EQ(renderer.GetContainerCount(), containers);
    }
    // Sphere and twelve outline edges (one line list) per drawn entity.
    EXPECT_EQ(device.GetDrawCalls().size(), 4u);
    ExpectLog({EvaluationReport("VirtualEntity_Render", "ChildLinkInvalid[CoreEntity]")});
    renderer.Lose();
}

}  // namespace
