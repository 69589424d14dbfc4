#pragma once
// Channel graphs of construct channels and the scenario nodes built from them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "storyloom/host/Aco_CustomEnum.h"
#include "storyloom/host/EngineHost.h"
#include "storyloom/scenario_channel/Aco_Storyloom.h"

// A designer's value channel: runs `onEvaluate` whenever the graph evaluates or calls it.
class Probe : public Aco_FloatChannel {
public:
    float GetFloat() override { return onEvaluate ? onEvaluate() : Aco_FloatChannel::GetFloat(); }
    std::function<float()> onEvaluate;
};

// Each test starts with empty logs, one scenario, the enumeration type "Door" and the string
// list "Colour", and leaves no scenario behind.
class QuestTest : public ::testing::Test {
protected:
    void SetUp() override {
        Core::ClearErrorLog();
        globalEngine.ClearDebugMessages();
        Core::EnumVarSupport::RegisterType("Door", {"Closed", "Open", "Locked", "Broken"});
        Core::StringListVarSupport::RegisterSupportedListVar("Colour", {"red", "green"});
        scenario = Manager().CreateScenario();
    }
    void TearDown() override {
        while (!Manager().GetScenarios().empty()) Manager().DestroyScenario(Manager().GetScenarios().back().get());
        Core::EnumVarSupport::Clear();
        Core::StringListVarSupport::Clear();
    }

    static Core::ScenarioManager& Manager() { return Core::CoreEngine::Instance().GetScenarioManager(); }

    template <class C>
    C& Make(const char* name) {
        channels.push_back(std::make_unique<C>());
        channels.back()->SetChannelName(name);
        return static_cast<C&>(*channels.back());
    }
    Aco_Storyloom& Storyloom(unsigned int mode, const char* name) {
        auto& channel = Make<Aco_Storyloom>(name);
        channel.SetCurrentMode(mode);
        channel.SetChannelName(name);  // the mode gave it its automatic name
        return channel;
    }
    Aco_FloatChannel& Value(const char* name, float value = 0.0f) {
        auto& channel = Make<Aco_FloatChannel>(name);
        channel.SetFloat(value);
        return channel;
    }
    Aco_StringChannel& Text(const char* name, const char* text = nullptr) {
        auto& channel = Make<Aco_StringChannel>(name);
        channel.SetString(text);
        return channel;
    }
    Aco_CustomEnum& Enum(const char* name, const char* type, float value = 0.0f) {
        auto& channel = Make<Aco_CustomEnum>(name);
        channel.SetEnumTypeName(type);
        channel.SetFloat(value);
        return channel;
    }
    // A "VariableSlot :: Objective" channel with its "Short" and "Long" texts.
    Aco_Storyloom& Objective(const char* name, Aco_StringChannel& shortText, Aco_StringChannel& longText) {
        Aco_Storyloom& channel = Storyloom(MODE_VariableSlot_Objective, name);
        Link(channel, 0, shortText);
        Link(channel, 1, longText);
        return channel;
    }
    void Destroy(A3d_Channel& channel) {
        for (auto it = channels.begin(); it != channels.end(); ++it)
            if (it->get() == &channel) return void(channels.erase(it));
    }

    static void Link(A3d_Channel& parent, unsigned int position, A3d_Channel& child) {
        ASSERT_TRUE(parent.LinkChild(position, &child)) << "position " << position;
    }
    // The channel's stored value, without evaluating it.
    static float StoredValue(Aco_FloatChannel& channel) { return channel.Aco_FloatChannel::GetFloat(); }
    static std::string TextOf(Aco_StringChannel& channel) {
        const char* text = channel.GetString();
        return text ? text : "<none>";
    }

    template <class Slot>
    static Slot& SlotAt(const Core::VariableSlotSet& node, size_t index) {
        return dynamic_cast<Slot&>(*node.GetVariableSlots().at(index));
    }
    static Core::ActionFactoryManager& Actions() { return CoreFramework::Singleton<Core::ActionFactoryManager>::Instance(); }
    static Core::ConditionFactoryManager& Conditions() {
        return CoreFramework::Singleton<Core::ConditionFactoryManager>::Instance();
    }
    static Core::EventFactoryManager& Events() { return CoreFramework::Singleton<Core::EventFactoryManager>::Instance(); }

    static const std::vector<std::string>& DebugMessages() { return globalEngine.GetDebugMessages(); }
    static const std::vector<std::string>& ErrorLog() { return Core::GetErrorLog(); }

    Core::Scenario* scenario = nullptr;
    std::vector<std::unique_ptr<A3d_Channel>> channels;
};
