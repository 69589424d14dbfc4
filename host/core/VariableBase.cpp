#include "storyloom/host/core/VariableBase.h"

namespace Core {

VariableBase::~VariableBase() = default;

bool VariableBase::RefersTo(const ScenarioSupport&) const { return false; }

}  // namespace Core
