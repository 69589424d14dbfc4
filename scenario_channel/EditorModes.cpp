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

float AddStringSelectVarType(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }
float SetTranslatedMessages(Aco_Storyloom& self) { return ModeSupport::NotAvailable(self); }

}  // namespace EditorModes
