// The modes that drive a scenario and its entities. Each takes its scenario from
// "CoreScenario", stops at its first failure and keeps what it did before it.
#include <string>

#include "storyloom/coreframework/serializer/SerializerFlag.h"
#include "storyloom/host/core/CoreEngine.h"
#include "storyloom/host/core/Scenario.h"
#include "storyloom/host/core/ScenarioManager.h"
#include "storyloom/scenario_channel/ModeCatalogue.h"
#include "storyloom/scenario_channel/ModeSupport.h"

namespace {

// Link positions. Every mode here starts with its scenario; the entity modes follow it with
// the entity they work on, then the id or answer about it.
constexpr unsigned int kScenarioLink = 0;
constexpr unsigned int kEntityLink = 1;
constexpr unsigned int kEntityAnswerLink = 2;   // iID, bInScenario, bInUse or the next entity
constexpr unsigned int kOptionalIdLink = 3;     // "Scenario_IsEntityInScenario" only
constexpr unsigned int kIdLink = 1;             // the id looked up by "GetEntity" and "IsIDInScenario"
constexpr unsigned int kIdAnswerLink = 2;       // what the id lookup found
constexpr unsigned int kScenarioAnswerLink = 1; // a count, a play time or the first entity
constexpr unsigned int kStateDataLink = 1;
constexpr unsigned int kStateFlagLink = 2;
constexpr unsigned int kStateIndentLink = 3;

using ModeSupport::LinkError;
using ModeSupport::LinkInvalid;
using SerializerState = CustomEnums::SerializerFlag::State;

Core::ScenarioManager& Manager() { return Core::CoreEngine::Instance().GetScenarioManager(); }

// Runs `step` on the scenario; without one the mode fails before the step.
template <class Step>
float WithScenario(Aco_Storyloom& self, Step step) {
    float status = ModeResult::Done;
    Core::Scenario* scenario = ModeSupport::ScenarioAt(self, kScenarioLink, status);
    return scenario ? step(*scenario) : status;
}

// The same with the entity ("CoreEntity") as well.
template <class Step>
float WithScenarioAndEntity(Aco_Storyloom& self, Step step) {
    return WithScenario(self, [&](Core::Scenario& scenario) {
        float status = ModeResult::Done;
        Core::ScenarioSupport* entity = ModeSupport::EntityAt(self, kEntityLink, status);
        return entity ? step(scenario, *entity) : status;
    });
}

// For the modes that only tell the scenario to do something.
template <class Answer>
float CallOnScenario(Aco_Storyloom& self, Answer (Core::Scenario::*operation)()) {
    return WithScenario(self, [operation](Core::Scenario& scenario) {
        (scenario.*operation)();
        return ModeResult::Done;
    });
}

// A result the mode exists to deliver: a link that cannot take it fails the mode.
float WriteValue(Aco_Storyloom& self, float value, unsigned int link) {
    return self.CE_SetValue(value, link) ? ModeResult::Done : LinkError(self, link);
}

bool ReadValue(Aco_Storyloom& self, unsigned int link, float& value, float& status) {
    if (self.CE_GetValue(value, link)) return true;
    status = LinkError(self, link);
    return false;
}

// Points the output reference at `link` at the entity `lookup` finds. The lookup runs only
// once the link is known to be there; nothing found leaves the reference as it was.
template <class Lookup>
float FillEntityReference(Aco_Storyloom& self, unsigned int link, Lookup lookup) {
    float status = ModeResult::Done;
    Aco_CoreRef* ref = ModeSupport::OutputReferenceAt(self, link, status);
    if (!ref) return status;
    Core::ScenarioSupport* entity = lookup();
    if (!entity) return LinkInvalid(self, link);
    ModeSupport::PointReferenceAt(*ref, entity);
    return ModeResult::Done;
}

SerializerState SerializerFlagAt(Aco_Storyloom& self, unsigned int link) {
    return static_cast<SerializerState>(ModeSupport::ReadSerializerFlag(self, link));
}

// Indents count tabs, truncated toward zero like ids; the scenario bounds what it writes.
unsigned int IndentFromValue(float value) { return ModeSupport::ValueToId(value); }


// A manager that makes no scenario empties the reference.
float Create(Aco_Storyloom& self) {
    float status = ModeResult::Done;
    Aco_CoreRef* ref = ModeSupport::OutputReferenceAt(self, kScenarioLink, status);
    if (!ref) return status;
    ref->SetRef(Manager().CreateScenario());
    return ModeResult::Done;
}

// The reference is left alone; it empties itself when the scenario dies.
float Destroy(Aco_Storyloom& self) {
    return WithScenario(self, [](Core::Scenario& scenario) {
        Manager().DestroyScenario(&scenario);
        return ModeResult::Done;
    });
}

// The entity stays added when the id cannot be written.
float AddEntity(Aco_Storyloom& self) {
    return WithScenarioAndEntity(self, [&](Core::Scenario& scenario, Core::ScenarioSupport& entity) {
        return WriteValue(self, ModeSupport::IdToValue(scenario.AddEntity(&entity)), kEntityAnswerLink);
    });
}

float AddEntityAtID(Aco_Storyloom& self) {
    return WithScenarioAndEntity(self, [&](Core::Scenario& scenario, Core::ScenarioSupport& entity) {
        float id = 0.0f, status = ModeResult::Done;
        if (!ReadValue(self, kEntityAnswerLink, id, status)) return status;
        scenario.AddEntityAtID(&entity, ModeSupport::ValueToId(id));
        return ModeResult::Done;
    });
}

float RemoveEntity(Aco_Storyloom& self) {
    return WithScenarioAndEntity(self, [](Core::Scenario& scenario, Core::ScenarioSupport& entity) {
        scenario.RemoveEntity(&entity);
        return ModeResult::Done;
    });
}

// An empty reference, or one to
// something that is no entity, is an answer here ("not in it"), not a failure.
float IsEntityInScenario(Aco_Storyloom& self) {
    return WithScenario(self, [&](Core::Scenario& scenario) {
        A3d_Channel* entityChild = self.GetChild(kEntityLink);
        if (!entityChild) return LinkError(self, kEntityLink);
        auto* entity = ModeSupport::ReferencedObject<Core::ScenarioSupport>(entityChild);
        unsigned int id = entity ? scenario.GetEntityID(entity) : Core::Scenario::NoID;
        float status = WriteValue(self, ModeSupport::FlagToValue(id != Core::Scenario::NoID), kEntityAnswerLink);
        if (status != ModeResult::Done) return status;
        self.CE_SetValue(ModeSupport::IdToValue(id), kOptionalIdLink);
        return ModeResult::Done;
    });
}

// The answer is optional: an unwritable link is ignored.
float IsIDInScenario(Aco_Storyloom& self) {
    return WithScenario(self, [&](Core::Scenario& scenario) {
        float id = 0.0f, status = ModeResult::Done;
        if (!ReadValue(self, kIdLink, id, status)) return status;
        bool found = scenario.GetEntity(ModeSupport::ValueToId(id)) != nullptr;
        self.CE_SetValue(ModeSupport::FlagToValue(found), kIdAnswerLink);
        return ModeResult::Done;
    });
}

float GetEntity(Aco_Storyloom& self) {
    return WithScenario(self, [&](Core::Scenario& scenario) {
        float id = 0.0f, status = ModeResult::Done;
        if (!ReadValue(self, kIdLink, id, status)) return status;
        return FillEntityReference(self, kIdAnswerLink, [&] { return scenario.GetEntity(ModeSupport::ValueToId(id)); });
    });
}

float GetEntityID(Aco_Storyloom& self) {
    return WithScenarioAndEntity(self, [&](Core::Scenario& scenario, Core::ScenarioSupport& entity) {
        return WriteValue(self, ModeSupport::IdToValue(scenario.GetEntityID(&entity)), kEntityAnswerLink);
    });
}

// Counts convert like ids.
float GetEntityCount(Aco_Storyloom& self) {
    return WithScenario(self, [&](Core::Scenario& scenario) {
        return WriteValue(self, ModeSupport::IdToValue(scenario.GetEntitiesCount()), kScenarioAnswerLink);
    });
}

float GetIsEntityInUse(Aco_Storyloom& self) {
    return WithScenarioAndEntity(self, [&](Core::Scenario& scenario, Core::ScenarioSupport& entity) {
        return WriteValue(self, ModeSupport::FlagToValue(scenario.GetIsEntityInUse(&entity)), kEntityAnswerLink);
    });
}

// 106.0 for a scenario without entities.
float GetFirstEntity(Aco_Storyloom& self) {
    return WithScenario(self, [&](Core::Scenario& scenario) {
        return FillEntityReference(self, kScenarioAnswerLink, [&] { return scenario.GetFirstEntity(); });
    });
}

// 106.0 past the last entity.
float GetNextEntity(Aco_Storyloom& self) {
    return WithScenarioAndEntity(self, [&](Core::Scenario& scenario, Core::ScenarioSupport& entity) {
        return FillEntityReference(self, kEntityAnswerLink, [&] { return scenario.GetNextEntity(&entity); });
    });
}

// In seconds.
float GetPlayTime(Aco_Storyloom& self) {
    return WithScenario(self, [&](Core::Scenario& scenario) {
        return WriteValue(self, scenario.GetPlayTime(), kScenarioAnswerLink);
    });
}

float InitForEditing(Aco_Storyloom& self) { return CallOnScenario(self, &Core::Scenario::RefreshUnusedIDsList); }
float RenderVirtualEntities(Aco_Storyloom& self) {
    return CallOnScenario(self, &Core::Scenario::RenderVirtualEntities);
}
float Pause(Aco_Storyloom& self) { return CallOnScenario(self, &Core::Scenario::Pause); }
float Resume(Aco_Storyloom& self) { return CallOnScenario(self, &Core::Scenario::Resume); }

// The state is appended to the text already in
// "Data"; once exported, a "Data" that will not take the text back is not a failure.
float StateExport(Aco_Storyloom& self) {
    return WithScenario(self, [&](Core::Scenario& scenario) {
        SerializerState flag = SerializerFlagAt(self, kStateFlagLink);
        float indent = 0.0f, status = ModeResult::Done;
        if (!ReadValue(self, kStateIndentLink, indent, status)) return status;
        std::string text;
        if (!self.CE_CopyString(text, kStateDataLink, true)) return LinkError(self, kStateDataLink);
        scenario.ExportState(flag, text, IndentFromValue(indent));
        self.CE_SetString(text, kStateDataLink);
        return ModeResult::Done;
    });
}

// "Data" is read only.
float StateImport(Aco_Storyloom& self) {
    return WithScenario(self, [&](Core::Scenario& scenario) {
        std::string text;
        if (!self.CE_CopyString(text, kStateDataLink, true)) return LinkError(self, kStateDataLink);
        scenario.ImportState(SerializerFlagAt(self, kStateFlagLink), text);
        return ModeResult::Done;
    });
}


using K = LinkKind;
constexpr LinkRecord kScenario = In(kScenarioLink, "CoreScenario", K::CoreRef);
constexpr LinkRecord kEntity = In(kEntityLink, "CoreEntity", K::CoreRef);

const ModeRecord kRecords[] = {
    {MODE_Scenario_Create, 8, "Scenario_Create", "Scenario :: Create", Create,
     {Out(kScenarioLink, "CoreScenario", K::CoreRef)}},
    {MODE_Scenario_Destroy, 9, "Scenario_Destroy", "Scenario :: Destroy", Destroy, {kScenario}},
    {MODE_Scenario_AddEntity, 6, "Scenario_AddEntity", "Scenario :: AddEntity", AddEntity,
     {kScenario, kEntity, Out(kEntityAnswerLink, "iID", K::Value)}},
    {MODE_Scenario_AddEntityAtID, 7, "Scenario_AddEntityAtID", "Scenario :: AddEntityAtID", AddEntityAtID,
     {kScenario, kEntity, In(kEntityAnswerLink, "iID", K::Value)}},
    {MODE_Scenario_RemoveEntity, 20, "Scenario_RemoveEntity", "Scenario :: RemoveEntity", RemoveEntity,
     {kScenario, kEntity}},
    {MODE_Scenario_IsEntityInScenario, 18, "Scenario_IsEntityInScenario", "Scenario :: IsEntityInScenario",
     IsEntityInScenario,
     {kScenario, kEntity, Out(kEntityAnswerLink, "bInScenario", K::Value),
      Optional(Out(kOptionalIdLink, "iID [optional]", K::Value))}},
    {MODE_Scenario_IsIDInScenario, 19, "Scenario_IsIDInScenario", "Scenario :: IsIDInScenario", IsIDInScenario,
     {kScenario, In(kIdLink, "iID", K::Value), Optional(Out(kIdAnswerLink, "bInScenario", K::Value))}},
    {MODE_Scenario_GetEntity, 10, "Scenario_GetEntity", "Scenario :: GetEntity", GetEntity,
     {kScenario, In(kIdLink, "iID", K::Value), Out(kIdAnswerLink, "CoreEntity", K::CoreRef)}},
    {MODE_Scenario_GetEntityID, 11, "Scenario_GetEntityID", "Scenario :: GetEntityID", GetEntityID,
     {kScenario, kEntity, Out(kEntityAnswerLink, "iID", K::Value)}},
    {MODE_Scenario_GetEntityCount, 12, "Scenario_GetEntityCount", "Scenario :: GetEntityCount", GetEntityCount,
     {kScenario, Out(kScenarioAnswerLink, "iCount", K::Value)}},
    {MODE_GetIsEntityInUse, 15, "GetIsEntityInUse", "Scenario :: GetIsEntityInUse", GetIsEntityInUse,
     {kScenario, kEntity, Out(kEntityAnswerLink, "bInUse", K::Value)}},
    {MODE_Scenario_GetFirstEntity, 13, "Scenario_GetFirstEntity", "Scenario :: GetFirstEntity", GetFirstEntity,
     {kScenario, Out(kScenarioAnswerLink, "CoreEntity", K::CoreRef)}},
    // The entity to go on from and the one found share a name.
    {MODE_Scenario_GetNextEntity, 14, "Scenario_GetNextEntity", "Scenario :: GetNextEntity", GetNextEntity,
     {kScenario, kEntity, Out(kEntityAnswerLink, "CoreEntity", K::CoreRef)}},
    {MODE_Scenario_GetPlayTime, 16, "Scenario_GetPlayTime", "Scenario :: GetPlayTime", GetPlayTime,
     {kScenario, Out(kScenarioAnswerLink, "PlayTime", K::Value)}},
    {MODE_Scenario_InitForEditing, 17, "Scenario_InitForEditing", "Scenario :: InitForEditing", InitForEditing,
     {kScenario}},
    {MODE_Scenario_RenderVirtualEntities, 21, "Scenario_RenderVirtualEntities", "Scenario :: RenderVirtualEntities",
     RenderVirtualEntities, {kScenario}},
    {MODE_Scenario_Update_Pause, 30, "Scenario_Update_Pause", "Scenario :: Update :: Pause", Pause, {kScenario}},
    {MODE_Scenario_Update_Resume, 31, "Scenario_Update_Resume", "Scenario :: Update :: Resume", Resume, {kScenario}},
    {MODE_Scenario_State_Export, 22, "Scenario_State_Export", "Scenario :: State :: Export", StateExport,
     {kScenario, InOut(kStateDataLink, "Data", K::Text), Optional(In(kStateFlagLink, "ExportFlag", K::CustomEnum)),
      In(kStateIndentLink, "Indent", K::Value)}},
    {MODE_Scenario_State_Import, 23, "Scenario_State_Import", "Scenario :: State :: Import", StateImport,
     {kScenario, InOut(kStateDataLink, "Data", K::Text), Optional(In(kStateFlagLink, "ImportFlag", K::CustomEnum))}},
};
const ModeCatalogue::Registration kRegistration(kRecords);

}  // namespace
