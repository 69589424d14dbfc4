#pragma once
#include <vector>

#include "storyloom/host/core/VariableSlotBase.h"
#include "storyloom/host/core/WeakRef.h"

namespace Core {

// The ordered variable slots of a scenario node; it owns them. A copy starts without slots:
// whoever copies a node decides what its slots become.
class VariableSlotSet : public WeakTarget {
public:
    VariableSlotSet() = default;
    VariableSlotSet(const VariableSlotSet&) : WeakTarget() {}
    VariableSlotSet& operator=(const VariableSlotSet&) = delete;
    virtual ~VariableSlotSet();

    // Takes ownership and appends. Null, or a slot already here, is refused with a report.
    bool AddVariableSlot(VariableSlotBase* slot);
    const std::vector<VariableSlotBase*>& GetVariableSlots() const { return _slots; }

    bool RefersTo(const ScenarioSupport& entity) const;

private:
    std::vector<VariableSlotBase*> _slots;
};

}  // namespace Core
