#pragma once
#include <string>

#include <nlohmann/json.hpp>

// Reading graph descriptions: whole files and JSON text, never throwing.
namespace JsonText {

// Deeper nesting than any graph needs; bounded so hostile text cannot exhaust the stack.
constexpr unsigned kMaxDepth = 64;

// False with "PATH: reason" in `error` when the file cannot be read.
bool ReadFile(const std::string& path, std::string& text, std::string& error);

// False with "SOURCE:LINE:COLUMN: reason" in `error` for a syntax error or too deep nesting.
bool Parse(const std::string& text, const std::string& source, nlohmann::json& out, std::string& error);

// The list at `key` of an object, by reference; an empty list where there is none. What
// `value(key, json::array())` answers, without copying a graph's channels or steps.
const nlohmann::json& ListAt(const nlohmann::json& object, const char* key);

// JSON paths as problems name them: "$.channels[2].links".
inline std::string Key(const std::string& path, const std::string& key) { return path + "." + key; }
inline std::string At(const std::string& path, size_t index) { return path + "[" + std::to_string(index) + "]"; }

// A value's type as problem lines name it: "a number", "string", "array", ...
const char* TypeName(const nlohmann::json& value);
// A number as problem and failure lines show it ("%g").
std::string Number(double value);

}  // namespace JsonText
