#pragma once
#include "storyloom/coreframework/debugrenderer/DebugRenderer.h"
#include "storyloom/host/core/ScenarioEditor.h"
#include "storyloom/host/core/ScenarioManager.h"

class A3d_Channel;
class A3d_List;

namespace Core {

// The core's one engine object: its scenario manager, its scenario editor and the debug
// renderer everyone draws with. The host hands the renderer its device with Restore.
class CoreEngine {
public:
    static CoreEngine& Instance();

    ScenarioManager& GetScenarioManager() { return _scenarioManager; }
    ScenarioEditor& GetScenarioEditor() { return _scenarioEditor; }
    DebugRenderer& GetDebugRenderer() { return _debugRenderer; }

    // Channels hand themselves over when the host resolves dependencies. The core keeps
    // only a record of the calls; the channel and list are never dereferenced.
    static void DoDependencyInit(A3d_Channel* channel, A3d_List* list);
    unsigned GetDependencyInitCount() const { return _dependencyInitCount; }
    const A3d_Channel* GetLastDependencyChannel() const { return _lastDependencyChannel; }
    const A3d_List* GetLastDependencyList() const { return _lastDependencyList; }

private:
    CoreEngine() = default;
    ~CoreEngine();
    CoreEngine(const CoreEngine&) = delete;
    CoreEngine& operator=(const CoreEngine&) = delete;

    ScenarioManager _scenarioManager;
    ScenarioEditor _scenarioEditor;
    DebugRenderer _debugRenderer;
    unsigned _dependencyInitCount = 0;
    const A3d_Channel* _lastDependencyChannel = nullptr;
    const A3d_List* _lastDependencyList = nullptr;
};

}  // namespace Core
