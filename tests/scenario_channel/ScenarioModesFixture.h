#pragma once
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "ModeTestSupport.h"
#include "storyloom/host/EngineHost.h"

// A value channel that counts how often the graph evaluates it.
class CountingValue : public Aco_FloatChannel {
public:
    float GetFloat() override {
        ++reads;
        return Aco_FloatChannel::GetFloat();
    }
    int reads = 0;
};

// Each test starts with empty logs and leaves no scenario behind.
class ScenarioModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        Core::ClearErrorLog();
        globalEngine.ClearDebugMessages();
    }
    void TearDown() override {
        while (!Manager().GetScenarios().empty()) Manager().DestroyScenario(Manager().GetScenarios().back().get());
    }

    static Core::ScenarioManager& Manager() { return Core::CoreEngine::Instance().GetScenarioManager(); }

    static void ExpectLogged(const std::string& line) {
        EXPECT_THAT(Core::GetErrorLog(), ::testing::ElementsAre(line));
    }

    static Aco_FloatChannel Value(float value) {
        Aco_FloatChannel channel;
        channel.SetFloat(value);
        return channel;
    }
};
