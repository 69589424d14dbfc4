#pragma once
#include <string>

#include <nlohmann/json.hpp>

// A run record read as it comes: any key may be missing, null or of another type.
namespace RecordFields {

// The value at `key`; null when `object` is no object or has none.
const nlohmann::json& Field(const nlohmann::json& object, const char* key);
// `value` when it is an array; an empty one otherwise.
const nlohmann::json& List(const nlohmann::json& value);
// A string as it is, null as nothing, a whole number without a fraction, anything else as
// compact JSON.
std::string Text(const nlohmann::json& value);
// A whole number from 0 as an index; `fallback` for anything else.
size_t Index(const nlohmann::json& value, size_t fallback);

}  // namespace RecordFields
