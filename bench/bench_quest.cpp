// Channel-defined nodes against hand-written ones, and their cost per unit of work at any
// size: an event fired into a scenario of event nodes of a channel-defined kind against the
// same event written in C++ making the same slot copies; display texts per output byte;
// action runs per slot mirrored into and out of the construct channel.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "PerformanceTable.h"
#include "ScalingTiming.h"

#include "storyloom/scenario_channel/Aco_Storyloom.h"

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
    double smallSeconds = 0, largeSeconds = 0;
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
    }
    TableRow(state, "display text per output byte, 10x the placeholders", largeSeconds / largeOutput,
             smallSeconds / smallOutput, 1.2, 1.0 / state.iterations());
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
    TableRow(state, "action run per slot, 10x the slots", large / largeSlots, small / smallSlots, 1.2, runs);
}

constexpr int kEventSlots = 4;
constexpr const char* kChannelDefinedType = "Gate Reached";
constexpr const char* kHandWrittenType = "Gate Reached, written in C++";

// The same event written in C++: its slots copied into the same kind of children, the
// instigator handed over, the activation child read.
struct EventChildren {
    Aco_FloatChannel slots[kEventSlots];
    Aco_CoreRef instigator;
    Aco_FloatChannel activate;
};

class HandWrittenEvent : public Core::Event {
public:
    HandWrittenEvent(Core::EventNode& node, EventChildren& children) : Event(node), _children(children) {}
    HandWrittenEvent(const HandWrittenEvent& other) = default;
    bool CheckActivate(Core::EventParams& params) override {
        const std::vector<Core::VariableSlotBase*>& slots = GetVariableSlots();
        for (int i = 0; i < kEventSlots; ++i)
            _children.slots[i].SetFloat(static_cast<Core::TVariableSlot<Core::TVariable<float>>*>(slots[i])->GetValue());
        _children.instigator.SetRef(params.GetInstigator());
        return _children.activate.GetFloat() != 0.0f;
    }

private:
    EventChildren& _children;
};

class HandWrittenFactory : public Core::EventFactory {
public:
    explicit HandWrittenFactory(EventChildren& children) : Core::EventFactory(kHandWrittenType), _children(children) {}
    Core::Event* CreateProduct(Core::EventNode& node) override {
        auto* event = new HandWrittenEvent(node, _children);
        for (int i = 0; i < kEventSlots; ++i)
            event->AddVariableSlot(new Core::TVariableSlot<Core::TVariable<float>>("slot" + std::to_string(i)));
        return event;
    }
    Core::Event* CloneProduct(const Core::Event&) override { return nullptr; }

private:
    EventChildren& _children;
};

// Seconds to fire an event of a type `fires` times into a scenario of `nodes` nodes of it.
template <class MakeKind>
double FireSeconds(const char* type, int nodes, int fires, MakeKind makeKind) {
    Rule rule(MODE_OnConstruct_Event, type);
    auto kind = makeKind(rule);
    for (int i = 0; i < nodes; ++i)
        if (!rule.scenario->AddEventNode()->SetEvent(type)) return -1.0;
    Core::StaticMeshEntity hero("hero", VelmMathLib::Vec3(), 1.0f);
    Core::EventParams params(&hero);
    auto& events = CoreFramework::Singleton<Core::EventFactoryManager>::Instance();
    return SecondsOf([&] {
        for (int i = 0; i < fires; ++i) events.FireEvent(type, params);
    });
}

std::unique_ptr<EventChildren> ChannelDefinedKind(Rule& rule) {
    for (int i = 0; i < kEventSlots; ++i) rule.construct.LinkChild(0, &rule.Child<Aco_FloatChannel>("Speed"));
    rule.construct.LinkChild(1, &rule.Child<Aco_CoreRef>("Who"));
    rule.construct.LinkChild(3, &rule.Child<Aco_FloatChannel>("Activate"));
    rule.construct.GetFloat();
    return nullptr;
}

std::unique_ptr<HandWrittenFactory> HandWrittenKind(Rule&) {
    static EventChildren children;
    return std::make_unique<HandWrittenFactory>(children);
}

void FireEventIntoNodes(benchmark::State& state) {
    constexpr int nodes = 1000, fires = 20;
    double channelDefined = 0, handWritten = 0, tenTimes = 0, handWrittenTenTimes = 0;
    for (auto _ : state) {
        channelDefined += FireSeconds(kChannelDefinedType, nodes, fires, ChannelDefinedKind);
        handWritten += FireSeconds(kHandWrittenType, nodes, fires, HandWrittenKind);
        tenTimes += FireSeconds(kChannelDefinedType, 10 * nodes, fires, ChannelDefinedKind);
        handWrittenTenTimes += FireSeconds(kHandWrittenType, 10 * nodes, fires, HandWrittenKind);
    }
    if (channelDefined < 0 || handWritten < 0 || tenTimes < 0 || handWrittenTenTimes < 0) return state.SkipWithError("a node got no event");
    TableRow(state, "event into 1,000 channel-defined nodes vs hand-written", channelDefined, handWritten, 3.0,
             double(nodes) * fires);
    TableRow(state, "event into channel-defined nodes, 10x the nodes", tenTimes / 10.0, channelDefined, 1.2,
             double(nodes) * fires);
    // The same for the hand-written kind tells the core's share of any growth from the nodes'.
    TableRow(state, "event into hand-written nodes, 10x the nodes", handWrittenTenTimes / 10.0, handWritten, 1.2,
             double(nodes) * fires);
}

// Seconds to make `nodes` nodes of a kind in a scenario and destroy them with it.
template <class MakeKind>
double MakeAndDestroySeconds(const char* type, int nodes, MakeKind makeKind) {
    auto rule = std::make_unique<Rule>(MODE_OnConstruct_Event, type);
    auto kind = makeKind(*rule);
    return SecondsOf([&] {
        for (int i = 0; i < nodes; ++i) rule->scenario->AddEventNode()->SetEvent(type);
        rule.reset();
    });
}

// Every node joins its factory's list and leaves it when destroyed, so the lists must not
// make that cost grow with the nodes already there.
void MakeAndDestroyNodes(benchmark::State& state) {
    constexpr int nodes = 1000;
    double channelDefined = 0, channelDefinedTenTimes = 0, handWritten = 0, handWrittenTenTimes = 0;
    for (auto _ : state) {
        for (int i = 0; i < 10; ++i) {
            channelDefined += MakeAndDestroySeconds(kChannelDefinedType, nodes, ChannelDefinedKind);
            handWritten += MakeAndDestroySeconds(kHandWrittenType, nodes, HandWrittenKind);
        }
        channelDefinedTenTimes += MakeAndDestroySeconds(kChannelDefinedType, 10 * nodes, ChannelDefinedKind);
        handWrittenTenTimes += MakeAndDestroySeconds(kHandWrittenType, 10 * nodes, HandWrittenKind);
    }
    TableRow(state, "channel-defined nodes made and destroyed, 10,000 vs 10x 1,000", channelDefinedTenTimes,
             channelDefined, 1.2, 10.0 * nodes);
    TableRow(state, "hand-written nodes made and destroyed, 10,000 vs 10x 1,000", handWrittenTenTimes, handWritten,
             1.2, 10.0 * nodes);
}

}  // namespace

BENCHMARK(FireEventIntoNodes)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(MakeAndDestroyNodes)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(DisplayTextScaling)->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(ActionRunScaling)->Unit(benchmark::kMillisecond)->Iterations(3);

SCALING_BENCHMARK_MAIN()
