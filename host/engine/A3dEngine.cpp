#include "storyloom/host/engine/A3dEngine.h"

#include <cstdio>

#include "storyloom/host/engine/EvaluationObserver.h"

A3dEngine globalEngine;

void A3dEngine::ShowDebugMessage(const char* message) {
    _messages.emplace_back(message ? message : "");
    if (_echo) std::fprintf(stderr, "%s\n", _messages.back().c_str());
}

EvaluationObserver::~EvaluationObserver() = default;
