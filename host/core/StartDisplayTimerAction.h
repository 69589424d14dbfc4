#pragma once
#include <string>

namespace Core {

// The action that shows a countdown. Its message is process-wide, like the area condition's.
class StartDisplayTimerAction {
public:
    static std::string MessageTimeLeft;
};

}  // namespace Core
