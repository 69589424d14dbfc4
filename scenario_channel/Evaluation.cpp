#include "scenario_channel/Aco_Storyloom.h"
#include "scenario_channel/ModeHandlers.h"
#include "scenario_channel/ModeSupport.h"

float Aco_Storyloom::GetFloat() {
    float result = CheckRenderCount() ? RunCurrentMode() : ModeResult::Done;
    SetFloat(result);
    return _value;
}

float Aco_Storyloom::RunCurrentMode() {
    switch (GetCurrentMode()) {
        case MODE_OnConstruct_Action:
        case MODE_OnConstruct_Condition:
        case MODE_OnConstruct_Event: return QuestModes::Construct(*this);
        case MODE_EventSystem_FireEvent: return QuestModes::FireEvent(*this);
        // Slot declarations: read by the construct channel they hang under.
        case MODE_VariableSlot_Objective:
        case MODE_StringSelectVar: return ModeResult::Done;

        case MODE_Scenario_Create: return ScenarioModes::Create(*this);
        case MODE_Scenario_Destroy: return ScenarioModes::Destroy(*this);
        case MODE_Scenario_AddEntity: return ScenarioModes::AddEntity(*this);
        case MODE_Scenario_AddEntityAtID: return ScenarioModes::AddEntityAtID(*this);
        case MODE_Scenario_RemoveEntity: return ScenarioModes::RemoveEntity(*this);
        case MODE_Scenario_IsEntityInScenario: return ScenarioModes::IsEntityInScenario(*this);
        case MODE_Scenario_IsIDInScenario: return ScenarioModes::IsIDInScenario(*this);
        case MODE_Scenario_GetEntity: return ScenarioModes::GetEntity(*this);
        case MODE_Scenario_GetEntityID: return ScenarioModes::GetEntityID(*this);
        case MODE_Scenario_GetEntityCount: return ScenarioModes::GetEntityCount(*this);
        case MODE_GetIsEntityInUse: return ScenarioModes::GetIsEntityInUse(*this);
        case MODE_Scenario_GetFirstEntity: return ScenarioModes::GetFirstEntity(*this);
        case MODE_Scenario_GetNextEntity: return ScenarioModes::GetNextEntity(*this);
        case MODE_Scenario_GetPlayTime: return ScenarioModes::GetPlayTime(*this);
        case MODE_Scenario_InitForEditing: return ScenarioModes::InitForEditing(*this);
        case MODE_Scenario_RenderVirtualEntities: return ScenarioModes::RenderVirtualEntities(*this);
        case MODE_Scenario_Update_Pause: return ScenarioModes::Pause(*this);
        case MODE_Scenario_Update_Resume: return ScenarioModes::Resume(*this);
        case MODE_Scenario_State_Export: return ScenarioModes::StateExport(*this);
        case MODE_Scenario_State_Import: return ScenarioModes::StateImport(*this);

        case MODE_ScenarioEditor_Show: return EditorModes::Show(*this);
        case MODE_ScenarioEditor_Hide: return EditorModes::Hide(*this);
        case MODE_ScenarioEditor_RenderGraph: return EditorModes::RenderGraph(*this);
        case MODE_ScenarioEditor_SetScenario: return EditorModes::SetScenario(*this);
        case MODE_ScenarioEditor_GetRoot: return EditorModes::GetRoot(*this);
        case MODE_ScenarioEditor_SetTesting: return EditorModes::SetTesting(*this);
        case MODE_ScenarioEditor_OnGraphSized: return EditorModes::OnGraphSized(*this);
        case MODE_ScenarioEditor_HandleSelectEntity: return EditorModes::HandleSelectEntity(*this);
        case MODE_ScenarioEditor_NotifyEntitySelected: return EditorModes::NotifyEntitySelected(*this);
        case MODE_ScenarioEditor_NotifyEntitySelectCanceled: return EditorModes::NotifyEntitySelectCanceled(*this);
        case MODE_StringSelectVarType_Add: return EditorModes::AddStringSelectVarType(*this);
        case MODE_SetTranslatedMessages: return EditorModes::SetTranslatedMessages(*this);

        case MODE_Scenario_Translation_Export: return TranslationModes::Export(*this);
        case MODE_Scenario_Translation_AddItem: return TranslationModes::AddItem(*this);
        case MODE_Scenario_Translation_GetPrefixSuffix: return TranslationModes::GetPrefixSuffix(*this);
        case MODE_Scenario_Translation_Clear: return TranslationModes::Clear(*this);
        case MODE_Scenario_Translation_Import: return TranslationModes::Import(*this);
        case MODE_Scenario_Translation_Translate: return TranslationModes::Translate(*this);

        case MODE_SphereAreaEntity_GetRadius: return AreaModes::SphereGetRadius(*this);
        case MODE_SphereAreaEntity_SetRadius: return AreaModes::SphereSetRadius(*this);
        case MODE_Entity_IsInArea: return AreaModes::EntityIsInArea(*this);
        case MODE_VirtualEntity_Render: return AreaModes::VirtualEntityRender(*this);
        case MODE_VirtualEntity_MousePicking: return AreaModes::VirtualEntityMousePicking(*this);

        default:
            ReportEvaluationFailure(FormatText("ModeNotRecognized[%u]", GetCurrentMode()));
            return ModeResult::UnknownMode;
    }
}
