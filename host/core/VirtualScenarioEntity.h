#pragma once
#include "storyloom/coreframework/VelmMathLib.h"
#include "storyloom/host/core/PlacedEntity.h"

class DebugPrimitivesContainer;

namespace Core {

// A placed entity that exists for the scenario only: drawn as a helper and picked with the
// mouse by its bounding sphere.
class VirtualScenarioEntity : public PlacedEntity {
public:
    using PlacedEntity::PlacedEntity;

    // Adds the entity's bounding sphere in its colour and the wire box around the sphere.
    // False when the container had no room for all of it.
    bool Render(DebugPrimitivesContainer& container) const;

    // Red, green, blue and alpha from 0 to 1.
    const VelmMathLib::Vec4& GetColor() const { return _color; }
    void SetColor(const VelmMathLib::Vec4& color) { _color = color; }

    static constexpr unsigned OutlineColor = 0xFFFFFFFFu;

private:
    VelmMathLib::Vec4 _color{0.2f, 0.6f, 1.0f, 1.0f};
};

}  // namespace Core
