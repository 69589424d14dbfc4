#include "JsonText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "DumpFolder.h"

namespace JsonText {
namespace {

std::string Where(const std::string& text, const std::string& source, size_t offset) {
    size_t line = 1, column = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return source + ":" + std::to_string(line) + ":" + std::to_string(column) + ": ";
}

// The offset of the first bracket past kMaxDepth, or npos. Strings are skipped so that
// brackets inside texts do not count.
size_t FindTooDeep(const std::string& text) {
    unsigned depth = 0;
    bool inString = false, escaped = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (inString) {
            if (escaped) escaped = false;
            else if (c == '\\') escaped = true;
            else if (c == '"') inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxDepth) return i;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return std::string::npos;
}

// nlohmann's message without its "[json.exception...] parse error at line L, column C: " head.
std::string Reason(const char* what) {
    std::string message = what;
    size_t column = message.find("column ");
    size_t colon = column == std::string::npos ? std::string::npos : message.find(": ", column);
    return colon == std::string::npos ? message : message.substr(colon + 2);
}

}  // namespace

bool ReadFile(const std::string& path, std::string& text, std::string& error) {
    const std::string named = DumpFolder::CallerPath(path);
    std::error_code ignored;
    if (std::filesystem::is_directory(named, ignored)) {
        error = path + ": cannot be read (a directory)";
        return false;
    }
    std::ifstream file(named, std::ios::binary);
    if (!file) {
        error = path + ": cannot be read (" + std::strerror(errno) + ")";
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad()) {
        error = path + ": cannot be read";
        return false;
    }
    text = content.str();
    return true;
}

bool Parse(const std::string& text, const std::string& source, nlohmann::json& out, std::string& error) {
    size_t tooDeep = FindTooDeep(text);
    if (tooDeep != std::string::npos) {
        error = Where(text, source, tooDeep) + "nested deeper than " + std::to_string(kMaxDepth) + " levels";
        return false;
    }
    try {
        out = nlohmann::json::parse(text);
        return true;
    } catch (const nlohmann::json::parse_error& e) {
        // The byte count is one past the offending character.
        error = Where(text, source, e.byte > 0 ? e.byte - 1 : 0) + Reason(e.what());
    } catch (const std::exception& e) {
        error = source + ": " + e.what();
    }
    return false;
}

const nlohmann::json& ListAt(const nlohmann::json& object, const char* key) {
    static const nlohmann::json empty = nlohmann::json::array();
    auto found = object.find(key);
    return found == object.end() ? empty : *found;
}

const char* TypeName(const nlohmann::json& value) {
    if (value.is_number()) return "a number";
    return value.type_name();
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

}  // namespace JsonText
