#include "RecordFields.h"

using nlohmann::json;

namespace RecordFields {

const json& Field(const json& object, const char* key) {
    static const json kNothing;
    if (!object.is_object()) return kNothing;
    const auto found = object.find(key);
    return found == object.end() ? kNothing : *found;
}

const json& List(const json& value) {
    static const json kEmpty = json::array();
    return value.is_array() ? value : kEmpty;
}

std::string Text(const json& value) {
    if (value.is_string()) return value.get<std::string>();
    if (value.is_null()) return "";
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

size_t Index(const json& value, size_t fallback) {
    if (value.is_number_unsigned()) return value.get<size_t>();
    if (value.is_number_integer() && value.get<long long>() >= 0) return static_cast<size_t>(value.get<long long>());
    return fallback;
}

}  // namespace RecordFields
