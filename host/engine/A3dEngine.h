#pragma once
#include "storyloom/host/engine/HostExport.h"
#include <string>
#include <vector>

// The engine interface object: for plug-ins, chiefly its debug message sink.
class A3D_API A3dEngine {
public:
    void ShowDebugMessage(const char* message);
    const std::vector<std::string>& GetDebugMessages() const { return _messages; }
    void ClearDebugMessages() { _messages.clear(); }
    // When set, every message is also written to standard error as it arrives.
    void SetEchoToStderr(bool echo) { _echo = echo; }

private:
    std::vector<std::string> _messages;
    bool _echo = false;
};

extern A3D_API A3dEngine globalEngine;
