#pragma once
#include "storyloom/coreframework/VelmMathLib.h"

namespace Core {

// One piece of an area entity's volume, in world coordinates.
class AreaComponent {
public:
    virtual ~AreaComponent() = default;
    virtual bool TouchesSphere(const VelmMathLib::Vec3& center, float radius) const = 0;
};

}  // namespace Core
