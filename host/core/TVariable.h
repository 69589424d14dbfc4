#pragma once
#include <string>

#include "storyloom/host/core/VariableBase.h"
#include "storyloom/host/core/VariableValues.h"

namespace Core {

// A variable holding one value of type T; a new variable holds T's default value.
template <class T>
class TVariable : public VariableBase {
public:
    using ValueType = T;

    explicit TVariable(std::string name, T value = T()) : VariableBase(std::move(name)), _value(std::move(value)) {}

    const T& GetValue() const { return _value; }
    void SetValue(const T& value) { _value = value; }

    const char* GetKindName() const override { return VariableValueTraits<T>::Kind; }
    std::string GetValueText() const override { return VariableValueTraits<T>::Display(_value); }
    std::string ExportValue() const override { return VariableValueTraits<T>::Export(_value); }
    bool ImportValue(const std::string& text) override { return VariableValueTraits<T>::Import(text, _value); }
    bool CopyValueFrom(const VariableBase& other) override {
        const auto* same = dynamic_cast<const TVariable*>(&other);
        if (same) _value = same->_value;
        return same != nullptr;
    }

private:
    T _value;
};

extern template class TVariable<float>;
extern template class TVariable<VelmMathLib::Vec3>;
extern template class TVariable<std::string>;
extern template class TVariable<EnumValue>;
extern template class TVariable<Objective>;

}  // namespace Core
