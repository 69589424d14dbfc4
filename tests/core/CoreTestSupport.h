#pragma once
#include <gtest/gtest.h>

#include <cmath>

#include "storyloom/host/ScenarioCore.h"

// Each test starts with an empty error log and leaves no scenario behind in the engine.
class CoreTest : public ::testing::Test {
protected:
    void SetUp() override { Core::ClearErrorLog(); }
    void TearDown() override {
        Core::ScenarioManager& manager = Manager();
        while (!manager.GetScenarios().empty()) manager.DestroyScenario(manager.GetScenarios().back().get());
    }
    static Core::ScenarioManager& Manager() { return Core::CoreEngine::Instance().GetScenarioManager(); }
};

inline float Distance(const VelmMathLib::Vec3& a, const VelmMathLib::Vec3& b) {
    const VelmMathLib::Vec3 d = a - b;
    return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}
