#include "storyloom/host/core/BoxAreaComponent.h"

#include <algorithm>

namespace Core {

using VelmMathLib::Vec3;

BoxAreaComponent::BoxAreaComponent(Vec3 min, Vec3 max)
    : _min(std::min(min.x, max.x), std::min(min.y, max.y), std::min(min.z, max.z)),
      _max(std::max(min.x, max.x), std::max(min.y, max.y), std::max(min.z, max.z)) {}

bool BoxAreaComponent::TouchesSphere(const Vec3& center, float radius) const {
    Vec3 closest(std::clamp(center.x, _min.x, _max.x), std::clamp(center.y, _min.y, _max.y),
                 std::clamp(center.z, _min.z, _max.z));
    Vec3 apart = center - closest;
    return apart.Dot(apart) <= radius * radius;
}

}  // namespace Core
