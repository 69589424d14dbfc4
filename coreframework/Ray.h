#pragma once
#include "storyloom/coreframework/VelmMathLib.h"

namespace CoreFramework {

// A half line from origin along a unit direction.
struct Ray {
    VelmMathLib::Vec3 origin;
    VelmMathLib::Vec3 direction;
};

}  // namespace CoreFramework
