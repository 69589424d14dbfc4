#pragma once
#include <map>
#include <memory>
#include <unordered_map>

#include "coreframework/Ray.h"
#include "host/core/EntityIdPool.h"
#include "host/core/RefSupport.h"
#include "host/core/ScenarioSupport.h"

namespace Core {

class VirtualScenarioEntity;

// A running scenario: its entities by id, its play clock. Made and destroyed only by the
// ScenarioManager. A new scenario is running, not paused.
class Scenario : public RefSupport {
public:
    // The id that names no entity.
    static constexpr unsigned NoID = 0xFFFFFFFFu;

    // Entities, referred to, never owned. Ids of removed entities are not handed out again
    // until RefreshUnusedIDsList collects the gaps below the highest id in use.
    // Adds at the lowest collected free id, else past the highest id ever used. An entity
    // already here keeps its id. NoID when the entity is null or the ids are exhausted.
    unsigned AddEntity(ScenarioSupport* entity);
    // Adds at the given id; NoID asks for no particular id and adds as AddEntity does.
    // Refused (false, reported) for a null entity, an id held by another entity, or an
    // entity already here under another id.
    bool AddEntityAtID(ScenarioSupport* entity, unsigned id);
    bool RemoveEntity(ScenarioSupport* entity);
    ScenarioSupport* GetEntity(unsigned id) const;
    unsigned GetEntityID(const ScenarioSupport* entity) const;
    unsigned GetEntitiesCount() const { return static_cast<unsigned>(_entities.size()); }
    // Walk in id order; null past the last entity or for an entity not in this scenario.
    ScenarioSupport* GetFirstEntity() const;
    ScenarioSupport* GetNextEntity(const ScenarioSupport* entity) const;
    void RefreshUnusedIDsList();

    // Draws the virtual entities among the entities; answers how many were drawn.
    unsigned RenderVirtualEntities();
    unsigned GetRenderPassCount() const { return _renderPassCount; }

    // Picks a virtual entity of this scenario with a ray, by bounding sphere. With nearest
    // set every virtual entity is tested and the closest hit wins; otherwise the first hit in
    // id order does. On a hit: entity, point and *distance (when given) are filled and true
    // is answered; on a miss they are left as they were. The pixel is not needed here: picking
    // is by geometry only.
    bool GetVirtualEntityCollision(const CoreFramework::Ray& ray, const VelmMathLib::Vec3i& pixel,
                                   VirtualScenarioEntity*& entity, VelmMathLib::Vec3& point, bool nearest,
                                   float* distance) const;

    // Play clock: Update advances it by a finite, non-negative step while not paused.
    void Pause() { _paused = true; }
    void Resume() { _paused = false; }
    bool IsPaused() const { return _paused; }
    void Update(float seconds);
    float GetPlayTime() const { return _playTime; }

private:
    friend class ScenarioManager;
    friend class ScenarioSupport;
    friend struct std::default_delete<Scenario>;

    Scenario() = default;
    ~Scenario() override;
    Scenario(const Scenario&) = delete;
    Scenario& operator=(const Scenario&) = delete;

    void PlaceEntity(ScenarioSupport& entity, unsigned id);
    void ForgetEntity(ScenarioSupport& entity);

    std::map<unsigned, ScenarioSupport*> _entities;
    std::unordered_map<const ScenarioSupport*, unsigned> _ids;
    EntityIdPool _idPool;
    unsigned _renderPassCount = 0;
    float _playTime = 0.0f;
    bool _paused = false;
};

}  // namespace Core
