#pragma once
#include <string>

namespace Core {

// The condition that watches an entity's speed and time inside an area. Its three player
// messages are process-wide, so a game translates them once for every scenario.
class UberIsEntityInAreaSpeedTime {
public:
    static std::string MessageWaitTime;
    static std::string MessageAdjustSpeed;
    static std::string MessageLeftArea;
};

}  // namespace Core
