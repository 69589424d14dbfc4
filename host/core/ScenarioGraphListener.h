#pragma once
#include "storyloom/host/core/WeakRef.h"

namespace Core {

// Told when the scenario graph view changes size. The graph holds its listener weakly.
class ScenarioGraphListener : public WeakTarget {
public:
    virtual ~ScenarioGraphListener() = default;
    virtual void OnGraphSized(float width, float height) = 0;
};

}  // namespace Core
