#include <string>
#include <utility>
#include <vector>

#include "scenario_channel/ModeHandlers.h"
#include "scenario_channel/ModeSupport.h"

namespace {

// The editor is usable only with its GUI built; a refused initialisation is not ours to
// report, so the mode goes on with the editor as it is.
Core::ScenarioEditor& AccessEditor() {
    Core::ScenarioEditor& editor = Core::CoreEngine::Instance().GetScenarioEditor();
    if (!editor.IsInitialized())
        editor.Initialize(nullptr, Core::GUIBase::DefaultSkin, Core::GUIBase::DefaultFont);
    return editor;
}

}  // namespace

namespace EditorModes {

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
    Core::Scenario* scenario = ModeSupport::ScenarioAt(self, 0, status);
    if (!scenario) return status;
    AccessEditor().SetScenario(scenario);
    return ModeResult::Done;
}

float GetRoot(Aco_Storyloom& self) {
    std::string rootName = AccessEditor().GetRootName();
    if (!self.CE_SetString(rootName, 0)) return ModeSupport::LinkError(self, 0);
    return ModeResult::Done;
}

float SetTesting(Aco_Storyloom& self) {
    float testing = 0.0f;
    if (!self.CE_GetValue(testing, 0)) return ModeSupport::LinkError(self, 0);
    // The message is optional: an unreadable one leaves it empty.
    std::string message;
    self.CE_CopyString(message, 1, false);
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
    Core::ScenarioSupport* entity = ModeSupport::EntityAt(self, 0, status);
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
    if (!self.CE_GetStringPointer(&typeName, 0)) return ModeSupport::LinkError(self, 0);
    const unsigned int optionCount = self.GetChildLinkPositionCount(1);
    std::vector<std::string> options;
    for (unsigned int link = 1; link <= optionCount; ++link) {
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
    };  // at links 0 to 3
    for (std::string* message : messages) message->clear();
    for (unsigned int link = 0; link < 4; ++link)
        if (!self.CE_CopyString(*messages[link], link, false)) return ModeSupport::LinkError(self, link);
    return ModeResult::Done;
}

}  // namespace EditorModes
