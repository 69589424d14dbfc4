#include "scenario_channel/ModeHandlers.h"
#include "scenario_channel/ModeSupport.h"

// Not built yet: these modes report themselves unavailable.
namespace ScenarioModes {

float Create(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float Destroy(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float AddEntity(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float AddEntityAtID(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float RemoveEntity(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float IsEntityInScenario(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float IsIDInScenario(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float GetEntity(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float GetEntityID(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float GetEntityCount(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float GetIsEntityInUse(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float GetFirstEntity(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float GetNextEntity(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float GetPlayTime(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float InitForEditing(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float RenderVirtualEntities(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float Pause(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float Resume(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float StateExport(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float StateImport(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }

}  // namespace ScenarioModes
