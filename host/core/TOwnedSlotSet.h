#pragma once
#include "storyloom/host/core/VariableSlotSet.h"
#include "storyloom/host/core/VariableSlotSetOwner.h"

namespace Core {

// A node's slots and the owner it was made for, held weakly. A copy has the same owner and
// no slots.
template <class Owner>
class TOwnedSlotSet : public VariableSlotSet {
public:
    explicit TOwnedSlotSet(Owner& owner) : _owner(&owner) {}

    // Null once the owner has died.
    Owner* GetOwner() const { return _owner.Get(); }
    Scenario* GetScenario() const {
        Owner* owner = GetOwner();
        return owner ? owner->GetScenario() : nullptr;
    }

private:
    WeakRef<Owner> _owner;
};

}  // namespace Core
