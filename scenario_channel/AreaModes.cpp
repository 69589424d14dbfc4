// Area and virtual-entity modes: whether an entity touches an area, the radius of a sphere
// area, and drawing and picking virtual entities.
#include "storyloom/coreframework/debugrenderer/DebugRenderer.h"
#include "storyloom/host/core/AreaEntity.h"
#include "storyloom/host/core/Camera.h"
#include "storyloom/host/core/CoreEngine.h"
#include "storyloom/host/core/SphereAreaComponent.h"
#include "storyloom/host/core/StaticMeshEntity.h"
#include "storyloom/host/core/VirtualScenarioEntity.h"
#include "storyloom/scenario_channel/ModeCatalogue.h"
#include "storyloom/scenario_channel/ModeSupport.h"

namespace {

// Link positions, in declaration order.
enum SphereLinks : unsigned int { kSphereAreaLink, kRadiusLink };    // "SphereAreaEntity_Get/SetRadius"
enum IsInAreaLinks : unsigned int { kEntityLink, kAreaLink, kIsInAreaLink };  // "Entity_IsInArea"
enum RenderLinks : unsigned int { kRenderedEntityLink };               // "VirtualEntity_Render"
enum PickLinks : unsigned int {                                         // "VirtualEntity_MousePicking"
    kPickScenarioLink,
    kCameraLink,
    kMouseXLink,
    kMouseYLink,
    kPickedEntityLink,
    kPickedPositionLink,
    kPickedDistanceLink,
};

using ModeSupport::LinkError;
using ModeSupport::ObjectAt;

// The sphere that is the area's first component. Only the first counts; an area whose first
// component is another shape, or that has none, has no sphere: the error of the area's link
// (105), not its invalid text, as the reference itself was of the right kind.
Core::SphereAreaComponent* SphereAt(Aco_Storyloom& self, float& status) {
    Core::AreaEntity* area = ObjectAt<Core::AreaEntity>(self, kSphereAreaLink, status);
    if (!area) return nullptr;
    const auto& components = area->GetComponents();
    auto* sphere = components.empty() ? nullptr : dynamic_cast<Core::SphereAreaComponent*>(components.front());
    if (!sphere) status = LinkError(self, kSphereAreaLink);
    return sphere;
}

float SphereGetRadius(Aco_Storyloom& self) {
    float status = ModeResult::Done;
    Core::SphereAreaComponent* sphere = SphereAt(self, status);
    if (!sphere) return status;
    return self.CE_SetValue(sphere->GetRadius(), kRadiusLink) ? ModeResult::Done : LinkError(self, kRadiusLink);
}

// A radius the sphere refuses (negative, not finite) is reported by the core and not taken;
// the mode has done its part.
float SphereSetRadius(Aco_Storyloom& self) {
    float status = ModeResult::Done;
    Core::SphereAreaComponent* sphere = SphereAt(self, status);
    if (!sphere) return status;
    float radius = 0.0f;
    if (!self.CE_GetValue(radius, kRadiusLink)) return LinkError(self, kRadiusLink);
    sphere->SetRadius(radius);
    return ModeResult::Done;
}

// The answer is optional: an unwritable "bIsInArea" is ignored.
float EntityIsInArea(Aco_Storyloom& self) {
    float status = ModeResult::Done;
    auto* entity = ObjectAt<Core::StaticMeshEntity>(self, kEntityLink, status);
    if (!entity) return status;
    auto* area = ObjectAt<Core::AreaEntity>(self, kAreaLink, status);
    if (!area) return status;
    self.CE_SetValue(ModeSupport::FlagToValue(area->IsTouching(*entity)), kIsInAreaLink);
    return ModeResult::Done;
}

// Acquire, fill, draw: the one Render both shows the batch and frees the container, so the
// same container serves every evaluation. Without a device the batch waits for the next draw.
float VirtualEntityRender(Aco_Storyloom& self) {
    float status = ModeResult::Done;
    auto* entity = ObjectAt<Core::VirtualScenarioEntity>(self, kRenderedEntityLink, status);
    if (!entity) return status;
    DebugRenderer& renderer = Core::CoreEngine::Instance().GetDebugRenderer();
    const int index = renderer.AcquireFreeContainer();
    if (DebugPrimitivesContainer* container = renderer.GetContainer(index, true)) entity->Render(*container);
    renderer.Render(index, DebugRenderer::ReleaseContainer);
    return ModeResult::Done;
}

// Nothing under the cursor empties "Entity" and writes the point and distance as the query
// left them. The query has run before an empty "Entity" link stops the mode.
float VirtualEntityMousePicking(Aco_Storyloom& self) {
    float status = ModeResult::Done;
    auto* scenario = ModeSupport::ScenarioAt(self, kPickScenarioLink, status);
    if (!scenario) return status;
    auto* camera = ObjectAt<Core::Camera>(self, kCameraLink, status);
    if (!camera) return status;
    float x = 0.0f, y = 0.0f;
    if (!self.CE_GetValue(x, kMouseXLink)) return LinkError(self, kMouseXLink);
    if (!self.CE_GetValue(y, kMouseYLink)) return LinkError(self, kMouseYLink);

    CoreFramework::Ray ray{};
    VelmMathLib::Vec3i pixel{};
    camera->GetPickRay(x, y, ray, pixel);
    Core::VirtualScenarioEntity* hit = nullptr;
    VelmMathLib::Vec3 point(0.0f, 0.0f, 0.0f);
    float distance = -1.0f;
    const bool nearest = true;
    scenario->GetVirtualEntityCollision(ray, pixel, hit, point, nearest, &distance);

    Aco_CoreRef* picked = ModeSupport::OutputReferenceAt(self, kPickedEntityLink, status);
    if (!picked) return status;
    ModeSupport::PointReferenceAt(*picked, hit);
    self.CE_SetVector(point, kPickedPositionLink);
    self.CE_SetValue(distance, kPickedDistanceLink);
    return ModeResult::Done;
}

using K = LinkKind;
const ModeRecord kRecords[] = {
    {MODE_SphereAreaEntity_GetRadius, 0, "SphereAreaEntity_GetRadius", "AreaEntity :: Sphere :: GetRadius",
     SphereGetRadius, {In(kSphereAreaLink, "SphereAreaEntity", K::CoreRef), Out(kRadiusLink, "Radius", K::Value)}},
    {MODE_SphereAreaEntity_SetRadius, 1, "SphereAreaEntity_SetRadius", "AreaEntity :: Sphere :: SetRadius",
     SphereSetRadius, {In(kSphereAreaLink, "SphereAreaEntity", K::CoreRef), In(kRadiusLink, "Radius", K::Value)}},
    {MODE_Entity_IsInArea, 48, "Entity_IsInArea", "Entity :: IsInArea", EntityIsInArea,
     {In(kEntityLink, "Entity", K::CoreRef), In(kAreaLink, "AreaEntity", K::CoreRef),
      Optional(Out(kIsInAreaLink, "bIsInArea", K::Value))}},
    {MODE_VirtualEntity_Render, 46, "VirtualEntity_Render", "VirtualEntity :: Render", VirtualEntityRender,
     {In(kRenderedEntityLink, "CoreEntity", K::CoreRef)}},
    {MODE_VirtualEntity_MousePicking, 47, "VirtualEntity_MousePicking", "VirtualEntity :: MousePicking",
     VirtualEntityMousePicking,
     {In(kPickScenarioLink, "CoreScenario", K::CoreRef), In(kCameraLink, "CoreCamera", K::CoreRef),
      In(kMouseXLink, "MouseX", K::Value), In(kMouseYLink, "MouseY", K::Value),
      Out(kPickedEntityLink, "Entity", K::CoreRef), Optional(Out(kPickedPositionLink, "Position [optional]", K::Vector)),
      Optional(Out(kPickedDistanceLink, "Distance [optional]", K::Value))}},
};
const ModeCatalogue::Registration kRegistration(kRecords);

}  // namespace
