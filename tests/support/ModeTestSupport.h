#pragma once
// Tests that drive Storyloom channels: channels the test owns, built by mode or by name, the
// logs emptied before each test, no report left unexpected after it, and no scenario left behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "storyloom/host/Aco_CustomEnum.h"
#include "storyloom/host/EngineHost.h"
#include "storyloom/scenario_channel/Aco_Storyloom.h"

// The error-log line of a failed evaluation. A channel keeps the automatic name its mode gave
// it ("Storyloom_" + short name) before the group, whatever it has been renamed to since.
inline std::string EvaluationReport(const std::string& shortName, const std::string& text,
                                    const std::string& channelName = "") {
    const std::string name = "Storyloom_" + shortName;
    return name + ".CGR[].Channel[" + (channelName.empty() ? name : channelName) + "]." + text;
}

// A designer's value channel: counts its evaluations and answers `onEvaluate` when it has one.
class Probe : public Aco_FloatChannel {
public:
    float GetFloat() override {
        ++reads;
        return onEvaluate ? onEvaluate() : Aco_FloatChannel::GetFloat();
    }
    std::function<float()> onEvaluate;
    int reads = 0;
};

class ModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        Core::ClearErrorLog();
        globalEngine.ClearDebugMessages();
    }
    // A report the test did not take with ExpectLog is a fault of its own.
    void TearDown() override {
        EXPECT_THAT(ErrorLog(), testing::IsEmpty()) << "reports the test did not expect";
        while (!Manager().GetScenarios().empty()) Manager().DestroyScenario(Manager().GetScenarios().back().get());
    }
    static Core::ScenarioManager& Manager() { return Core::CoreEngine::Instance().GetScenarioManager(); }

    template <class C>
    C& Make(const char* name = nullptr) {
        channels.push_back(std::make_unique<C>());
        channels.back()->SetChannelName(name);
        return static_cast<C&>(*channels.back());
    }
    // A channel in `mode` with `children` linked at positions 0, 1, ... (null leaves one empty).
    Aco_Storyloom& Mode(unsigned int mode, const std::vector<A3d_Channel*>& children = {}) {
        auto& channel = Make<Aco_Storyloom>();
        channel.SetCurrentMode(mode);  // names it after the mode
        unsigned int position = 0;
        for (A3d_Channel* child : children) {
            if (child) Link(channel, position, *child);
            ++position;
        }
        return channel;
    }
    // A channel in `mode` renamed after the mode named it.
    Aco_Storyloom& Storyloom(unsigned int mode, const char* name) {
        Aco_Storyloom& channel = Mode(mode);
        channel.SetChannelName(name);
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
    Aco_CoreRef& Ref(const char* name, Core::RefSupport* target = nullptr) {
        auto& channel = Make<Aco_CoreRef>(name);
        if (target) channel.SetRef(target);
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
    static const std::vector<std::string>& ErrorLog() { return Core::GetErrorLog(); }
    static const std::vector<std::string>& DebugMessages() { return globalEngine.GetDebugMessages(); }
    // The error log holds exactly `lines`; it is emptied for what follows.
    static void ExpectLog(const std::vector<std::string>& lines) {
        EXPECT_EQ(ErrorLog(), lines);
        Core::ClearErrorLog();
    }

    std::vector<std::unique_ptr<A3d_Channel>> channels;
};
