#pragma once
#include "storyloom/host/engine/HostExport.h"
#include <string>
#include <vector>

class EvaluationObserver;

// The engine interface object: for plug-ins, chiefly its debug message sink.
class A3D_API A3dEngine {
public:
    void ShowDebugMessage(const char* message);
    const std::vector<std::string>& GetDebugMessages() const { return _messages; }
    void ClearDebugMessages() { _messages.clear(); }
    // When set, every message is also written to standard error as it arrives.
    void SetEchoToStderr(bool echo) { _echo = echo; }
    // Null (the default) for none; the caller keeps it alive while it is set.
    void SetEvaluationObserver(EvaluationObserver* observer) { _observer = observer; }
    EvaluationObserver* GetEvaluationObserver() const { return _observer; }

private:
    std::vector<std::string> _messages;
    bool _echo = false;
    EvaluationObserver* _observer = nullptr;
};

extern A3D_API A3dEngine globalEngine;
