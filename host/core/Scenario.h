#pragma once
#include <map>
#include <memory>
#include <unordered_map>

#include "host/core/EntityIdPool.h"
#include "host/core/RefSupport.h"
#include "host/core/ScenarioSupport.h"

namespace Core {

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
    float _playTime = 0.0f;
    bool _paused = false;
};

}  // namespace Core
