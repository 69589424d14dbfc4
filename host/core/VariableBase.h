#pragma once
#include <string>

#include "storyloom/host/core/WeakRef.h"

namespace Core {

class ScenarioSupport;

// A named scenario variable. Slots bind to variables weakly, so a variable may die while bound.
class VariableBase : public WeakTarget {
public:
    explicit VariableBase(std::string name) : _name(std::move(name)) {}
    virtual ~VariableBase();

    const std::string& GetName() const { return _name; }

    // The kind's name in state texts ("float", "vec3", "string", "entity", "enum", "objective").
    virtual const char* GetKindName() const = 0;
    // The value as the editor shows it.
    virtual std::string GetValueText() const = 0;
    // The value as the state text keeps it, and back; a text that does not read leaves the
    // value unchanged and answers false.
    virtual std::string ExportValue() const = 0;
    virtual bool ImportValue(const std::string& text) = 0;
    // Takes the value of a variable of the same class; false for any other.
    virtual bool CopyValueFrom(const VariableBase& other) = 0;
    // Whether the value is that entity.
    virtual bool RefersTo(const ScenarioSupport& entity) const;

private:
    std::string _name;
};

}  // namespace Core
