#include "RecordFields.h"

#include <cmath>

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
    // Statuses are floats: 105, not 105.0.
    if (value.is_number_float()) {
        const double number = value.get<double>();
        if (std::trunc(number) == number && std::fabs(number) < 1e15) return std::to_string(static_cast<long long>(number));
    }
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

size_t Index(const json& value, size_t fallback) {
    if (value.is_number_unsigned()) return value.get<size_t>();
    if (value.is_number_integer() && value.get<long long>() >= 0) return static_cast<size_t>(value.get<long long>());
    return fallback;
}

}  // namespace RecordFields
