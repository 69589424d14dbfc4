// A scenario's ImportState of any text: a refused text leaves the scenario exactly as it was,
// an accepted one leaves a state that exports and imports back to itself.
#include <memory>

#include "FuzzSupport.h"
#include "storyloom/host/ScenarioCore.h"

namespace {

using namespace Core;
using State = CustomEnums::SerializerFlag::State;
using VelmMathLib::Vec3;

// Entities outlive every scenario, so a state text can find them by name; one name twice.
std::vector<std::unique_ptr<StaticMeshEntity>>& Entities() {
    static std::vector<std::unique_ptr<StaticMeshEntity>> entities = [] {
        std::vector<std::unique_ptr<StaticMeshEntity>> made;
        for (const char* name : {"crate", "gate", "gate", "<odd> \"name\" & 100%", ""})
            made.push_back(std::make_unique<StaticMeshEntity>(name, Vec3(), 1.0f));
        return made;
    }();
    return entities;
}

Scenario* MakeScenario() {
    Scenario* scenario = CoreEngine::Instance().GetScenarioManager().CreateScenario();
    scenario->AddEntityAtID(Entities()[0].get(), 4);
    scenario->AddEntityAtID(Entities()[1].get(), 0);
    scenario->Update(1.5f);
    scenario->AddVariable(new TVariable<float>("Speed", 2.5f));
    scenario->AddVariable(new TVariable<Vec3>("Spot", Vec3(1, -2, 0.125f)));
    scenario->AddVariable(new StringVar("Line\nbreak", "a <b>\tc"));
    auto* goal = new EntityVar("Goal", *scenario);
    goal->SetValue(Entities()[1].get());
    scenario->AddVariable(goal);
    scenario->AddVariable(new EnumVar("Weather", EnumValue{"Sky type", 3}));
    scenario->AddVariable(new ObjectiveVar("Task", Objective{"", "Find the key"}));
    return scenario;
}

std::string Exported(const Scenario& scenario, State state) {
    std::string text;
    scenario.ExportState(state, text, 0);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzRun run;
    FuzzInput input(data, size);
    const auto state = static_cast<State>(input.Pick(5));
    std::string text = input.Rest();
    ScenarioManager& manager = CoreEngine::Instance().GetScenarioManager();
    Scenario* scenario = MakeScenario();
    const std::string before = Exported(*scenario, State(4));
    ClearErrorLog();
    const std::string given = text;
    const int result = scenario->ImportState(state, text);
    FUZZ_CHECK(text == given);
    if (result != 0) {
        FUZZ_CHECK(!GetErrorLog().empty());
        FUZZ_CHECK(Exported(*scenario, State(4)) == before);
    } else {
        const std::string after = Exported(*scenario, state);
        Scenario* copy = manager.CreateScenario();
        std::string again = after;
        FUZZ_CHECK(copy->ImportState(state, again) == 0);
        FUZZ_CHECK(Exported(*copy, state) == after);
        manager.DestroyScenario(copy);
    }
    manager.DestroyScenario(scenario);
    ClearErrorLog();  // as FuzzRun does for check reports
    return 0;
}
