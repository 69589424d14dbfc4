// An entity held by a static outlives the scenario core's own statics: the process must
// still end cleanly (the sanitizer build catches any access to freed memory at exit).
#include <cstdio>
#include <memory>

#include "storyloom/host/ScenarioCore.h"

static std::unique_ptr<Core::StaticMeshEntity> gate;
static std::unique_ptr<Aco_CoreRef> gateRef;

int main() {
    gate = std::make_unique<Core::StaticMeshEntity>("Gate", VelmMathLib::Vec3{1.0f, 2.0f, 3.0f}, 1.0f);
    gateRef = std::make_unique<Aco_CoreRef>();
    gateRef->SetRef(gate.get());
    Core::Scenario* scenario = Core::CoreEngine::Instance().GetScenarioManager().CreateScenario();
    if (!scenario || scenario->AddEntity(gate.get()) == 0xFFFFFFFFu) return 1;
    Core::CoreEngine::Instance().GetScenarioEditor().SetScenario(scenario);
    if (Core::ScenarioSupport::FindLiveByName("Gate").size() != 1) return 1;
    std::puts("entity left alive for exit");
    return 0;
}
