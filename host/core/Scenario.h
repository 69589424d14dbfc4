#pragma once
#include <atomic>
#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "storyloom/coreframework/LanguageDictionary.h"
#include "storyloom/coreframework/Ray.h"
#include "storyloom/coreframework/serializer/SerializerFlag.h"
#include "storyloom/host/core/EntityIdPool.h"
#include "storyloom/host/core/EventNode.h"
#include "storyloom/host/core/RefSupport.h"
#include "storyloom/host/core/ScenarioLogger.h"
#include "storyloom/host/core/ScenarioSupport.h"
#include "storyloom/host/core/VariableBase.h"

namespace Core {

class VirtualScenarioEntity;

// A running scenario: its entities by id, its variables, its event nodes, its play clock
// and its translation dictionary. Made and destroyed only by the ScenarioManager. A new
// scenario is running, not paused.
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
    unsigned GetEntitiesCount() const { return _entityCount; }
    // Walk in id order; null past the last entity or for an entity not in this scenario.
    ScenarioSupport* GetFirstEntity() const;
    ScenarioSupport* GetNextEntity(const ScenarioSupport* entity) const;
    void RefreshUnusedIDsList();
    // Whether a variable or a node of this scenario refers to the entity.
    bool GetIsEntityInUse(const ScenarioSupport* entity) const;

    // Variables, owned, in the order added. A null variable or a name already in use is
    // refused with a report, and the refused variable is deleted.
    bool AddVariable(VariableBase* variable);
    VariableBase* FindVariable(const std::string& name) const;
    const std::vector<VariableBase*>& GetVariables() const { return _variables; }

    // Event nodes, owned, in the order added.
    EventNode* AddEventNode();
    const std::vector<EventNode*>& GetEventNodes() const { return _eventNodes; }

    // Keys are written as "[[key]]"; the dictionary's messages stay with the scenario.
    LanguageDictionary& GetLanguageDictionary() { return _dictionary; }
    const std::vector<std::string>& GetDictionaryMessages() const { return _dictionaryLogger.GetMessages(); }

    // The state: play clock, pause, entities by id and name, variables by name, kind and
    // value. States Export and Import wrap it in a ScenarioState tag; the others write bare
    // lines. ExportState appends to text and answers 0. ImportState reads text (leaving it
    // as it is) and answers 0; a text it cannot take whole (damaged, of another kind, naming
    // an entity that no longer lives) is reported and answered non-zero, and the scenario
    // stays as it was. Entities are found again by name, those already here first. Indents
    // beyond MaxStateIndent tabs are written as that many, so a stray number cannot make the
    // text grow without end.
    static constexpr unsigned MaxStateIndent = 256;
    int ExportState(CustomEnums::SerializerFlag::State state, std::string& text, unsigned indent) const;
    int ImportState(CustomEnums::SerializerFlag::State state, std::string& text);

    // Draws the virtual entities among the entities in one batch of the engine's debug
    // renderer; answers how many were put into the batch whole. Nothing shows while the
    // renderer has no device.
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
    // Its manager destroyed it while a deferral still keeps the object.
    bool IsDestroyed() const { return _destroyed; }
    void Update(float seconds);
    float GetPlayTime() const { return _playTime; }

private:
    friend class ScenarioManager;
    friend class ScenarioSupport;
    friend struct std::default_delete<Scenario>;

    Scenario();
    ~Scenario() override;
    Scenario(const Scenario&) = delete;
    Scenario& operator=(const Scenario&) = delete;

    struct ImportPlan;
    bool PlanImport(CustomEnums::SerializerFlag::State state, const std::string& text, ImportPlan& plan);
    void ApplyImport(ImportPlan& plan);
    void PlaceEntity(ScenarioSupport& entity, unsigned id);
    void ForgetEntity(unsigned id);
    void LeaveAllEntities();
    void GrowDense(std::size_t size);
    // The entity after that id, in id order, or null.
    ScenarioSupport* EntityAfter(unsigned id) const;
    // Calls visit(id, entity) in id order until it answers false.
    template <class Visit>
    void VisitEntities(Visit visit) const;

    // Ids issued by the pool are dense, so entities sit in a vector indexed by id; an id far
    // beyond the number of entities (chosen freely or read from a state text) goes to a map
    // instead, so that it cannot make the vector huge. Every id in _farIds is at least
    // _byId.size(). Each entity keeps its own id in this scenario (ScenarioSupport::_scenarios).
    std::vector<ScenarioSupport*> _byId;
    std::map<unsigned, ScenarioSupport*> _farIds;
    unsigned _entityCount = 0;
    unsigned _denseCount = 0;  // entities in _byId
    std::size_t _denseFirst = 0;  // no entity in _byId below it
    // The id a walk was last answered with, so the next step needs no lookup.
    mutable std::atomic<unsigned> _walkId{NoID};
    EntityIdPool _idPool;
    std::vector<VariableBase*> _variables;
    std::unordered_map<std::string, VariableBase*> _variablesByName;
    // What a fired event reads of every scenario, side by side.
    std::vector<EventNode*> _eventNodes;
    bool _paused = false;
    bool _destroyed = false;
    ScenarioLogger _dictionaryLogger;
    LanguageDictionary _dictionary;
    unsigned _renderPassCount = 0;
    float _playTime = 0.0f;
};

template <class Visit>
void Scenario::VisitEntities(Visit visit) const {
    for (std::size_t id = _denseFirst; id < _byId.size(); ++id)
        if (_byId[id] && !visit(static_cast<unsigned>(id), _byId[id])) return;
    for (const auto& entry : _farIds)
        if (!visit(entry.first, entry.second)) return;
}

}  // namespace Core
