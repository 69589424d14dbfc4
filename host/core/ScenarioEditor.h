#pragma once
#include <string>

#include "storyloom/host/core/GUIBase.h"
#include "storyloom/host/core/Scenario.h"
#include "storyloom/host/core/ScenarioEditorListener.h"
#include "storyloom/host/core/ScenarioGraph.h"

namespace Core {

// The scenario editor window: the scenario it edits, its testing state, its node graph and
// its pick-an-entity dialogue. The scenario, the listener and the selected entity are held
// weakly: each reads null once it has died.
class ScenarioEditor : public GUIBase {
public:
    ScenarioEditor();

    void SetScenario(Scenario* scenario) { _scenario.Set(scenario); }
    Scenario* GetScenario() const { return _scenario.Get(); }

    void SetTesting(bool testing, const std::string& message);
    bool IsTesting() const { return _testing; }
    const std::string& GetTestingMessage() const { return _testingMessage; }

    void SetListener(ScenarioEditorListener* listener) { _listener.Set(listener); }
    ScenarioEditorListener* GetListener() const { return _listener.Get(); }

    // Starts the dialogue: the listener is asked to have an entity picked. False, with a
    // report, when there is no listener.
    bool RequestEntitySelection();
    bool IsAwaitingEntity() const { return _awaitingEntity; }
    // The picked entity is accepted when it belongs to the edited scenario; the listener
    // hears the verdict. An accepted entity becomes the selected one and ends the dialogue.
    bool NotifyEntitySelected(ScenarioSupport* entity);
    void NotifyEntitySelectCanceled() { _awaitingEntity = false; }
    ScenarioSupport* GetSelectedEntity() const { return _selected.Get(); }

    ScenarioGraph& GetScenarioGraph() { return _graph; }

private:
    WeakRef<Scenario> _scenario;
    WeakRef<ScenarioEditorListener> _listener;
    WeakRef<ScenarioSupport> _selected;
    ScenarioGraph _graph;
    std::string _testingMessage;
    bool _testing = false;
    bool _awaitingEntity = false;
};

}  // namespace Core
