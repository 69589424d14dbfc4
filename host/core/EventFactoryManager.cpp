#include "storyloom/host/core/EventFactoryManager.h"

#include "storyloom/host/core/CoreEngine.h"

namespace Core {

unsigned EventFactoryManager::FireEvent(const std::string& type, EventParams& params) {
    ScenarioManager& scenarios = CoreEngine::Instance().GetScenarioManager();
    // Nodes die only with their scenario, and the deferral keeps every scenario destroyed
    // meanwhile until the firing ends: the nodes listed here all outlive it.
    ScenarioManager::DestructionDeferral deferral(scenarios);
    std::vector<EventNode*> nodes;
    for (const auto& scenario : scenarios.GetScenarios())
        nodes.insert(nodes.end(), scenario->GetEventNodes().begin(), scenario->GetEventNodes().end());

    unsigned activated = 0;
    for (EventNode* node : nodes) {
        Scenario* scenario = node->GetScenario();
        if (!scenario || scenario->IsPaused() || scenario->IsDestroyed()) continue;
        Event* event = node->GetEvent();
        if (event && event->GetTypeName() == type && node->Trigger(params)) ++activated;
    }
    return activated;
}

}  // namespace Core
