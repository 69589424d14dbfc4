#pragma once
#include <string>
#include <vector>

#include "storyloom/coreframework/Logging.h"

class RecordingLogger : public VirtualLogger {
public:
    void Log(const std::string& message, int level) override {
        messages.push_back(message);
        levels.push_back(level);
    }
    std::vector<std::string> messages;
    std::vector<int> levels;
};
