#include "storyloom/host/core/AreaEntity.h"

#include <algorithm>

#include "storyloom/host/core/ErrorLog.h"

namespace Core {

AreaEntity::AreaEntity(std::string name) : EntityBase(std::move(name)) {}

AreaEntity::~AreaEntity() {
    for (AreaComponent* component : _components) delete component;
}

bool AreaEntity::AddComponent(AreaComponent* component) {
    if (!component || std::find(_components.begin(), _components.end(), component) != _components.end()) {
        ERRLOG("AreaEntity::AddComponent: no component, or one already in " + GetName());
        return false;
    }
    _components.push_back(component);
    return true;
}

bool AreaEntity::IsTouching(const StaticMeshEntity& entity) const {
    return std::any_of(_components.begin(), _components.end(), [&entity](const AreaComponent* component) {
        return component->TouchesSphere(entity.GetPosition(), entity.GetRadius());
    });
}

}  // namespace Core
