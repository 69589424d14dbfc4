#include "storyloom/host/core/CoreEngine.h"

namespace Core {

CoreEngine& CoreEngine::Instance() {
    static CoreEngine engine;
    return engine;
}

// The renderer's meshes go back to the device before the process ends.
CoreEngine::~CoreEngine() { _debugRenderer.Release(); }

void CoreEngine::DoDependencyInit(A3d_Channel* channel, A3d_List* list) {
    CoreEngine& engine = Instance();
    ++engine._dependencyInitCount;
    engine._lastDependencyChannel = channel;
    engine._lastDependencyList = list;
}

}  // namespace Core
