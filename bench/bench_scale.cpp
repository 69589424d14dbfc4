// Work that grows with a graph or a scenario must grow linearly: each benchmark does the same
// work at two sizes, ten times apart, in the same run, and holds the large time against ten
// times the small one.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "PerformanceTable.h"
#include "ScalingTiming.h"

#include "storyloom/scenario_channel/Aco_Storyloom.h"

namespace {

Core::ScenarioManager& Manager() { return Core::CoreEngine::Instance().GetScenarioManager(); }

// Channels created, given a mode, linked to a reference shared by all of them and to a value
// of their own, evaluated once and destroyed.
double ChannelSeconds(int count) {
    Core::Scenario* scenario = Manager().CreateScenario();
    Aco_CoreRef scenarioRef;
    scenarioRef.SetRef(scenario);
    const double seconds = SecondsOf([&] {
        std::vector<std::unique_ptr<Aco_Storyloom>> channels;
        std::vector<std::unique_ptr<Aco_FloatChannel>> values;
        for (int i = 0; i < count; ++i) {
            channels.push_back(std::make_unique<Aco_Storyloom>());
            values.push_back(std::make_unique<Aco_FloatChannel>());
            channels.back()->SetCurrentMode(MODE_Scenario_GetEntityCount);
            channels.back()->LinkChild(0, &scenarioRef);
            channels.back()->LinkChild(1, values.back().get());
            benchmark::DoNotOptimize(channels.back()->GetFloat());
        }
        channels.clear();
        values.clear();
    });
    Manager().DestroyScenario(scenario);
    return seconds;
}

struct Crowd {
    explicit Crowd(int count) {
        for (int i = 0; i < count; ++i)
            entities.push_back(std::make_unique<Core::StaticMeshEntity>("e" + std::to_string(i), VelmMathLib::Vec3(), 1.0f));
    }
    std::vector<std::unique_ptr<Core::StaticMeshEntity>> entities;
};

// Entities added to one scenario, walked from the first to the last, and removed.
double EntitySeconds(int count) {
    Crowd crowd(count);
    Core::Scenario* scenario = Manager().CreateScenario();
    size_t walked = 0;
    const double seconds = SecondsOf([&] {
        for (auto& entity : crowd.entities) scenario->AddEntity(entity.get());
        for (Core::ScenarioSupport* e = scenario->GetFirstEntity(); e; e = scenario->GetNextEntity(e)) ++walked;
        for (auto& entity : crowd.entities) scenario->RemoveEntity(entity.get());
    });
    Manager().DestroyScenario(scenario);
    return walked == size_t(count) ? seconds : -1.0;
}

// The state of a scenario of that many entities written and read back.
double StateSeconds(int count) {
    Crowd crowd(count);
    Core::Scenario* scenario = Manager().CreateScenario();
    for (auto& entity : crowd.entities) scenario->AddEntity(entity.get());
    int failures = 0;
    const double seconds = SecondsOf([&] {
        std::string text;
        failures += scenario->ExportState(CustomEnums::SerializerFlag::Export, text, 0);
        failures += scenario->ImportState(CustomEnums::SerializerFlag::Import, text);
    });
    Manager().DestroyScenario(scenario);
    return failures ? -1.0 : seconds;
}

// The state read into a new scenario, where every entity is found again by its name, as a
// saved game is loaded.
double StateIntoNewScenarioSeconds(int count) {
    Crowd crowd(count);
    Core::Scenario* saved = Manager().CreateScenario();
    for (auto& entity : crowd.entities) saved->AddEntity(entity.get());
    std::string text;
    int failures = saved->ExportState(CustomEnums::SerializerFlag::Export, text, 0);
    Core::Scenario* loaded = Manager().CreateScenario();
    const double seconds =
        SecondsOf([&] { failures += loaded->ImportState(CustomEnums::SerializerFlag::Import, text); });
    const bool complete = loaded->GetEntitiesCount() == unsigned(count);
    Manager().DestroyScenario(loaded);
    Manager().DestroyScenario(saved);
    return failures || !complete ? -1.0 : seconds;
}

// Variables added to a scenario by name, and its state written and read back, keeping each.
double VariableSeconds(int count) {
    Core::Scenario* scenario = Manager().CreateScenario();
    int failures = 0;
    const double seconds = SecondsOf([&] {
        for (int i = 0; i < count; ++i) failures += !scenario->AddVariable(new Core::TVariable<float>("v" + std::to_string(i)));
        std::string text;
        failures += scenario->ExportState(CustomEnums::SerializerFlag::Export, text, 0);
        failures += scenario->ImportState(CustomEnums::SerializerFlag::Import, text);
    });
    const bool complete = scenario->GetVariables().size() == size_t(count);
    Manager().DestroyScenario(scenario);
    return failures || !complete ? -1.0 : seconds;
}

// An event fired into one node in each of many scenarios, nodes made of a kind written here.
class Listener : public Core::Event {
public:
    using Event::Event;
    bool CheckActivate(Core::EventParams&) override { return true; }
};
class ListenerFactory : public Core::EventFactory {
public:
    ListenerFactory() : Core::EventFactory("Listener") {}
    Core::Event* CreateProduct(Core::EventNode& node) override { return new Listener(node); }
    Core::Event* CloneProduct(const Core::Event&) override { return nullptr; }
};

double ScenariosFiredSeconds(int count) {
    ListenerFactory kind;
    std::vector<Core::Scenario*> scenarios;
    for (int i = 0; i < count; ++i) {
        scenarios.push_back(Manager().CreateScenario());
        scenarios.back()->AddEventNode()->SetEvent("Listener");
    }
    Core::EventParams params;
    auto& events = CoreFramework::Singleton<Core::EventFactoryManager>::Instance();
    unsigned activated = 0;
    const double seconds = SecondsOf([&] {
        for (int fire = 0; fire < 10; ++fire) activated += events.FireEvent("Listener", params);
    });
    for (Core::Scenario* scenario : scenarios) Manager().DestroyScenario(scenario);
    return activated == 10u * count ? seconds : -1.0;
}

void ScaleRow(benchmark::State& state, const std::string& row, double (*work)(int), int small) {
    double smallSeconds = 0, largeSeconds = 0;
    for (auto _ : state) {
        const double a = work(small), b = work(10 * small);
        if (a < 0 || b < 0) return state.SkipWithError("the work did not complete");
        smallSeconds += a;
        largeSeconds += b;
    }
    TableRow(state, row, largeSeconds, 10.0 * smallSeconds, 1.2, 10.0 * small);
}

void Channels(benchmark::State& state) {
    ScaleRow(state, "10,000 channels made, linked, destroyed vs 10x 1,000", ChannelSeconds, 1000);
}
void Entities(benchmark::State& state) {
    ScaleRow(state, "100,000 entities added, walked, removed vs 10x 10,000", EntitySeconds, 10000);
}
void State(benchmark::State& state) {
    ScaleRow(state, "state of 100,000 entities exported, imported vs 10x 10,000", StateSeconds, 10000);
}

void StateIntoNewScenario(benchmark::State& state) {
    ScaleRow(state, "state of 100,000 entities read into a new scenario vs 10x 10,000", StateIntoNewScenarioSeconds,
             10000);
}

void Variables(benchmark::State& state) {
    ScaleRow(state, "10,000 variables added, state written and read vs 10x 1,000", VariableSeconds, 1000);
}
void ScenariosFired(benchmark::State& state) {
    ScaleRow(state, "event into a node in each of 10,000 scenarios vs 10x 1,000", ScenariosFiredSeconds, 1000);
}

}  // namespace

BENCHMARK(Channels)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(Entities)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(State)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(StateIntoNewScenario)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(Variables)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ScenariosFired)->Unit(benchmark::kMillisecond)->Iterations(3);

SCALING_BENCHMARK_MAIN()
