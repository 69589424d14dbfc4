#pragma once
#include "storyloom/host/core/TVariable.h"

namespace Core {

// A variable holding a mission objective.
class ObjectiveVar : public TVariable<Objective> {
public:
    using TVariable::TVariable;
};

}  // namespace Core
