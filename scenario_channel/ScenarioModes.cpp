// The modes that drive a scenario and its entities. Each takes its scenario from link 0
// ("CoreScenario"), stops at its first failure and keeps what it did before it.
#include <algorithm>
#include <string>

#include "coreframework/serializer/SerializerFlag.h"
#include "scenario_channel/ModeHandlers.h"
#include "scenario_channel/ModeSupport.h"

namespace {

using ModeSupport::LinkError;
using ModeSupport::LinkInvalid;
using SerializerState = CustomEnums::SerializerFlag::State;

Core::ScenarioManager& Manager() { return Core::CoreEngine::Instance().GetScenarioManager(); }

// Runs `step` on the scenario at link 0; without one the mode fails before the step.
template <class Step>
float WithScenario(Aco_Storyloom& self, Step step) {
    float status = ModeResult::Done;
    Core::Scenario* scenario = ModeSupport::ScenarioAt(self, 0, status);
    return scenario ? step(*scenario) : status;
}

// The same with the entity at link 1 ("CoreEntity") as well.
template <class Step>
float WithScenarioAndEntity(Aco_Storyloom& self, Step step) {
    return WithScenario(self, [&](Core::Scenario& scenario) {
        float status = ModeResult::Done;
        Core::ScenarioSupport* entity = ModeSupport::EntityAt(self, 1, status);
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

// Indents count tabs: truncated toward zero, never negative, and bounded so that a stray
// value cannot make an export grow without end.
unsigned int IndentFromValue(float value) {
    constexpr float kMaxIndent = 256.0f;
    if (!(value > 0.0f)) return 0;  // negatives and NaN
    return static_cast<unsigned int>(std::min(value, kMaxIndent));
}

}  // namespace

namespace ScenarioModes {

// Links: CoreScenario (written). A manager that makes no scenario empties the reference.
float Create(Aco_Storyloom& self) {
    float status = ModeResult::Done;
    Aco_CoreRef* ref = ModeSupport::OutputReferenceAt(self, 0, status);
    if (!ref) return status;
    ref->SetRef(Manager().CreateScenario());
    return ModeResult::Done;
}

// Links: CoreScenario. The reference is left alone; it empties itself when the scenario dies.
float Destroy(Aco_Storyloom& self) {
    return WithScenario(self, [](Core::Scenario& scenario) {
        Manager().DestroyScenario(&scenario);
        return ModeResult::Done;
    });
}

// Links: CoreScenario, CoreEntity, iID. The entity stays added when the id cannot be written.
float AddEntity(Aco_Storyloom& self) {
    return WithScenarioAndEntity(self, [&](Core::Scenario& scenario, Core::ScenarioSupport& entity) {
        return WriteValue(self, ModeSupport::IdToValue(scenario.AddEntity(&entity)), 2);
    });
}

// Links: CoreScenario, CoreEntity, iID.
float AddEntityAtID(Aco_Storyloom& self) {
    return WithScenarioAndEntity(self, [&](Core::Scenario& scenario, Core::ScenarioSupport& entity) {
        float id = 0.0f, status = ModeResult::Done;
        if (!ReadValue(self, 2, id, status)) return status;
        scenario.AddEntityAtID(&entity, ModeSupport::ValueToId(id));
        return ModeResult::Done;
    });
}

// Links: CoreScenario, CoreEntity.
float RemoveEntity(Aco_Storyloom& self) {
    return WithScenarioAndEntity(self, [](Core::Scenario& scenario, Core::ScenarioSupport& entity) {
        scenario.RemoveEntity(&entity);
        return ModeResult::Done;
    });
}

// Links: CoreScenario, CoreEntity, bInScenario, iID [optional]. An empty reference, or one to
// something that is no entity, is an answer here ("not in it"), not a failure.
float IsEntityInScenario(Aco_Storyloom& self) {
    return WithScenario(self, [&](Core::Scenario& scenario) {
        A3d_Channel* entityChild = self.GetChild(1);
        if (!entityChild) return LinkError(self, 1);
        auto* entity = ModeSupport::ReferencedObject<Core::ScenarioSupport>(entityChild);
        unsigned int id = entity ? scenario.GetEntityID(entity) : Core::Scenario::NoID;
        float status = WriteValue(self, ModeSupport::FlagToValue(id != Core::Scenario::NoID), 2);
        if (status != ModeResult::Done) return status;
        self.CE_SetValue(ModeSupport::IdToValue(id), 3);  // optional
        return ModeResult::Done;
    });
}

// Links: CoreScenario, iID, bInScenario. The answer is optional: an unwritable link is ignored.
float IsIDInScenario(Aco_Storyloom& self) {
    return WithScenario(self, [&](Core::Scenario& scenario) {
        float id = 0.0f, status = ModeResult::Done;
        if (!ReadValue(self, 1, id, status)) return status;
        bool found = scenario.GetEntity(ModeSupport::ValueToId(id)) != nullptr;
        self.CE_SetValue(ModeSupport::FlagToValue(found), 2);
        return ModeResult::Done;
    });
}

// Links: CoreScenario, iID, CoreEntity (written).
float GetEntity(Aco_Storyloom& self) {
    return WithScenario(self, [&](Core::Scenario& scenario) {
        float id = 0.0f, status = ModeResult::Done;
        if (!ReadValue(self, 1, id, status)) return status;
        return FillEntityReference(self, 2, [&] { return scenario.GetEntity(ModeSupport::ValueToId(id)); });
    });
}

// Links: CoreScenario, CoreEntity, iID.
float GetEntityID(Aco_Storyloom& self) {
    return WithScenarioAndEntity(self, [&](Core::Scenario& scenario, Core::ScenarioSupport& entity) {
        return WriteValue(self, ModeSupport::IdToValue(scenario.GetEntityID(&entity)), 2);
    });
}

// Links: CoreScenario, iCount. Counts convert like ids.
float GetEntityCount(Aco_Storyloom& self) {
    return WithScenario(self, [&](Core::Scenario& scenario) {
        return WriteValue(self, ModeSupport::IdToValue(scenario.GetEntitiesCount()), 1);
    });
}

// Links: CoreScenario, CoreEntity, bInUse.
float GetIsEntityInUse(Aco_Storyloom& self) {
    return WithScenarioAndEntity(self, [&](Core::Scenario& scenario, Core::ScenarioSupport& entity) {
        return WriteValue(self, ModeSupport::FlagToValue(scenario.GetIsEntityInUse(&entity)), 2);
    });
}

// Links: CoreScenario, CoreEntity (written). 106.0 for a scenario without entities.
float GetFirstEntity(Aco_Storyloom& self) {
    return WithScenario(self, [&](Core::Scenario& scenario) {
        return FillEntityReference(self, 1, [&] { return scenario.GetFirstEntity(); });
    });
}

// Links: CoreScenario, CoreEntity (from), CoreEntity (written). 106.0 past the last entity.
float GetNextEntity(Aco_Storyloom& self) {
    return WithScenarioAndEntity(self, [&](Core::Scenario& scenario, Core::ScenarioSupport& entity) {
        return FillEntityReference(self, 2, [&] { return scenario.GetNextEntity(&entity); });
    });
}

// Links: CoreScenario, PlayTime (seconds).
float GetPlayTime(Aco_Storyloom& self) {
    return WithScenario(self, [&](Core::Scenario& scenario) { return WriteValue(self, scenario.GetPlayTime(), 1); });
}

float InitForEditing(Aco_Storyloom& self) { return CallOnScenario(self, &Core::Scenario::RefreshUnusedIDsList); }
float RenderVirtualEntities(Aco_Storyloom& self) {
    return CallOnScenario(self, &Core::Scenario::RenderVirtualEntities);
}
float Pause(Aco_Storyloom& self) { return CallOnScenario(self, &Core::Scenario::Pause); }
float Resume(Aco_Storyloom& self) { return CallOnScenario(self, &Core::Scenario::Resume); }

// Links: CoreScenario, Data, ExportFlag, Indent. The state is appended to the text already in
// "Data"; once exported, a "Data" that will not take the text back is not a failure.
float StateExport(Aco_Storyloom& self) {
    return WithScenario(self, [&](Core::Scenario& scenario) {
        SerializerState flag = SerializerFlagAt(self, 2);
        float indent = 0.0f, status = ModeResult::Done;
        if (!ReadValue(self, 3, indent, status)) return status;
        std::string text;
        if (!self.CE_CopyString(text, 1, true)) return LinkError(self, 1);
        scenario.ExportState(flag, text, IndentFromValue(indent));
        self.CE_SetString(text, 1);
        return ModeResult::Done;
    });
}

// Links: CoreScenario, Data, ImportFlag. "Data" is read only.
float StateImport(Aco_Storyloom& self) {
    return WithScenario(self, [&](Core::Scenario& scenario) {
        std::string text;
        if (!self.CE_CopyString(text, 1, true)) return LinkError(self, 1);
        scenario.ImportState(SerializerFlagAt(self, 2), text);
        return ModeResult::Done;
    });
}

}  // namespace ScenarioModes
