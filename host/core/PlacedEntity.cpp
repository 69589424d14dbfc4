#include "storyloom/host/core/PlacedEntity.h"

#include "storyloom/host/core/ErrorLog.h"
#include "storyloom/host/core/TextFormat.h"
#include "storyloom/host/core/VectorMath.h"

namespace Core {

PlacedEntity::PlacedEntity(std::string name, VelmMathLib::Vec3 position, float radius)
    : EntityBase(std::move(name)), _position(position) {
    SetRadius(radius);
}

bool PlacedEntity::SetRadius(float radius) {
    if (!IsValidRadius(radius)) {
        ERRLOG(FormatString("PlacedEntity::SetRadius: invalid radius %g for %s", radius, GetName().c_str()));
        return false;
    }
    _radius = radius;
    return true;
}

}  // namespace Core
