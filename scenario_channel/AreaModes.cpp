#include "scenario_channel/ModeHandlers.h"
#include "scenario_channel/ModeSupport.h"

// Area and virtual-entity modes arrive with the debug renderer; until then they report
// themselves unavailable and never answer success.
namespace AreaModes {

float SphereGetRadius(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float SphereSetRadius(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float EntityIsInArea(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float VirtualEntityRender(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float VirtualEntityMousePicking(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }

}  // namespace AreaModes
