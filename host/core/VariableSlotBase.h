#pragma once
#include <string>
#include <typeinfo>

#include "storyloom/host/core/VariableBase.h"
#include "storyloom/host/core/WeakRef.h"

namespace Core {

class ScenarioSupport;

// One variable slot of a scenario node: a name, two flags, and either a constant value or a
// binding to a scenario variable. The binding is weak: once the variable has died the slot
// reads its constant again.
class VariableSlotBase {
public:
    explicit VariableSlotBase(std::string name) : _name(std::move(name)) {}
    virtual ~VariableSlotBase();

    // The constant's text as the editor shows it.
    virtual std::string ConstValueToString() const;
    // The constant, held as a variable of the slot's kind.
    virtual const VariableBase& GetConstVariableBase() const = 0;
    // Whether the slot is of that core slot class.
    virtual bool IsOfType(const std::type_info& type) const = 0;
    // Takes name, flags, constant and binding of a slot of the same class; false for any other.
    virtual bool CopyStateFrom(const VariableSlotBase& source) = 0;

    const std::string& GetName() const { return _name; }
    void SetName(std::string name) { _name = std::move(name); }

    // Select-only slots are outputs (read back from whoever ran the node); insert-only slots
    // only take a value in. Setting either flag clears the other.
    bool GetIsSelectOnly() const { return _selectOnly; }
    bool GetIsInsertOnly() const { return _insertOnly; }
    void SetIsSelectOnly(bool selectOnly);
    void SetIsInsertOnly(bool insertOnly);

    // The bound variable's value text while it lives, else the constant's.
    std::string GetValueText() const;
    // Null unbinds. A variable of another kind is refused with a report; the binding stays.
    bool Bind(VariableBase* variable);
    VariableBase* GetVariable() const { return _variable.Get(); }

    // Whether the constant or the bound variable is that entity.
    bool RefersTo(const ScenarioSupport& entity) const;

protected:
    virtual bool AcceptsVariable(const VariableBase& variable) const = 0;
    void CopyNameFlagsAndBinding(const VariableSlotBase& source);

private:
    std::string _name;
    WeakRef<VariableBase> _variable;
    bool _selectOnly = false;
    bool _insertOnly = false;
};

}  // namespace Core
