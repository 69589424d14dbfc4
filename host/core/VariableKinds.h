#pragma once
#include <string>

#include "storyloom/host/core/VariableBase.h"

namespace Core {

class Scenario;

// A new variable of the kind a state text names (VariableBase::GetKindName), holding the
// kind's initial value; null for an unknown kind. The caller owns it.
VariableBase* CreateVariableOfKind(const std::string& kind, const std::string& name, Scenario& scenario);

}  // namespace Core
