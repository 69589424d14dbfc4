#pragma once
#include "host/core/PlacedEntity.h"

namespace Core {

// A placed entity that exists for the scenario only: drawn as a helper and picked with the
// mouse by its bounding sphere.
class VirtualScenarioEntity : public PlacedEntity {
public:
    using PlacedEntity::PlacedEntity;
};

}  // namespace Core
