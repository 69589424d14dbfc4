// The area modes: an entity touching an area, and the radius of an area's first component.
#include "storyloom/host/core/BoxAreaComponent.h"
#include "storyloom/host/core/SphereAreaComponent.h"
#include "support/ModeTestSupport.h"

namespace {

using Core::AreaEntity;
using VelmMathLib::Vec3;
using AreaModes = ModeTest;

// An entity is in an area when its bounding sphere reaches into the area's volume, whatever
// the shape of the component that holds that volume.
TEST_F(AreaModes, EntityInsideTouchingOrOutsideSphereAndBox) {
    AreaEntity sphereArea("sphere"), boxArea("box");
    sphereArea.AddComponent(new Core::SphereAreaComponent(Vec3(0, 0, 0), 2.0f));
    boxArea.AddComponent(new Core::BoxAreaComponent(Vec3(-1, -1, -1), Vec3(1, 1, 1)));
    const struct {
        AreaEntity* area;
        Vec3 position;
        float expected;
    } cases[] = {
        {&sphereArea, Vec3(0.5f, 0, 0), 1.0f},   // inside
        {&sphereArea, Vec3(0, 2.5f, 0), 1.0f},   // its sphere just reaches the area
        {&sphereArea, Vec3(0, 0, -2.6f), 0.0f},  // outside
        {&boxArea, Vec3(0, 0.5f, 0), 1.0f},     {&boxArea, Vec3(1.5f, 0, 0), 1.0f},
        {&boxArea, Vec3(1.4f, 1.4f, 0), 0.0f},  // past the corner by more than its radius
        {&boxArea, Vec3(0, 0, 2.0f), 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.area->GetName() << " at " << c.position.x << "," << c.position.y << ","
                                        << c.position.z);
        Core::StaticMeshEntity entity("entity", c.position, 0.5f);
        Aco_FloatChannel& answer = Value("bIsInArea", -7.0f);
        EXPECT_EQ(Mode(MODE_Entity_IsInArea, {&Ref("Entity", &entity), &Ref("AreaEntity", c.area), &answer}).GetFloat(),
                  0.0f);
        EXPECT_EQ(StoredValue(answer), c.expected);
    }
}

// A radius set through one mode is what the other reads back; only the first component
// counts. A radius the sphere refuses is reported by the core, not taken: the mode did its part.
TEST_F(AreaModes, RadiusSetIsRadiusRead) {
    AreaEntity area("area");
    auto* sphere = new Core::SphereAreaComponent(Vec3(), 1.0f);
    area.AddComponent(sphere);
    area.AddComponent(new Core::SphereAreaComponent(Vec3(), 9.0f));
    Aco_FloatChannel &wanted = Value("Radius", 3.25f), &read = Value("Radius");
    Aco_Storyloom& setter = Mode(MODE_SphereAreaEntity_SetRadius, {&Ref("area", &area), &wanted});
    Aco_Storyloom& getter = Mode(MODE_SphereAreaEntity_GetRadius, {&Ref("area", &area), &read});
    EXPECT_EQ(setter.GetFloat(), 0.0f);
    EXPECT_EQ(getter.GetFloat(), 0.0f);
    EXPECT_EQ(StoredValue(read), 3.25f);
    EXPECT_EQ(sphere->GetRadius(), 3.25f);

    wanted.SetFloat(-1.0f);
    EXPECT_EQ(setter.GetFloat(), 0.0f);
    ExpectLog({"SphereAreaComponent::SetRadius: invalid radius -1"});
    EXPECT_EQ(getter.GetFloat(), 0.0f);
    EXPECT_EQ(StoredValue(read), 3.25f);
}

// Only the first component counts: an area whose first component is no sphere, or that has
// none, has no radius to set. (Reading one on a box-first area is examples/picking.json's.)
TEST_F(AreaModes, AreaWithoutASphereFirstHasNoRadius) {
    AreaEntity boxFirst("boxFirst"), bare("bare");
    boxFirst.AddComponent(new Core::BoxAreaComponent(Vec3(), Vec3(1, 1, 1)));
    boxFirst.AddComponent(new Core::SphereAreaComponent(Vec3(), 2.0f));
    for (AreaEntity* area : {&boxFirst, &bare}) {
        EXPECT_EQ(Mode(MODE_SphereAreaEntity_SetRadius, {&Ref("area", area), &Value("Radius", 5.0f)}).GetFloat(),
                  105.0f);
        ExpectLog({EvaluationReport("SphereAreaEntity_SetRadius", "ChildLinkError[SphereAreaEntity]")});
    }
    EXPECT_EQ(static_cast<Core::SphereAreaComponent*>(boxFirst.GetComponents()[1])->GetRadius(), 2.0f);
}

}  // namespace
