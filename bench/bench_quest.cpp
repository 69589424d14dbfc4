// Channel-defined nodes must cost the same per unit of work at any size: each benchmark runs
// a small and a ten times larger case in the same run and reports the ratio of their times
// per unit (1.0 is linear). Display texts are measured per output byte and against a copy of
// the output; action runs per slot mirrored into and out of the construct channel.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "ScalingTiming.h"

#include "scenario_channel/Aco_Storyloom.h"

namespace {

// A scenario with one rule made of a construct channel's kind, and the channels it needs.
struct Rule {
    explicit Rule(unsigned int mode, const char* type) {
        construct.SetCurrentMode(mode);
        construct.SetChannelName(type);
        scenario = Manager().CreateScenario();
        node = scenario->AddEventNode();
    }
    ~Rule() { Manager().DestroyScenario(scenario); }
    static Core::ScenarioManager& Manager() { return Core::CoreEngine::Instance().GetScenarioManager(); }
    template <class C>
    C& Child(const char* name) {
        children.push_back(std::make_unique<C>());
        children.back()->SetChannelName(name);
        return static_cast<C&>(*children.back());
    }

    std::vector<std::unique_ptr<A3d_Channel>> children;
    Aco_Storyloom construct;
    Core::Scenario* scenario = nullptr;
    Core::EventNode* node = nullptr;
};

std::string DisplayWithPlaceholders(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "Take $0$ to $1$, ";
    return text;
}

void DisplayTextScaling(benchmark::State& state) {
    constexpr int smallCount = 1000, largeCount = 10000;
    Rule rule(MODE_OnConstruct_Condition, "Has Key");
    rule.construct.LinkChild(0, &rule.Child<Aco_StringChannel>("What"));
    rule.construct.LinkChild(0, &rule.Child<Aco_StringChannel>("Where"));
    auto& display = rule.Child<Aco_StringChannel>("DisplayText");
    rule.construct.LinkChild(2, &display);
    rule.construct.GetFloat();
    Core::Condition* condition = rule.node->AddCondition("Has Key");
    dynamic_cast<Core::TVariableSlot<Core::StringVar>&>(*condition->GetVariableSlots()[0]).SetConstValue("the key");
    dynamic_cast<Core::TVariableSlot<Core::StringVar>&>(*condition->GetVariableSlots()[1]).SetConstValue("the gate");
    const std::string small = DisplayWithPlaceholders(smallCount), large = DisplayWithPlaceholders(largeCount);
    double smallSeconds = 0, largeSeconds = 0, copySeconds = 0;
    size_t smallOutput = 0, largeOutput = 0;
    for (auto _ : state) {
        display.SetString(small.c_str());
        for (int i = 0; i < largeCount / smallCount; ++i) {
            std::string shown;
            smallSeconds += SecondsOf([&] { shown = condition->GetDisplayText(); });
            smallOutput += shown.size();
        }
        display.SetString(large.c_str());
        std::string shown;
        largeSeconds += SecondsOf([&] { shown = condition->GetDisplayText(); });
        largeOutput += shown.size();
        copySeconds += SecondsOf([&] {
            std::string copy = shown;
            benchmark::DoNotOptimize(copy.data());
        });
    }
    state.counters["per_output_byte_10k_vs_1k"] = (largeSeconds / largeOutput) / (smallSeconds / smallOutput);
    state.counters["10k_vs_copy_of_output"] = largeSeconds / copySeconds;
}

// An action whose every slot is an output, so each run pushes and pulls every slot.
double SecondsPerRun(int slotCount, int runs) {
    Rule rule(MODE_OnConstruct_Action, "Open Gate");
    for (int i = 0; i < slotCount; ++i) rule.construct.LinkChild(0, &rule.Child<Aco_FloatChannel>("!Out"));
    rule.construct.LinkChild(1, &rule.Child<Aco_FloatChannel>("Execute"));
    rule.construct.GetFloat();
    Core::Action* action = rule.node->AddAction("Open Gate");
    for (int i = 0; i < slotCount; ++i) {
        auto* variable = new Core::TVariable<float>("out" + std::to_string(i), float(i));
        rule.scenario->AddVariable(variable);
        action->GetVariableSlots()[i]->Bind(variable);
    }
    return SecondsOf([&] {
        for (int run = 0; run < runs; ++run) action->Execute();
    });
}

void ActionRunScaling(benchmark::State& state) {
    constexpr int smallSlots = 10, largeSlots = 100, runs = 2000;
    double small = 0, large = 0;
    for (auto _ : state) {
        small += SecondsPerRun(smallSlots, runs);
        large += SecondsPerRun(largeSlots, runs);
    }
    state.counters["per_slot_100_vs_10"] = (large / largeSlots) / (small / smallSlots);
}

}  // namespace

BENCHMARK(DisplayTextScaling)->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(ActionRunScaling)->Unit(benchmark::kMillisecond)->Iterations(3);

SCALING_BENCHMARK_MAIN()
