#pragma once
#include "storyloom/coreframework/Ray.h"
#include "storyloom/coreframework/VelmMathLib.h"

namespace Core {

float Length(const VelmMathLib::Vec3& v);
VelmMathLib::Vec3 Cross(const VelmMathLib::Vec3& a, const VelmMathLib::Vec3& b);
// The zero vector stays zero.
VelmMathLib::Vec3 Normalized(const VelmMathLib::Vec3& v);
bool IsFinite(const VelmMathLib::Vec3& v);
// Radii of spheres: finite and not negative.
bool IsValidRadius(float radius);

// Distance along the ray to where it first meets the sphere (0 when it starts inside);
// false when it misses. The ray's direction must be of unit length.
bool IntersectRaySphere(const CoreFramework::Ray& ray, const VelmMathLib::Vec3& center, float radius,
                        float& distance);

}  // namespace Core
