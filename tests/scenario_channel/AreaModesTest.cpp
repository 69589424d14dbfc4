// The area modes: an entity touching an area, and the radius of an area's first component.
#include <string>

#include "ScenarioModesFixture.h"
#include "storyloom/host/core/BoxAreaComponent.h"
#include "storyloom/host/core/SphereAreaComponent.h"

namespace {

using Core::AreaEntity;
using Core::StaticMeshEntity;
using VelmMathLib::Vec3;

class AreaModeTest : public ScenarioModeTest {
protected:
    static std::string Report(unsigned mode, const std::string& text) {
        return EvaluationReport(ShortNameOf(mode), text);
    }
};

// An entity is in an area when its bounding sphere reaches into the area's volume, whatever
// the shape of the component that holds that volume.
TEST_F(AreaModeTest, EntityInsideTouchingOrOutsideSphereAndBox) {
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
        {&boxArea, Vec3(0, 0.5f, 0), 1.0f},
        {&boxArea, Vec3(1.5f, 0, 0), 1.0f},
        {&boxArea, Vec3(1.4f, 1.4f, 0), 0.0f},  // past the corner by more than its radius
        {&boxArea, Vec3(0, 0, 2.0f), 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.area->GetName() + " at " + std::to_string(c.position.x) + "," + std::to_string(c.position.y) +
                     "," + std::to_string(c.position.z));
        StaticMeshEntity entity("entity", c.position, 0.5f);
        Aco_CoreRef entityRef, areaRef;
        entityRef.SetRef(&entity);
        areaRef.SetRef(c.area);
        Aco_FloatChannel answer = Value(-7.0f);
        Aco_Storyloom channel;
        BuildChannel(channel, MODE_Entity_IsInArea, {&entityRef, &areaRef, &answer});
        EXPECT_EQ(channel.GetFloat(), 0.0f);
        EXPECT_EQ(answer.GetStoredFloat(), c.expected);
        EXPECT_TRUE(Core::GetErrorLog().empty());
    }
}

TEST_F(AreaModeTest, EntityInAreaFailures) {
    AreaEntity area("area");
    area.AddComponent(new Core::SphereAreaComponent(Vec3(), 1.0f));
    StaticMeshEntity mesh("mesh", Vec3(), 1.0f);
    Core::VirtualScenarioEntity helper("helper", Vec3(), 1.0f);
    Aco_CoreRef meshRef, areaRef, helperRef, emptyRef;
    meshRef.SetRef(&mesh);
    areaRef.SetRef(&area);
    helperRef.SetRef(&helper);
    const struct {
        Aco_CoreRef *entity, *area;
        float status;
        const char* text;
    } cases[] = {
        {nullptr, &areaRef, 105.0f, "ChildLinkError[Entity]"},
        {&emptyRef, &areaRef, 106.0f, "ChildLinkInvalid[Entity]"},
        {&helperRef, &areaRef, 106.0f, "ChildLinkInvalid[Entity]"},  // not a static mesh
        {&meshRef, nullptr, 105.0f, "ChildLinkError[AreaEntity]"},
        {&meshRef, &meshRef, 106.0f, "ChildLinkInvalid[AreaEntity]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Core::ClearErrorLog();
        Aco_FloatChannel answer = Value(-7.0f);
        Aco_Storyloom channel;
        BuildChannel(channel, MODE_Entity_IsInArea, {c.entity, c.area, &answer});
        EXPECT_EQ(channel.GetFloat(), c.status);
        ExpectLogged(Report(MODE_Entity_IsInArea, c.text));
        EXPECT_EQ(answer.GetStoredFloat(), -7.0f);
    }
    // The answer is optional.
    Core::ClearErrorLog();
    Aco_Storyloom channel;
    BuildChannel(channel, MODE_Entity_IsInArea, {&meshRef, &areaRef});
    EXPECT_EQ(channel.GetFloat(), 0.0f);
    EXPECT_TRUE(Core::GetErrorLog().empty());
}

// A radius set through one mode is what the other reads back.
TEST_F(AreaModeTest, RadiusSetIsRadiusRead) {
    AreaEntity area("area");
    auto* sphere = new Core::SphereAreaComponent(Vec3(), 1.0f);
    area.AddComponent(sphere);
    area.AddComponent(new Core::SphereAreaComponent(Vec3(), 9.0f));  // a second sphere never counts
    Aco_CoreRef areaRef;
    areaRef.SetRef(&area);
    Aco_FloatChannel wanted = Value(3.25f), read = Value(0.0f);
    Aco_Storyloom setter, getter;
    BuildChannel(setter, MODE_SphereAreaEntity_SetRadius, {&areaRef, &wanted});
    BuildChannel(getter, MODE_SphereAreaEntity_GetRadius, {&areaRef, &read});
    EXPECT_EQ(setter.GetFloat(), 0.0f);
    EXPECT_EQ(getter.GetFloat(), 0.0f);
    EXPECT_EQ(read.GetStoredFloat(), 3.25f);
    EXPECT_EQ(sphere->GetRadius(), 3.25f);

    // A radius the sphere refuses is reported by the core, not taken; the mode did its part.
    wanted.SetFloat(-1.0f);
    EXPECT_EQ(setter.GetFloat(), 0.0f);
    EXPECT_EQ(Core::GetErrorLog().size(), 1u);
    EXPECT_EQ(getter.GetFloat(), 0.0f);
    EXPECT_EQ(read.GetStoredFloat(), 3.25f);
}

// Only the first component is looked at: an area without a sphere there has no radius, which
// is the error of its link (105), not its invalid text.
TEST_F(AreaModeTest, RadiusFailures) {
    AreaEntity sphereArea("sphere"), boxFirst("boxFirst"), bare("bare");
    sphereArea.AddComponent(new Core::SphereAreaComponent(Vec3(), 2.0f));
    boxFirst.AddComponent(new Core::BoxAreaComponent(Vec3(), Vec3(1, 1, 1)));
    boxFirst.AddComponent(new Core::SphereAreaComponent(Vec3(), 2.0f));
    StaticMeshEntity mesh("mesh", Vec3(), 1.0f);
    Aco_CoreRef sphereRef, boxFirstRef, bareRef, meshRef, emptyRef;
    sphereRef.SetRef(&sphereArea);
    boxFirstRef.SetRef(&boxFirst);
    bareRef.SetRef(&bare);
    meshRef.SetRef(&mesh);
    const struct {
        Aco_CoreRef* area;
        bool radiusLinked;
        float status;
        const char* text;
    } cases[] = {
        {nullptr, true, 105.0f, "ChildLinkError[SphereAreaEntity]"},
        {&emptyRef, true, 106.0f, "ChildLinkInvalid[SphereAreaEntity]"},
        {&meshRef, true, 106.0f, "ChildLinkInvalid[SphereAreaEntity]"},
        {&boxFirstRef, true, 105.0f, "ChildLinkError[SphereAreaEntity]"},
        {&bareRef, true, 105.0f, "ChildLinkError[SphereAreaEntity]"},
        {&sphereRef, false, 105.0f, "ChildLinkError[Radius]"},
    };
    for (unsigned mode : {MODE_SphereAreaEntity_GetRadius, MODE_SphereAreaEntity_SetRadius})
        for (const auto& c : cases) {
            SCOPED_TRACE(ShortNameOf(mode) + " " + c.text);
            Core::ClearErrorLog();
            Aco_FloatChannel radius = Value(5.0f);
            Aco_Storyloom channel;
            BuildChannel(channel, mode, {c.area, c.radiusLinked ? &radius : nullptr});
            EXPECT_EQ(channel.GetFloat(), c.status);
            ExpectLogged(Report(mode, c.text));
            EXPECT_EQ(radius.GetStoredFloat(), 5.0f);
            auto* sphere = static_cast<Core::SphereAreaComponent*>(sphereArea.GetComponents()[0]);
            EXPECT_EQ(sphere->GetRadius(), 2.0f);
        }
}

}  // namespace
