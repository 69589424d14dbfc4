#include "storyloom/host/core/VariableSlotSet.h"

#include <algorithm>

#include "storyloom/host/core/ErrorLog.h"

namespace Core {

VariableSlotSet::~VariableSlotSet() {
    for (VariableSlotBase* slot : _slots) delete slot;
}

bool VariableSlotSet::AddVariableSlot(VariableSlotBase* slot) {
    if (!slot || std::find(_slots.begin(), _slots.end(), slot) != _slots.end()) {
        ERRLOG("VariableSlotSet::AddVariableSlot: no slot, or a slot already in the set");
        return false;
    }
    _slots.push_back(slot);
    return true;
}

bool VariableSlotSet::RefersTo(const ScenarioSupport& entity) const {
    return std::any_of(_slots.begin(), _slots.end(),
                       [&entity](const VariableSlotBase* slot) { return slot->RefersTo(entity); });
}

}  // namespace Core
