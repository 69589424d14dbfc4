#include "storyloom/host/core/VectorMath.h"

#include <cmath>

namespace Core {

using VelmMathLib::Vec3;

float Length(const Vec3& v) { return std::sqrt(v.Dot(v)); }

Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec3 Normalized(const Vec3& v) {
    float length = Length(v);
    return length > 0.0f ? v * (1.0f / length) : v;
}

bool IsFinite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

bool IsValidRadius(float radius) { return std::isfinite(radius) && radius >= 0.0f; }

bool IntersectRaySphere(const CoreFramework::Ray& ray, const Vec3& center, float radius, float& distance) {
    Vec3 toCenter = center - ray.origin;
    float along = toCenter.Dot(ray.direction);
    float offAxisSquared = toCenter.Dot(toCenter) - along * along;
    float radiusSquared = radius * radius;
    if (offAxisSquared > radiusSquared) return false;
    float halfChord = std::sqrt(radiusSquared - offAxisSquared);
    float nearHit = along - halfChord, farHit = along + halfChord;
    if (farHit < 0.0f) return false;  // the sphere lies behind the ray
    distance = nearHit > 0.0f ? nearHit : 0.0f;
    return true;
}

}  // namespace Core
