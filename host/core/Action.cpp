#include "storyloom/host/core/Action.h"

#include "storyloom/host/core/ErrorLog.h"

namespace Core {

Action::~Action() = default;

std::string Action::GetDisplayText() const { return GetTypeName(); }

void Action::Execute() {
    if (_running) {
        ERRLOG("Action::Execute: " + GetTypeName() + " was asked to run inside its own run");
        return;
    }
    // The run may end this action (its scenario destroyed, say); then nothing is left to reset.
    WeakRef<VariableSlotSet> alive(this);
    _running = true;
    ExecuteImpl();
    if (alive) _running = false;
}

}  // namespace Core
