#include "storyloom/host/core/VariableSlotSetOwner.h"

#include "storyloom/host/core/Scenario.h"

namespace Core {

VariableSlotSetOwner::VariableSlotSetOwner(Scenario& scenario) : _scenario(&scenario) {}
VariableSlotSetOwner::~VariableSlotSetOwner() = default;

}  // namespace Core
