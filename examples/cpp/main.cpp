// Drives the Storyloom channel from C++ as an engine would: channels are created, given a
// mode and linked, evaluated, and their results read back.
#include <cstdio>
#include <memory>

#include <storyloom/host/EngineHost.h>
#include <storyloom/host/ScenarioCore.h>
#include <storyloom/scenario_channel/Aco_Storyloom.h>

namespace {
// A mode channel as the engine makes it: through the plug-in's entry function.
std::unique_ptr<Aco_Storyloom> MakeModeChannel(unsigned mode) {
    std::unique_ptr<Aco_Storyloom> channel(dynamic_cast<Aco_Storyloom*>(InitDLL()));
    if (channel) channel->SetCurrentMode(mode);
    return channel;
}
}  // namespace

int main() {
    Core::StaticMeshEntity hero("Hero", {0, 0, 0}, 1.0f);
    Core::StaticMeshEntity gate("Gate", {10, 0, 0}, 2.0f);
    Aco_CoreRef scenario, heroRef, gateRef;
    heroRef.SetRef(&hero);
    gateRef.SetRef(&gate);
    Aco_FloatChannel id, count;

    auto create = MakeModeChannel(MODE_Scenario_Create);
    auto addHero = MakeModeChannel(MODE_Scenario_AddEntity);
    auto addGate = MakeModeChannel(MODE_Scenario_AddEntity);
    auto countEntities = MakeModeChannel(MODE_Scenario_GetEntityCount);
    if (!create || !addHero || !addGate || !countEntities) {
        std::fprintf(stderr, "the plug-in made no Storyloom channel\n");
        return 1;
    }
    // Links by declared position: scenario, entity, id out; scenario, count out.
    bool linked = create->LinkChild(0, &scenario) && addHero->LinkChild(0, &scenario) &&
                  addHero->LinkChild(1, &heroRef) && addHero->LinkChild(2, &id) && addGate->LinkChild(0, &scenario) &&
                  addGate->LinkChild(1, &gateRef) && addGate->LinkChild(2, &id) &&
                  countEntities->LinkChild(0, &scenario) && countEntities->LinkChild(1, &count);
    if (!linked) {
        std::fprintf(stderr, "a link was refused\n");
        return 1;
    }
    // Each evaluation answers a status: 0 when the mode did its work.
    float statuses[] = {create->GetFloat(), addHero->GetFloat(), addGate->GetFloat(), countEntities->GetFloat()};
    for (float status : statuses)
        if (status != 0.0f) {
            std::fprintf(stderr, "an evaluation failed with %g\n", status);
            return 1;
        }
    std::printf("the scenario holds %g entities; the gate has id %g\n", count.GetStoredFloat(), id.GetStoredFloat());
    // The scenario goes before the entities it refers to.
    auto destroy = MakeModeChannel(MODE_Scenario_Destroy);
    if (destroy && destroy->LinkChild(0, &scenario)) destroy->GetFloat();
    return count.GetStoredFloat() == 2.0f ? 0 : 1;
}
