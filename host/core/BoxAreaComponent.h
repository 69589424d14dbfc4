#pragma once
#include "storyloom/host/core/AreaComponent.h"

namespace Core {

// An axis-aligned box. Corners given the wrong way round on an axis are swapped.
class BoxAreaComponent : public AreaComponent {
public:
    BoxAreaComponent(VelmMathLib::Vec3 min, VelmMathLib::Vec3 max);

    bool TouchesSphere(const VelmMathLib::Vec3& center, float radius) const override;

    const VelmMathLib::Vec3& GetMin() const { return _min; }
    const VelmMathLib::Vec3& GetMax() const { return _max; }

private:
    VelmMathLib::Vec3 _min;
    VelmMathLib::Vec3 _max;
};

}  // namespace Core
