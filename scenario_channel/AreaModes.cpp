// Area and virtual-entity modes. Their behaviour arrives with the debug renderer; until then
// they report themselves unavailable and never answer success. Their records are final: the
// handlers below are what changes.
#include "scenario_channel/ModeCatalogue.h"
#include "scenario_channel/ModeSupport.h"

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

float SphereGetRadius(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float SphereSetRadius(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float EntityIsInArea(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float VirtualEntityRender(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float VirtualEntityMousePicking(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }

using K = LinkKind;
const ModeRecord kRecords[] = {
    {MODE_SphereAreaEntity_GetRadius, 0, "SphereAreaEntity_GetRadius", "AreaEntity :: Sphere :: GetRadius",
     SphereGetRadius, {In(kSphereAreaLink, "SphereAreaEntity", K::CoreRef), Out(kRadiusLink, "Radius", K::Value)}},
    {MODE_SphereAreaEntity_SetRadius, 1, "SphereAreaEntity_SetRadius", "AreaEntity :: Sphere :: SetRadius",
     SphereSetRadius, {In(kSphereAreaLink, "SphereAreaEntity", K::CoreRef), In(kRadiusLink, "Radius", K::Value)}},
    {MODE_Entity_IsInArea, 48, "Entity_IsInArea", "Entity :: IsInArea", EntityIsInArea,
     {In(kEntityLink, "Entity", K::CoreRef), In(kAreaLink, "AreaEntity", K::CoreRef),
      Out(kIsInAreaLink, "bIsInArea", K::Value)}},
    {MODE_VirtualEntity_Render, 46, "VirtualEntity_Render", "VirtualEntity :: Render", VirtualEntityRender,
     {In(kRenderedEntityLink, "CoreEntity", K::CoreRef)}},
    {MODE_VirtualEntity_MousePicking, 47, "VirtualEntity_MousePicking", "VirtualEntity :: MousePicking",
     VirtualEntityMousePicking,
     {In(kPickScenarioLink, "CoreScenario", K::CoreRef), In(kCameraLink, "CoreCamera", K::CoreRef),
      In(kMouseXLink, "MouseX", K::Value), In(kMouseYLink, "MouseY", K::Value),
      Out(kPickedEntityLink, "Entity", K::CoreRef), Out(kPickedPositionLink, "Position [optional]", K::Vector),
      Out(kPickedDistanceLink, "Distance [optional]", K::Value)}},
};
const ModeCatalogue::Registration kRegistration(kRecords);

}  // namespace
