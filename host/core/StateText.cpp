#include "storyloom/host/core/StateText.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace Core {

namespace {

bool NeedsEncoding(unsigned char c) { return c <= ' ' || c >= 0x7F || std::strchr("%<>\"&", c) != nullptr; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string EncodeStateField(const std::string& text) {
    std::string field;
    AppendEncodedStateField(field, text);
    return field;
}

void AppendEncodedStateField(std::string& field, const std::string& text) {
    static const char digits[] = "0123456789ABCDEF";
    for (unsigned char c : text) {
        if (NeedsEncoding(c)) {
            field += '%';
            field += digits[c >> 4];
            field += digits[c & 0xF];
        } else {
            field += static_cast<char>(c);
        }
    }
}

bool DecodeStateField(const std::string& field, std::string& text) {
    std::string decoded;
    for (size_t i = 0; i < field.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(field[i]);
        if (c != '%') {
            if (NeedsEncoding(c)) return false;
            decoded += static_cast<char>(c);
            continue;
        }
        if (i + 2 >= field.size()) return false;
        int high = HexDigit(field[i + 1]), low = HexDigit(field[i + 2]);
        if (high < 0 || low < 0) return false;
        decoded += static_cast<char>(high * 16 + low);
        i += 2;
    }
    text = decoded;
    return true;
}

std::string JoinStateFields(const std::vector<std::string>& fields) {
    std::string record;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i) record += ' ';
        record += fields[i];
    }
    return record;
}

std::vector<std::string> SplitStateFields(const std::string& record) {
    std::vector<std::string> fields(1);
    for (char c : record) {
        if (c == ' ')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

std::string FormatStateFloat(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

std::string FormatStateUnsigned(unsigned value) { return std::to_string(value); }

bool ParseStateFloat(const std::string& text, float& value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    float parsed = std::strtof(text.c_str(), &end);
    if (end != text.c_str() + text.size()) return false;
    value = parsed;
    return true;
}

bool ParseStateUnsigned(const std::string& text, unsigned& value) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    unsigned long long parsed = std::strtoull(text.c_str(), nullptr, 10);
    if (parsed > 0xFFFFFFFFull) return false;
    value = static_cast<unsigned>(parsed);
    return true;
}

}  // namespace Core
