#pragma once
#include "storyloom/host/core/AreaComponent.h"

namespace Core {

class SphereAreaComponent : public AreaComponent {
public:
    // A negative or non-finite radius is reported and taken as 0.
    SphereAreaComponent(VelmMathLib::Vec3 center, float radius);

    bool TouchesSphere(const VelmMathLib::Vec3& center, float radius) const override;

    const VelmMathLib::Vec3& GetCenter() const { return _center; }
    float GetRadius() const { return _radius; }
    // False, with a report, for a negative or non-finite radius; the radius is kept.
    bool SetRadius(float radius);

private:
    VelmMathLib::Vec3 _center;
    float _radius = 0.0f;
};

}  // namespace Core
