#include "host/core/Scenario.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "host/core/CoreEngine.h"
#include "host/core/ErrorLog.h"
#include "host/core/TextFormat.h"
#include "host/core/VectorMath.h"
#include "host/core/VirtualScenarioEntity.h"

namespace Core {

Scenario::Scenario() : _dictionary("[[", "]]", &_dictionaryLogger) {}

// Nodes go first: their slots may be bound to the variables.
Scenario::~Scenario() {
    for (EventNode* node : _eventNodes) delete node;
    for (VariableBase* variable : _variables) delete variable;
    LeaveAllEntities();
}

void Scenario::LeaveAllEntities() {
    for (auto& entry : _entities) {
        std::vector<Scenario*>& scenarios = entry.second->_scenarios;
        scenarios.erase(std::find(scenarios.begin(), scenarios.end(), this));
    }
    _entities.clear();
    _ids.clear();
}

unsigned Scenario::AddEntity(ScenarioSupport* entity) {
    if (!entity) {
        ERRLOG("Scenario::AddEntity: no entity given");
        return NoID;
    }
    unsigned existing = GetEntityID(entity);
    if (existing != NoID) return existing;
    unsigned id = _idPool.Peek();
    if (id == NoID) {
        ERRLOG("Scenario::AddEntity: no entity id left");
        return NoID;
    }
    PlaceEntity(*entity, id);
    return id;
}

bool Scenario::AddEntityAtID(ScenarioSupport* entity, unsigned id) {
    if (!entity) {
        ERRLOG("Scenario::AddEntityAtID: no entity given");
        return false;
    }
    if (id == NoID) return AddEntity(entity) != NoID;
    unsigned existing = GetEntityID(entity);
    if (existing == id) return true;
    if (existing != NoID) {
        ERRLOG(FormatString("Scenario::AddEntityAtID: %s is already in the scenario at id %u",
                            entity->GetName().c_str(), existing));
        return false;
    }
    if (ScenarioSupport* holder = GetEntity(id)) {
        ERRLOG(FormatString("Scenario::AddEntityAtID: id %u is held by %s", id, holder->GetName().c_str()));
        return false;
    }
    PlaceEntity(*entity, id);
    return true;
}

void Scenario::PlaceEntity(ScenarioSupport& entity, unsigned id) {
    _entities[id] = &entity;
    _ids[&entity] = id;
    _idPool.Claim(id);
    entity._scenarios.push_back(this);
}

bool Scenario::RemoveEntity(ScenarioSupport* entity) {
    if (!entity || GetEntityID(entity) == NoID) {
        ERRLOG("Scenario::RemoveEntity: the entity is not in the scenario");
        return false;
    }
    std::vector<Scenario*>& scenarios = entity->_scenarios;
    scenarios.erase(std::find(scenarios.begin(), scenarios.end(), this));
    ForgetEntity(*entity);
    return true;
}

void Scenario::ForgetEntity(ScenarioSupport& entity) {
    auto found = _ids.find(&entity);
    if (found == _ids.end()) return;
    _entities.erase(found->second);
    _ids.erase(found);
}

ScenarioSupport* Scenario::GetEntity(unsigned id) const {
    auto found = _entities.find(id);
    return found == _entities.end() ? nullptr : found->second;
}

unsigned Scenario::GetEntityID(const ScenarioSupport* entity) const {
    auto found = _ids.find(entity);
    return found == _ids.end() ? NoID : found->second;
}

ScenarioSupport* Scenario::GetFirstEntity() const {
    return _entities.empty() ? nullptr : _entities.begin()->second;
}

ScenarioSupport* Scenario::GetNextEntity(const ScenarioSupport* entity) const {
    unsigned id = GetEntityID(entity);
    if (id == NoID) return nullptr;
    auto next = _entities.upper_bound(id);
    return next == _entities.end() ? nullptr : next->second;
}

void Scenario::RefreshUnusedIDsList() {
    std::vector<unsigned> used;
    used.reserve(_entities.size());
    for (const auto& entry : _entities) used.push_back(entry.first);
    _idPool.Rebuild(used);
}

bool Scenario::GetIsEntityInUse(const ScenarioSupport* entity) const {
    if (!entity) return false;
    return std::any_of(_variables.begin(), _variables.end(),
                       [entity](const VariableBase* variable) { return variable->RefersTo(*entity); }) ||
           std::any_of(_eventNodes.begin(), _eventNodes.end(),
                       [entity](const EventNode* node) { return node->RefersTo(*entity); });
}

bool Scenario::AddVariable(VariableBase* variable) {
    // Ownership passes with the call, so a refused variable is ours to delete.
    std::unique_ptr<VariableBase> owned(variable);
    if (!owned || FindVariable(owned->GetName())) {
        ERRLOG("Scenario::AddVariable: no variable, or a name already in use");
        return false;
    }
    variable = owned.release();
    _variables.push_back(variable);
    return true;
}

VariableBase* Scenario::FindVariable(const std::string& name) const {
    auto found = std::find_if(_variables.begin(), _variables.end(),
                              [&name](const VariableBase* variable) { return variable->GetName() == name; });
    return found == _variables.end() ? nullptr : *found;
}

EventNode* Scenario::AddEventNode() {
    _eventNodes.push_back(new EventNode(*this));
    return _eventNodes.back();
}

unsigned Scenario::RenderVirtualEntities() {
    ++_renderPassCount;
    DebugRenderer& renderer = CoreEngine::Instance().GetDebugRenderer();
    const int index = renderer.AcquireFreeContainer();
    DebugPrimitivesContainer* container = renderer.GetContainer(index, false);
    unsigned drawn = 0;
    for (const auto& entry : _entities) {
        auto* entity = dynamic_cast<VirtualScenarioEntity*>(entry.second);
        if (entity && container && entity->Render(*container)) ++drawn;
    }
    renderer.Render(index, DebugRenderer::ReleaseContainer);
    return drawn;
}

bool Scenario::GetVirtualEntityCollision(const CoreFramework::Ray& ray, const VelmMathLib::Vec3i&,
                                         VirtualScenarioEntity*& entity, VelmMathLib::Vec3& point, bool nearest,
                                         float* distance) const {
    CoreFramework::Ray unitRay{ray.origin, Normalized(ray.direction)};
    if (Length(unitRay.direction) == 0.0f || !IsFinite(unitRay.origin) || !IsFinite(unitRay.direction)) {
        ERRLOG("Scenario::GetVirtualEntityCollision: the ray has no direction");
        return false;
    }
    VirtualScenarioEntity* hit = nullptr;
    float hitDistance = 0.0f;
    for (const auto& entry : _entities) {
        auto* candidate = dynamic_cast<VirtualScenarioEntity*>(entry.second);
        float candidateDistance = 0.0f;
        if (!candidate || !IntersectRaySphere(unitRay, candidate->GetPosition(), candidate->GetRadius(), candidateDistance))
            continue;
        if (!hit || candidateDistance < hitDistance) {
            hit = candidate;
            hitDistance = candidateDistance;
        }
        if (!nearest) break;
    }
    if (!hit) return false;
    entity = hit;
    point = unitRay.origin + unitRay.direction * hitDistance;
    if (distance) *distance = hitDistance;
    return true;
}

void Scenario::Update(float seconds) {
    if (!std::isfinite(seconds) || seconds < 0.0f) {
        ERRLOG(FormatString("Scenario::Update: invalid time step %g", seconds));
        return;
    }
    if (!_paused) _playTime += seconds;
}

}  // namespace Core
