#pragma once
#include "storyloom/coreframework/VelmMathLib.h"
#include "storyloom/host/core/EntityBase.h"

namespace Core {

// An entity with a place in the world, bounded by a sphere around its position.
class PlacedEntity : public EntityBase {
public:
    // A negative or non-finite radius is reported and taken as 0.
    PlacedEntity(std::string name, VelmMathLib::Vec3 position, float radius);

    const VelmMathLib::Vec3& GetPosition() const { return _position; }
    void SetPosition(const VelmMathLib::Vec3& position) { _position = position; }
    float GetRadius() const { return _radius; }
    // False, with a report, for a negative or non-finite radius; the radius is kept.
    bool SetRadius(float radius);

private:
    VelmMathLib::Vec3 _position;
    float _radius = 0.0f;
};

}  // namespace Core
