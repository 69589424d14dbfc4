#pragma once
#include "storyloom/host/core/WeakRef.h"

namespace Core {

class Scenario;

// What scenario nodes are made for: it belongs to a scenario, held weakly.
class VariableSlotSetOwner : public WeakTarget {
public:
    explicit VariableSlotSetOwner(Scenario& scenario);
    virtual ~VariableSlotSetOwner();

    // Null once the scenario has been destroyed.
    Scenario* GetScenario() const { return _scenario.Get(); }

private:
    WeakRef<Scenario> _scenario;
};

}  // namespace Core
