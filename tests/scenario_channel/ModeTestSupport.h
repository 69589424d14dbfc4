#pragma once
// Building channel graphs for mode tests, and the reports their evaluations leave.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "storyloom/scenario_channel/Aco_Storyloom.h"

// The error-log line of a failed evaluation: the text behind the prefix of an ungrouped
// channel that carries its automatic name "Storyloom_" + short mode name.
inline std::string EvaluationReport(const std::string& shortName, const std::string& text) {
    const std::string name = "Storyloom_" + shortName;
    return name + ".CGR[].Channel[" + name + "]." + text;
}

// The short name the mode table gives `mode`.
inline std::string ShortNameOf(unsigned mode) {
    Aco_Storyloom channel;
    channel.BuildModesList(false);
    const ModeDescription* description = channel.GetModeDescription(mode);
    return description ? description->shortName : "";
}

// Sets the mode, then links the children at positions 0, 1, ... (null leaves one empty).
inline void BuildChannel(Aco_Storyloom& channel, unsigned mode, std::initializer_list<A3d_Channel*> children = {}) {
    channel.SetCurrentMode(mode);
    unsigned position = 0;
    for (A3d_Channel* child : children) {
        if (child) {
            ASSERT_TRUE(channel.LinkChild(position, child)) << "position " << position;
        }
        ++position;
    }
}
