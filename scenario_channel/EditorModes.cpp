#include <string>
#include <utility>
#include <vector>

#include "storyloom/host/core/CoreEngine.h"
#include "storyloom/host/core/ScenarioEditor.h"
#include "storyloom/host/core/ScenarioGraph.h"
#include "storyloom/host/core/StartDisplayTimerAction.h"
#include "storyloom/host/core/StringListVarSupport.h"
#include "storyloom/host/core/UberIsEntityInAreaSpeedTime.h"
#include "storyloom/scenario_channel/EditorCallbacks.h"
#include "storyloom/scenario_channel/ModeCatalogue.h"
#include "storyloom/scenario_channel/ModeSupport.h"

namespace {

// Link positions.
constexpr unsigned int kScenarioLink = 0;      // "ScenarioEditor_SetScenario"
constexpr unsigned int kEntityLink = 0;        // "ScenarioEditor_NotifyEntitySelected"
constexpr unsigned int kRootNameLink = 0;      // "ScenarioEditor_GetRoot"
constexpr unsigned int kTestingLink = 0;       // "ScenarioEditor_SetTesting"
constexpr unsigned int kTestingMessageLink = 1;
constexpr unsigned int kWidthLink = 0;         // "ScenarioEditor_OnGraphSized"
constexpr unsigned int kHeightLink = 1;
constexpr unsigned int kGraphCallLink = 2;
constexpr unsigned int kNeedToPickLink = 0;    // "ScenarioEditor_HandleSelectEntity"
constexpr unsigned int kPickCallbackLink = 1;
constexpr unsigned int kTypeNameLink = 0;      // "StringSelectVarType_Add"
constexpr unsigned int kOptionsLink = 1;
constexpr unsigned int kFirstMessageLink = 0;  // "SetTranslatedMessages", one link per message

// The editor is usable only with its GUI built; a refused initialisation is not ours to
// report, so the mode goes on with the editor as it is.
Core::ScenarioEditor& AccessEditor() {
    Core::ScenarioEditor& editor = Core::CoreEngine::Instance().GetScenarioEditor();
    if (!editor.IsInitialized())
        editor.Initialize(nullptr, Core::GUIBase::DefaultSkin, Core::GUIBase::DefaultFont);
    return editor;
}


float Show(Aco_Storyloom&) {
    AccessEditor().Show();
    return ModeResult::Done;
}

float Hide(Aco_Storyloom&) {
    AccessEditor().Hide();
    return ModeResult::Done;
}

float RenderGraph(Aco_Storyloom&) {
    AccessEditor().GetScenarioGraph().RenderGraph();
    return ModeResult::Done;
}

float SetScenario(Aco_Storyloom& self) {
    float status = ModeResult::Done;
    Core::Scenario* scenario = ModeSupport::ScenarioAt(self, kScenarioLink, status);
    if (!scenario) return status;
    AccessEditor().SetScenario(scenario);
    return ModeResult::Done;
}

float GetRoot(Aco_Storyloom& self) {
    std::string rootName = AccessEditor().GetRootName();
    if (!self.CE_SetString(rootName, kRootNameLink)) return ModeSupport::LinkError(self, kRootNameLink);
    return ModeResult::Done;
}

float SetTesting(Aco_Storyloom& self) {
    float testing = 0.0f;
    if (!self.CE_GetValue(testing, kTestingLink)) return ModeSupport::LinkError(self, kTestingLink);
    // The message is optional: an unreadable one leaves it empty.
    std::string message;
    self.CE_CopyString(message, kTestingMessageLink, false);
    AccessEditor().SetTesting(testing != 0.0f, message);  // NaN counts as testing
    return ModeResult::Done;
}

// The graph keeps calling back after a mode change; the callback itself checks the mode.
float OnGraphSized(Aco_Storyloom& self) {
    AccessEditor().GetScenarioGraph().SetListener(&self);
    return ModeResult::Done;
}

// Already the listener since the mode was set; setting it again takes the role back from
// any channel that took it meanwhile.
float HandleSelectEntity(Aco_Storyloom& self) {
    AccessEditor().SetListener(&self);
    return ModeResult::Done;
}

float NotifyEntitySelected(Aco_Storyloom& self) {
    float status = ModeResult::Done;
    Core::ScenarioSupport* entity = ModeSupport::EntityAt(self, kEntityLink, status);
    if (!entity) return status;
    AccessEditor().NotifyEntitySelected(entity);
    return ModeResult::Done;
}

float NotifyEntitySelectCanceled(Aco_Storyloom&) {
    AccessEditor().NotifyEntitySelectCanceled();
    return ModeResult::Done;
}

// Registered again on every evaluation, with the options linked at that moment. An option
// that cannot be read registers nothing.
float AddStringSelectVarType(Aco_Storyloom& self) {
    char* typeName = nullptr;
    if (!self.CE_GetStringPointer(&typeName, kTypeNameLink)) return ModeSupport::LinkError(self, kTypeNameLink);
    const unsigned int optionCount = self.GetChildLinkPositionCount(kOptionsLink);
    std::vector<std::string> options;
    for (unsigned int link = kOptionsLink; link < kOptionsLink + optionCount; ++link) {
        char* option = nullptr;
        if (!self.CE_GetStringPointer(&option, link)) return ModeSupport::LinkError(self, link);
        options.push_back(option ? option : "");
    }
    Core::StringListVarSupport::RegisterSupportedListVar(typeName ? typeName : "", std::move(options));
    return ModeResult::Done;
}

// All four are emptied first, so a failure leaves the message at fault and those after it
// empty rather than stale.
float SetTranslatedMessages(Aco_Storyloom& self) {
    std::string* const messages[] = {
        &Core::UberIsEntityInAreaSpeedTime::MessageWaitTime,
        &Core::UberIsEntityInAreaSpeedTime::MessageAdjustSpeed,
        &Core::UberIsEntityInAreaSpeedTime::MessageLeftArea,
        &Core::StartDisplayTimerAction::MessageTimeLeft,
    };
    for (std::string* message : messages) message->clear();
    for (unsigned int i = 0; i < 4; ++i) {
        const unsigned int link = kFirstMessageLink + i;
        if (!self.CE_CopyString(*messages[i], link, false)) return ModeSupport::LinkError(self, link);
    }
    return ModeResult::Done;
}

using K = LinkKind;
const ModeRecord kRecords[] = {
    {MODE_ScenarioEditor_Show, 39, "ScenarioEditor_Show", "ScenarioEditor :: Show", Show, {}},
    {MODE_ScenarioEditor_Hide, 41, "ScenarioEditor_Hide", "ScenarioEditor :: Hide", Hide, {}},
    {MODE_ScenarioEditor_RenderGraph, 36, "ScenarioEditor_RenderGraph", "ScenarioEditor :: RenderGraph", RenderGraph,
     {}},
    {MODE_ScenarioEditor_SetScenario, 37, "ScenarioEditor_SetScenario", "ScenarioEditor :: SetScenario", SetScenario,
     {In(kScenarioLink, "CoreScenario", K::CoreRef)}},
    {MODE_ScenarioEditor_GetRoot, 32, "ScenarioEditor_GetRoot", "ScenarioEditor :: GetRoot", GetRoot,
     {Out(kRootNameLink, "RootName", K::Text)}},
    {MODE_ScenarioEditor_SetTesting, 38, "ScenarioEditor_SetTesting", "ScenarioEditor :: SetTesting", SetTesting,
     {In(kTestingLink, "bTesting", K::Value), Optional(In(kTestingMessageLink, "Message [\"\"]", K::Text))}},
    {MODE_ScenarioEditor_OnGraphSized, 35, "ScenarioEditor_OnGraphSized", "ScenarioEditor :: OnGraphSized",
     OnGraphSized,
     {Optional(Out(kWidthLink, "fWidth", K::Value)), Optional(Out(kHeightLink, "fHeight", K::Value)),
      Optional(Out(kGraphCallLink, "Call", K::Generic))}},
    {MODE_ScenarioEditor_HandleSelectEntity, 40, "ScenarioEditor_HandleSelectEntity",
     "ScenarioEditor :: HandleSelectEntity", HandleSelectEntity,
     {Optional(Out(kNeedToPickLink, "bNeedToPickEntity", K::Value)), Optional(Out(kPickCallbackLink, "Callback", K::Generic))}},
    {MODE_ScenarioEditor_NotifyEntitySelected, 33, "ScenarioEditor_NotifyEntitySelected",
     "ScenarioEditor :: NotifyEntitySelected", NotifyEntitySelected, {In(kEntityLink, "CoreEntity", K::CoreRef)}},
    {MODE_ScenarioEditor_NotifyEntitySelectCanceled, 34, "ScenarioEditor_NotifyEntitySelectCanceled",
     "ScenarioEditor :: NotifyEntitySelectCanceled", NotifyEntitySelectCanceled, {}},
    {MODE_StringSelectVarType_Add, 42, "StringSelectVarType_Add", "ScenarioEditor :: AddStringSelectVarType",
     AddStringSelectVarType,
     {Out(kTypeNameLink, "VariableTypeName", K::Text), Optional(Repeated(Out(kOptionsLink, "StringValueOption", K::Text)))}},
    {MODE_SetTranslatedMessages, 43, "SetTranslatedMessages", "SetTranslatedMessages", SetTranslatedMessages,
     {In(kFirstMessageLink, "Wait time message", K::Text), In(kFirstMessageLink + 1, "Adjust speed message", K::Text),
      In(kFirstMessageLink + 2, "Left area message", K::Text), In(kFirstMessageLink + 3, "Time left message", K::Text)}},
};
const ModeCatalogue::Registration kRegistration(kRecords);

}  // namespace

namespace EditorCallbacks {

// A link that cannot take the size or run the call marks the channel, without a report.
void AnswerGraphSized(Aco_Storyloom& self, float width, float height) {
    if (!self.CE_SetValue(width, kWidthLink)) self.SetFloat(ModeResult::LinkError);
    if (!self.CE_SetValue(height, kHeightLink)) self.SetFloat(ModeResult::LinkError);
    if (!self.CE_CallChild(kGraphCallLink)) self.SetFloat(ModeResult::LinkError);
}

// "bNeedToPickEntity" is skipped when missing; "Callback" must run.
void AnswerPickRequest(Aco_Storyloom& self, float needToPick) {
    self.CE_SetValue(needToPick, kNeedToPickLink);
    if (!self.CE_CallChild(kPickCallbackLink)) self.SetFloat(ModeResult::LinkError);
}

}  // namespace EditorCallbacks
