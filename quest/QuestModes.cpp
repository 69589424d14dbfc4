#include "scenario_channel/ModeHandlers.h"
#include "scenario_channel/ModeSupport.h"

// Not built yet: these modes report themselves unavailable.
namespace QuestModes {

float Construct(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float FireEvent(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }

}  // namespace QuestModes
