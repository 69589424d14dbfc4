#pragma once
#include <string>
#include <vector>

#include "storyloom/coreframework/Logging.h"

namespace Core {

// Keeps the messages of a scenario's translation dictionary with the scenario.
class ScenarioLogger : public VirtualLogger {
public:
    void Log(const std::string& message, int) override { _messages.push_back(message); }
    const std::vector<std::string>& GetMessages() const { return _messages; }

private:
    std::vector<std::string> _messages;
};

}  // namespace Core
