#include "scenario_channel/ModeHandlers.h"
#include "scenario_channel/ModeSupport.h"

// Not built yet: these modes report themselves unavailable.
namespace TranslationModes {

float Export(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float AddItem(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float GetPrefixSuffix(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float Clear(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float Import(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float Translate(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }

}  // namespace TranslationModes
