#pragma once
#include <vector>

#include "storyloom/host/core/AreaComponent.h"
#include "storyloom/host/core/EntityBase.h"
#include "storyloom/host/core/StaticMeshEntity.h"

namespace Core {

// An entity made of volume pieces; it owns its components.
class AreaEntity : public EntityBase {
public:
    explicit AreaEntity(std::string name);
    ~AreaEntity() override;
    AreaEntity(const AreaEntity&) = delete;
    AreaEntity& operator=(const AreaEntity&) = delete;

    // Takes ownership. False, with a report, for null or a component already here.
    bool AddComponent(AreaComponent* component);
    // In the order added.
    const std::vector<AreaComponent*>& GetComponents() const { return _components; }

    // Whether any component touches the entity's bounding sphere; an area without
    // components touches nothing.
    bool IsTouching(const StaticMeshEntity& entity) const;

private:
    std::vector<AreaComponent*> _components;
};

}  // namespace Core
