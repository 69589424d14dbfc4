#include "storyloom/host/core/ScenarioEditor.h"

#include "storyloom/host/core/ErrorLog.h"

namespace Core {

ScenarioEditor::ScenarioEditor() : GUIBase("ScenarioEditor/Root") {}

void ScenarioEditor::SetTesting(bool testing, const std::string& message) {
    _testing = testing;
    _testingMessage = message;
}

bool ScenarioEditor::RequestEntitySelection() {
    ScenarioEditorListener* listener = _listener.Get();
    if (!listener) {
        ERRLOG("ScenarioEditor::RequestEntitySelection: no listener to pick an entity");
        return false;
    }
    _awaitingEntity = true;
    listener->HandleSelectEntity();
    return true;
}

bool ScenarioEditor::NotifyEntitySelected(ScenarioSupport* entity) {
    Scenario* scenario = _scenario.Get();
    bool accepted = entity && scenario && entity->IsInScenario(*scenario);
    if (accepted) {
        _selected.Set(entity);
        _awaitingEntity = false;
    }
    if (ScenarioEditorListener* listener = _listener.Get()) listener->SelectedEntityVerified(accepted);
    return accepted;
}

}  // namespace Core
