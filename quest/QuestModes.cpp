// The modes that define scenario nodes by channels, declare their variable slots and fire
// scenario events.
#include <memory>
#include <vector>

#include "storyloom/coreframework/Singleton.h"
#include "storyloom/host/core/EntityBase.h"
#include "storyloom/host/core/EventFactoryManager.h"
#include "storyloom/host/core/EventParams.h"
#include "storyloom/host/core/Scenario.h"
#include "storyloom/quest/ConstructLinks.h"
#include "storyloom/quest/QuestVarFactory.h"
#include "storyloom/scenario_channel/ModeCatalogue.h"
#include "storyloom/scenario_channel/ModeSupport.h"

namespace {

// Links of "EventSystem_FireEvent"; "EventType" follows the parameters and their empty place.
enum FireEventLinks : unsigned int { kScenarioLink, kInstigatorLink, kParametersLink, kEventTypeLink };
// Links of the slot declarations.
enum ObjectiveLinks : unsigned int { kShortTextLink, kLongTextLink };
enum StringSelectLinks : unsigned int { kListTypeLink };

constexpr const char* kEventTypes[] = {"Mission - Started", "Mission - Loaded", "Area - Entity Entered",
                                       "Area - Entity Left"};
constexpr unsigned int kEventTypeCount = sizeof(kEventTypes) / sizeof(kEventTypes[0]);

float Construct(Aco_Storyloom& self) {
    self.TryCreateFactory();
    self.InitializeFactory();
    return ModeResult::Done;
}
// One entry each, so that every mode reaches a handler of its own.
float ConstructAction(Aco_Storyloom& self) { return Construct(self); }
float ConstructCondition(Aco_Storyloom& self) { return Construct(self); }
float ConstructEvent(Aco_Storyloom& self) { return Construct(self); }

// Slot declarations are read by the construct channel they hang under, not evaluated.
float DeclareObjective(Aco_Storyloom&) { return ModeResult::Done; }
float DeclareStringSelect(Aco_Storyloom&) { return ModeResult::Done; }

float FireEvent(Aco_Storyloom& self) {
    float status = ModeResult::Done;
    Core::Scenario* scenario = ModeSupport::ScenarioAt(self, kScenarioLink, status);
    if (!scenario) return status;
    auto* instigator = ModeSupport::ObjectAt<Core::EntityBase>(self, kInstigatorLink, status);
    if (!instigator) return status;

    // The variables outlive the parameter list that refers to them.
    std::vector<std::unique_ptr<Core::VariableBase>> variables;
    Core::EventParams params(instigator);
    unsigned int parameterCount = self.GetChildLinkPositionCount(kParametersLink);
    for (unsigned int i = 0; i < parameterCount; ++i) {
        std::unique_ptr<QuestVarFactory> kind = self.CreateVarFactoryFromLink(kParametersLink + i);
        if (!kind) continue;
        variables.push_back(kind->CreateVariable(*scenario));
        params.AddParameter(variables.back().get());
    }

    float typeValue = 0.0f;
    if (!self.CE_GetValue(typeValue, parameterCount + kEventTypeLink)) return ModeSupport::LinkError(self, kEventTypeLink);
    unsigned int type = ModeSupport::ValueToId(typeValue);
    if (type >= kEventTypeCount) return ModeSupport::LinkInvalid(self, kEventTypeLink);
    CoreFramework::Singleton<Core::EventFactoryManager>::Instance().FireEvent(kEventTypes[type], params);
    return ModeResult::Done;
}

using K = LinkKind;
using namespace ConstructLinks;
constexpr LinkRecord kSlots = Optional(Repeated(Out(kVariableSlots, "VariableSlots", K::Generic)));

const ModeRecord kRecords[] = {
    {MODE_OnConstruct_Action, 3, "Action <Rename me please!>", "OnConstruct :: Action", ConstructAction,
     {kSlots, Optional(In(kRun, "Execute Action", K::Generic)), Optional(In(kRun + 1, "DisplayText", K::Text))}},
    {MODE_OnConstruct_Condition, 4, "Condition <Rename me please!>", "OnConstruct :: Condition", ConstructCondition,
     {kSlots, Optional(In(kRun, "Evaluate Condition", K::Value)), Optional(In(kRun + 1, "DisplayText", K::Text))}},
    // The instigator is declared twice: as the reference the event writes, and as what runs it.
    {MODE_OnConstruct_Event, 5, "Event <Rename me please!>", "OnConstruct :: Event", ConstructEvent,
     {kSlots, Optional(Out(kInstigator, "Instigator", K::CoreRef)),
      Optional(Repeated(Out(kEventParameters, "EventParameters", K::Generic))),
      Optional(In(kEventParameters + 1, "Instigator", K::Generic)), Optional(In(kEventParameters + 2, "DisplayText", K::Text))}},
    {MODE_EventSystem_FireEvent, 2, "EventSystem_FireEvent", "EventSystem :: FireEvent (TEMP: Only MissionStarted)",
     FireEvent,
     {In(kScenarioLink, "CoreScenario", K::CoreRef), In(kInstigatorLink, "Instigator", K::CoreRef),
      Optional(Repeated(In(kParametersLink, "EventParameters", K::Generic))), In(kEventTypeLink, "EventType", K::CustomEnum)}},
    {MODE_VariableSlot_Objective, 45, "VariableSlot_Objective", "VariableSlot :: Objective", DeclareObjective,
     {Optional(Out(kShortTextLink, "Short", K::Text)), Optional(Out(kLongTextLink, "Long", K::Text))}},
    {MODE_StringSelectVar, 44, "StringSelectVar", "VariableSlot :: StringSelectVar", DeclareStringSelect,
     {Optional(Out(kListTypeLink, "Type", K::Text))}},
};
const ModeCatalogue::Registration kRegistration(kRecords);

}  // namespace
