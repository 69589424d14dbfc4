#pragma once
#include "storyloom/host/core/WeakRef.h"

namespace Core {

class ScenarioSupport;

// Base of every core object a reference channel (Aco_CoreRef) can point at. When it dies,
// every reference to it reads empty; callers narrow it with dynamic_cast.
class RefSupport : public WeakTarget {
public:
    RefSupport() = default;
    RefSupport(const RefSupport&) = default;
    RefSupport& operator=(const RefSupport&) = default;
    virtual ~RefSupport();
    // The object as a scenario entity, or null: what dynamic_cast answers, without its cost
    // for the entities, which every entity mode narrows on every evaluation.
    virtual ScenarioSupport* AsScenarioSupport();
};

}  // namespace Core
