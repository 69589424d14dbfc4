#pragma once
#include <string>

#include "storyloom/coreframework/VelmMathLib.h"

namespace Core {

// A value of a named enumeration type (or string-list type): the type and the value's index.
struct EnumValue {
    std::string type;
    unsigned index = 0;
};

// A mission objective: the line shown in lists and its full description.
struct Objective {
    std::string shortText, longText;
};

// How each value type of TVariable is named, shown and kept in the state text.
template <class T>
struct VariableValueTraits;

#define CORE_VARIABLE_VALUE_TRAITS(T)                                \
    template <>                                                      \
    struct VariableValueTraits<T> {                                  \
        static const char* const Kind;                               \
        static std::string Display(const T& value);                  \
        static std::string Export(const T& value);                   \
        static bool Import(const std::string& text, T& value);       \
    };
CORE_VARIABLE_VALUE_TRAITS(float)
CORE_VARIABLE_VALUE_TRAITS(VelmMathLib::Vec3)
CORE_VARIABLE_VALUE_TRAITS(std::string)
CORE_VARIABLE_VALUE_TRAITS(EnumValue)
CORE_VARIABLE_VALUE_TRAITS(Objective)
#undef CORE_VARIABLE_VALUE_TRAITS

}  // namespace Core
