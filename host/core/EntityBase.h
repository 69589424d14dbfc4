#pragma once
#include <string>

#include "storyloom/host/core/RefSupport.h"
#include "storyloom/host/core/ScenarioSupport.h"

namespace Core {

// Base of every scenario entity: something a reference channel can point at and a scenario
// can hold. Owned by whoever made it.
class EntityBase : public RefSupport, public ScenarioSupport {
public:
    explicit EntityBase(std::string name) : _name(std::move(name)) {}
    const std::string& GetName() const override { return _name; }
    ScenarioSupport* AsScenarioSupport() override { return this; }
    RefSupport* AsRefSupport() override { return this; }

private:
    std::string _name;
};

}  // namespace Core
