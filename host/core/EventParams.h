#pragma once
#include <vector>

namespace Core {

class EntityBase;
class VariableBase;

// What one firing of an event carries: who caused it and its parameters, in order. Neither
// is owned, and both must outlive the firing.
class EventParams {
public:
    explicit EventParams(EntityBase* instigator = nullptr) : _instigator(instigator) {}

    // Null parameters are skipped.
    void AddParameter(VariableBase* parameter) {
        if (parameter) _parameters.push_back(parameter);
    }
    EntityBase* GetInstigator() const { return _instigator; }
    const std::vector<VariableBase*>& GetParameters() const { return _parameters; }

private:
    EntityBase* _instigator;
    std::vector<VariableBase*> _parameters;
};

}  // namespace Core
