#include "storyloom/host/core/SphereAreaComponent.h"

#include "storyloom/host/core/ErrorLog.h"
#include "storyloom/host/core/TextFormat.h"
#include "storyloom/host/core/VectorMath.h"

namespace Core {

SphereAreaComponent::SphereAreaComponent(VelmMathLib::Vec3 center, float radius) : _center(center) {
    SetRadius(radius);
}

bool SphereAreaComponent::TouchesSphere(const VelmMathLib::Vec3& center, float radius) const {
    VelmMathLib::Vec3 apart = center - _center;
    float reach = _radius + radius;
    return apart.Dot(apart) <= reach * reach;
}

bool SphereAreaComponent::SetRadius(float radius) {
    if (!IsValidRadius(radius)) {
        ERRLOG(FormatString("SphereAreaComponent::SetRadius: invalid radius %g", radius));
        return false;
    }
    _radius = radius;
    return true;
}

}  // namespace Core
