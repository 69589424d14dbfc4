#pragma once
#include "storyloom/host/core/TVariable.h"

namespace Core {

// A variable holding a value of an enumeration or string-list type.
class EnumVar : public TVariable<EnumValue> {
public:
    using TVariable::TVariable;
};

}  // namespace Core
