#include "storyloom/host/core/VariableValues.h"

#include "storyloom/host/core/EnumVarSupport.h"
#include "storyloom/host/core/StateText.h"
#include "storyloom/host/core/StringListVarSupport.h"
#include "storyloom/host/core/TextFormat.h"

namespace Core {

using VelmMathLib::Vec3;

const char* const VariableValueTraits<float>::Kind = "float";
std::string VariableValueTraits<float>::Display(const float& value) { return FormatString("%g", value); }
std::string VariableValueTraits<float>::Export(const float& value) { return FormatStateFloat(value); }
bool VariableValueTraits<float>::Import(const std::string& text, float& value) { return ParseStateFloat(text, value); }

const char* const VariableValueTraits<Vec3>::Kind = "vec3";
std::string VariableValueTraits<Vec3>::Display(const Vec3& value) {
    return FormatString("%g %g %g", value.x, value.y, value.z);
}
std::string VariableValueTraits<Vec3>::Export(const Vec3& value) {
    return JoinStateFields({FormatStateFloat(value.x), FormatStateFloat(value.y), FormatStateFloat(value.z)});
}
bool VariableValueTraits<Vec3>::Import(const std::string& text, Vec3& value) {
    std::vector<std::string> fields = SplitStateFields(text);
    Vec3 read;
    if (fields.size() != 3 || !ParseStateFloat(fields[0], read.x) || !ParseStateFloat(fields[1], read.y) ||
        !ParseStateFloat(fields[2], read.z))
        return false;
    value = read;
    return true;
}

const char* const VariableValueTraits<std::string>::Kind = "string";
std::string VariableValueTraits<std::string>::Display(const std::string& value) { return value; }
std::string VariableValueTraits<std::string>::Export(const std::string& value) { return EncodeStateField(value); }
bool VariableValueTraits<std::string>::Import(const std::string& text, std::string& value) {
    return DecodeStateField(text, value);
}

// Shown by the value's name when its type is registered and the index names a value.
const char* const VariableValueTraits<EnumValue>::Kind = "enum";
std::string VariableValueTraits<EnumValue>::Display(const EnumValue& value) {
    const std::vector<std::string>& names = EnumVarSupport::IsTypeSupported(value.type)
                                                ? EnumVarSupport::GetValueNames(value.type)
                                                : StringListVarSupport::GetList(value.type);
    return value.index < names.size() ? names[value.index] : FormatString("%u", value.index);
}
std::string VariableValueTraits<EnumValue>::Export(const EnumValue& value) {
    return JoinStateFields({EncodeStateField(value.type), FormatString("%u", value.index)});
}
bool VariableValueTraits<EnumValue>::Import(const std::string& text, EnumValue& value) {
    std::vector<std::string> fields = SplitStateFields(text);
    EnumValue read;
    if (fields.size() != 2 || !DecodeStateField(fields[0], read.type) || !ParseStateUnsigned(fields[1], read.index))
        return false;
    value = read;
    return true;
}

const char* const VariableValueTraits<Objective>::Kind = "objective";
std::string VariableValueTraits<Objective>::Display(const Objective& value) { return value.shortText; }
std::string VariableValueTraits<Objective>::Export(const Objective& value) {
    return JoinStateFields({EncodeStateField(value.shortText), EncodeStateField(value.longText)});
}
bool VariableValueTraits<Objective>::Import(const std::string& text, Objective& value) {
    std::vector<std::string> fields = SplitStateFields(text);
    Objective read;
    if (fields.size() != 2 || !DecodeStateField(fields[0], read.shortText) ||
        !DecodeStateField(fields[1], read.longText))
        return false;
    value = read;
    return true;
}

}  // namespace Core
