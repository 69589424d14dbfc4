#pragma once
#include "storyloom/host/core/TVariable.h"

namespace Core {

// A text variable.
class StringVar : public TVariable<std::string> {
public:
    using TVariable::TVariable;
};

}  // namespace Core
