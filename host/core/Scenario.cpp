#include "storyloom/host/core/Scenario.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "storyloom/host/core/CoreEngine.h"
#include "storyloom/host/core/ErrorLog.h"
#include "storyloom/host/core/TextFormat.h"
#include "storyloom/host/core/VectorMath.h"
#include "storyloom/host/core/VirtualScenarioEntity.h"

namespace Core {

Scenario::Scenario() : _dictionary("[[", "]]", &_dictionaryLogger) {}

// Nodes go first: their slots may be bound to the variables.
Scenario::~Scenario() {
    for (EventNode* node : _eventNodes) delete node;
    for (VariableBase* variable : _variables) delete variable;
    LeaveAllEntities();
}

namespace {
// An id below twice the number of entities plus this is stored by position, not in the map.
constexpr std::size_t kDenseSlack = 64;
}  // namespace

void Scenario::LeaveAllEntities() {
    VisitEntities([this](unsigned, ScenarioSupport* entity) {
        entity->_scenarios.Remove(this);
        return true;
    });
    _byId.clear();
    _farIds.clear();
    _entityCount = _denseCount = 0;
    _denseFirst = 0;
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
    if (id >= _byId.size() && id < 2 * std::size_t(_entityCount) + kDenseSlack) GrowDense(std::size_t(id) + 1);
    if (id < _byId.size()) {
        _byId[id] = &entity;
        ++_denseCount;
        _denseFirst = std::min<std::size_t>(_denseFirst, id);
    } else {
        _farIds[id] = &entity;
    }
    ++_entityCount;
    _idPool.Claim(id);
    entity._scenarios.Add(this, id);
}

void Scenario::GrowDense(std::size_t size) {
    if (_denseCount == 0) _denseFirst = size;
    _byId.resize(size, nullptr);
    // Far ids now within the vector move into it.
    while (!_farIds.empty() && _farIds.begin()->first < size) {
        _byId[_farIds.begin()->first] = _farIds.begin()->second;
        _denseFirst = std::min<std::size_t>(_denseFirst, _farIds.begin()->first);
        ++_denseCount;
        _farIds.erase(_farIds.begin());
    }
}

bool Scenario::RemoveEntity(ScenarioSupport* entity) {
    const unsigned id = GetEntityID(entity);
    if (id == NoID) {
        ERRLOG("Scenario::RemoveEntity: the entity is not in the scenario");
        return false;
    }
    entity->_scenarios.Remove(this);
    ForgetEntity(id);
    return true;
}

void Scenario::ForgetEntity(unsigned id) {
    if (id < _byId.size()) {
        if (!_byId[id]) return;
        _byId[id] = nullptr;
        --_denseCount;
        // Empty ends are dropped, so that neither a walk nor GetFirstEntity passes over them.
        while (!_byId.empty() && !_byId.back()) _byId.pop_back();
        if (_denseCount == 0)
            _denseFirst = 0;
        else
            while (!_byId[_denseFirst]) ++_denseFirst;
    } else if (!_farIds.erase(id)) {
        return;
    }
    --_entityCount;
}

ScenarioSupport* Scenario::GetEntity(unsigned id) const {
    if (id < _byId.size()) return _byId[id];
    auto found = _farIds.find(id);
    return found == _farIds.end() ? nullptr : found->second;
}

unsigned Scenario::GetEntityID(const ScenarioSupport* entity) const {
    if (!entity) return NoID;
    const ScenarioSupport::Membership* membership = entity->_scenarios.Find(this);
    return membership ? membership->id : NoID;
}

ScenarioSupport* Scenario::GetFirstEntity() const {
    ScenarioSupport* first = nullptr;
    VisitEntities([this, &first](unsigned id, ScenarioSupport* entity) {
        first = entity;
        _walkId.store(id, std::memory_order_relaxed);
        return false;
    });
    return first;
}

ScenarioSupport* Scenario::GetNextEntity(const ScenarioSupport* entity) const {
    if (!entity) return nullptr;
    unsigned id = _walkId.load(std::memory_order_relaxed);
    if (id >= _byId.size() || _byId[id] != entity) id = GetEntityID(entity);
    return id == NoID ? nullptr : EntityAfter(id);
}

ScenarioSupport* Scenario::EntityAfter(unsigned id) const {
    if (id < _byId.size()) {
        for (std::size_t next = std::size_t(id) + 1; next < _byId.size(); ++next)
            if (_byId[next]) {
                _walkId.store(static_cast<unsigned>(next), std::memory_order_relaxed);
                return _byId[next];
            }
        if (_farIds.empty()) return nullptr;
        _walkId.store(_farIds.begin()->first, std::memory_order_relaxed);
        return _farIds.begin()->second;
    }
    auto next = _farIds.upper_bound(id);
    return next == _farIds.end() ? nullptr : next->second;
}

void Scenario::RefreshUnusedIDsList() {
    std::vector<unsigned> used;
    used.reserve(_entityCount);
    VisitEntities([&used](unsigned id, ScenarioSupport*) {
        used.push_back(id);
        return true;
    });
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
    _variablesByName.emplace(variable->GetName(), variable);
    return true;
}

VariableBase* Scenario::FindVariable(const std::string& name) const {
    auto found = _variablesByName.find(name);
    return found == _variablesByName.end() ? nullptr : found->second;
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
    VisitEntities([&](unsigned, ScenarioSupport* support) {
        auto* entity = dynamic_cast<VirtualScenarioEntity*>(support);
        if (entity && container && entity->Render(*container)) ++drawn;
        return true;
    });
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
    VisitEntities([&](unsigned, ScenarioSupport* support) {
        auto* candidate = dynamic_cast<VirtualScenarioEntity*>(support);
        float candidateDistance = 0.0f;
        if (!candidate || !IntersectRaySphere(unitRay, candidate->GetPosition(), candidate->GetRadius(), candidateDistance))
            return true;
        if (!hit || candidateDistance < hitDistance) {
            hit = candidate;
            hitDistance = candidateDistance;
        }
        return nearest;
    });
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
