#include "storyloom/host/core/EventFactoryManager.h"

#include "storyloom/host/core/CoreEngine.h"

namespace Core {

unsigned EventFactoryManager::FireEvent(const std::string& type, EventParams& params) {
    ScenarioManager& scenarios = CoreEngine::Instance().GetScenarioManager();
    ScenarioManager::DestructionDeferral deferral(scenarios);
    std::vector<WeakRef<EventNode>> nodes;
    std::size_t count = 0;
    for (const auto& scenario : scenarios.GetScenarios()) count += scenario->GetEventNodes().size();
    nodes.reserve(count);  // each move of a reference would re-register it with its node
    for (const auto& scenario : scenarios.GetScenarios())
        for (EventNode* node : scenario->GetEventNodes()) nodes.emplace_back(node);

    unsigned activated = 0;
    for (const WeakRef<EventNode>& ref : nodes) {
        EventNode* node = ref.Get();
        Scenario* scenario = node ? node->GetScenario() : nullptr;
        if (!scenario || scenario->IsPaused() || !scenarios.HoldsScenario(scenario)) continue;
        Event* event = node->GetEvent();
        if (event && event->GetTypeName() == type && node->Trigger(params)) ++activated;
    }
    return activated;
}

}  // namespace Core
