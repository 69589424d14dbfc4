#pragma once
#include "storyloom/host/core/PlacedEntity.h"

namespace Core {

// A placed entity with a mesh; areas test it by its bounding sphere.
class StaticMeshEntity : public PlacedEntity {
public:
    using PlacedEntity::PlacedEntity;
};

}  // namespace Core
