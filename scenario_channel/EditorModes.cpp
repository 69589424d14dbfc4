#include "scenario_channel/ModeHandlers.h"
#include "scenario_channel/ModeSupport.h"

// Not built yet: these modes report themselves unavailable.
namespace EditorModes {

float Show(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float Hide(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float RenderGraph(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float SetScenario(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float GetRoot(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float SetTesting(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float OnGraphSized(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float HandleSelectEntity(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float NotifyEntitySelected(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float NotifyEntitySelectCanceled(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float AddStringSelectVarType(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float SetTranslatedMessages(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }

}  // namespace EditorModes
