#include "storyloom/host/core/Condition.h"

#include "storyloom/host/core/ErrorLog.h"

namespace Core {

Condition::~Condition() = default;

std::string Condition::GetDisplayText() const { return GetTypeName(); }

bool Condition::Evaluate() {
    if (_evaluating) {
        ERRLOG("Condition::Evaluate: " + GetTypeName() + " was asked to evaluate inside its own evaluation");
        return false;
    }
    WeakRef<VariableSlotSet> alive(this);
    _evaluating = true;
    bool holds = EvaluateImpl();
    if (alive) _evaluating = false;
    return holds;
}

}  // namespace Core
