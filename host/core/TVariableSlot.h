#pragma once
#include "storyloom/host/core/EntityVar.h"
#include "storyloom/host/core/EnumVar.h"
#include "storyloom/host/core/ObjectiveVar.h"
#include "storyloom/host/core/StringVar.h"
#include "storyloom/host/core/VariableSlotBase.h"

namespace Core {

// A slot for variables of class V (TVariable<float>, StringVar, ...): its value is the bound
// variable's while that lives, else the constant's.
template <class V>
class TVariableSlot : public VariableSlotBase {
public:
    using ValueType = typename V::ValueType;

    explicit TVariableSlot(std::string name = std::string()) : VariableSlotBase(name), _constant(name) {}

    void SetConstValue(const ValueType& value) { _constant.SetValue(value); }
    const V& GetConstVariable() const { return _constant; }
    V* GetBoundVariable() const { return dynamic_cast<V*>(GetVariable()); }
    ValueType GetValue() const {
        V* bound = GetBoundVariable();
        return bound ? bound->GetValue() : _constant.GetValue();
    }

    const VariableBase& GetConstVariableBase() const override { return _constant; }
    bool IsOfType(const std::type_info& type) const override { return type == typeid(TVariableSlot); }
    bool CopyStateFrom(const VariableSlotBase& source) override {
        const auto* same = dynamic_cast<const TVariableSlot*>(&source);
        if (!same) return false;
        CopyNameFlagsAndBinding(source);
        _constant.CopyValueFrom(same->_constant);
        return true;
    }

protected:
    TVariableSlot(std::string name, V constant) : VariableSlotBase(std::move(name)), _constant(std::move(constant)) {}
    bool AcceptsVariable(const VariableBase& variable) const override {
        return dynamic_cast<const V*>(&variable) != nullptr;
    }

private:
    V _constant;
};

extern template class TVariableSlot<TVariable<float>>;
extern template class TVariableSlot<TVariable<VelmMathLib::Vec3>>;
extern template class TVariableSlot<StringVar>;
extern template class TVariableSlot<ObjectiveVar>;
extern template class TVariableSlot<EnumVar>;

// A slot for an entity of the scenario it was made for.
class EntityVarSlot : public TVariableSlot<EntityVar> {
public:
    EntityVarSlot(Scenario& scenario, std::string name)
        : TVariableSlot(name, EntityVar(name, scenario)) {}
    bool IsOfType(const std::type_info& type) const override {
        return type == typeid(EntityVarSlot) || TVariableSlot::IsOfType(type);
    }
};

// A slot for a value of one enumeration or string-list type; the constant starts at index 0.
class EnumVarSlot : public TVariableSlot<EnumVar> {
public:
    EnumVarSlot(std::string name, std::string enumType)
        : TVariableSlot(name, EnumVar(name, EnumValue{std::move(enumType), 0})) {}
    const std::string& GetEnumType() const { return GetConstVariable().GetValue().type; }
    bool IsOfType(const std::type_info& type) const override {
        return type == typeid(EnumVarSlot) || TVariableSlot::IsOfType(type);
    }
};

}  // namespace Core
