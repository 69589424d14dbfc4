#pragma once
#include "storyloom/host/core/ScenarioSupport.h"
#include "storyloom/host/core/VariableBase.h"
#include "storyloom/host/core/WeakRef.h"

namespace Core {

class Scenario;

// A variable holding an entity of its scenario, or none. Both are held weakly: the value
// reads null once the entity has died.
class EntityVar : public VariableBase {
public:
    using ValueType = ScenarioSupport*;

    EntityVar(std::string name, Scenario& scenario);

    ScenarioSupport* GetValue() const { return _entity.Get(); }
    void SetValue(ScenarioSupport* entity) { _entity.Set(entity); }
    Scenario* GetScenario() const { return _scenario.Get(); }

    const char* GetKindName() const override { return "entity"; }
    // The entity's name; empty for none.
    std::string GetValueText() const override;
    // Kept by name. Reading a name back prefers an entity of the scenario, then any live one.
    std::string ExportValue() const override;
    bool ImportValue(const std::string& text) override;
    bool CopyValueFrom(const VariableBase& other) override;
    bool RefersTo(const ScenarioSupport& entity) const override { return GetValue() == &entity; }

private:
    WeakRef<Scenario> _scenario;
    WeakRef<ScenarioSupport> _entity;
};

}  // namespace Core
