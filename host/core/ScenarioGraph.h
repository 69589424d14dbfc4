#pragma once
#include "storyloom/host/core/ScenarioGraphListener.h"

namespace Core {

// The editor's view of a scenario's node graph.
class ScenarioGraph {
public:
    void RenderGraph() { ++_renderCount; }
    unsigned GetRenderCount() const { return _renderCount; }

    // One listener at a time; a new one replaces the old. Held weakly.
    void SetListener(ScenarioGraphListener* listener) { _listener.Set(listener); }
    ScenarioGraphListener* GetListener() const { return _listener.Get(); }

    // The view changed size: remembered, then told to the listener. A negative or
    // non-finite size is refused with a report.
    bool Resize(float width, float height);
    float GetWidth() const { return _width; }
    float GetHeight() const { return _height; }

private:
    WeakRef<ScenarioGraphListener> _listener;
    unsigned _renderCount = 0;
    float _width = 0.0f;
    float _height = 0.0f;
};

}  // namespace Core
