#include "storyloom/coreframework/serializer/ChunkText.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void AppendFloat(std::string& out, float value, int precision) {
    double v = value;
    int length = precision < 0 ? std::snprintf(nullptr, 0, "%g", v)
                               : std::snprintf(nullptr, 0, "%.*f", precision, v);
    if (length <= 0) return;
    std::size_t at = out.size();
    out.resize(at + length + 1);
    if (precision < 0)
        std::snprintf(&out[at], length + 1, "%g", v);
    else
        std::snprintf(&out[at], length + 1, "%.*f", precision, v);
    out.resize(at + length);
}

// Components are written one by one, each followed by a blank, and the last blank dropped.
std::string FloatsText(const float* values, int count, int precision) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        AppendFloat(text, values[i], precision);
        text += ' ';
    }
    if (!text.empty()) text.pop_back();
    return text;
}

int Filled(int scanned) { return scanned < 0 ? 0 : scanned; }

// Whole numbers are read as "%d" and "%u" read them, defined where the C reader is not: the
// number is taken as a 64-bit one (held at the 64-bit bounds when it is bigger) and its low 32
// bits are the value, the result the C library here gives. A leading minus wraps an unsigned
// number around.
std::uint32_t LowWord(std::uint64_t number) { return static_cast<std::uint32_t>(number & 0xFFFFFFFFu); }

int ToInt(std::uint32_t word) {
    return word <= INT_MAX ? static_cast<int>(word) : -static_cast<int>(~word) - 1;
}

// Up to `count` numbers, as "%d %d ..." reads them; answers how many were filled.
int ReadInts(const std::string& text, int* values, int count) {
    const char* at = text.c_str();
    for (int i = 0; i < count; ++i) {
        char* end = nullptr;
        const long long number = std::strtoll(at, &end, 10);
        if (end == at) return i;
        values[i] = ToInt(LowWord(static_cast<std::uint64_t>(number)));
        at = end;
    }
    return count;
}

}  // namespace

std::string ChunkValueText(float value, int precision) { return FloatsText(&value, 1, precision); }

std::string ChunkValueText(int value, int) { return std::to_string(value); }

std::string ChunkValueText(unsigned int value, int) { return std::to_string(value); }

std::string ChunkValueText(bool value, int) { return value ? "true" : "false"; }

std::string ChunkValueText(const std::string& value, int) { return value; }

std::string ChunkValueText(const VelmMathLib::Vec2& value, int precision) {
    const float v[] = {value.x, value.y};
    return FloatsText(v, 2, precision);
}

std::string ChunkValueText(const VelmMathLib::Vec2i& value, int) {
    return std::to_string(value.x) + ' ' + std::to_string(value.y);
}

std::string ChunkValueText(const VelmMathLib::Vec3& value, int precision) {
    const float v[] = {value.x, value.y, value.z};
    return FloatsText(v, 3, precision);
}

std::string ChunkValueText(const VelmMathLib::Vec3i& value, int) {
    return std::to_string(value.x) + ' ' + std::to_string(value.y) + ' ' + std::to_string(value.z);
}

std::string ChunkValueText(const VelmMathLib::Vec4& value, int precision) {
    const float v[] = {value.x, value.y, value.z, value.w};
    return FloatsText(v, 4, precision);
}

std::string ChunkValueText(const VelmMathLib::Matrix& value, int precision) {
    return FloatsText(value.m, 16, precision);
}

int ReadChunkValue(const std::string& text, float& value) {
    value = 0.0f;
    return Filled(std::sscanf(text.c_str(), "%g", &value));
}

int ReadChunkValue(const std::string& text, int& value) {
    value = 0;
    return ReadInts(text, &value, 1);
}

int ReadChunkValue(const std::string& text, unsigned int& value) {
    const char* at = text.c_str();
    char* end = nullptr;
    const unsigned long long number = std::strtoull(at, &end, 10);
    value = end == at ? 0u : LowWord(number);
    return end == at ? 0 : 1;
}

int ReadChunkValue(const std::string& text, bool& value) {
    std::string lower = text;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (lower == "true" || lower == "yes" || lower == "enabled") {
        value = true;
        return 1;
    }
    int number = 0;
    const int filled = ReadInts(lower, &number, 1);
    value = number > 0;
    return filled;
}

int ReadChunkValue(const std::string& text, std::string& value) {
    value = text;
    return 1;
}

int ReadChunkValue(const std::string& text, VelmMathLib::Vec2& value) {
    value = {};
    return Filled(std::sscanf(text.c_str(), "%g %g", &value.x, &value.y));
}

int ReadChunkValue(const std::string& text, VelmMathLib::Vec2i& value) {
    int read[2] = {};
    const int filled = ReadInts(text, read, 2);
    value = {read[0], read[1]};
    return filled;
}

int ReadChunkValue(const std::string& text, VelmMathLib::Vec3& value) {
    value = {};
    return Filled(std::sscanf(text.c_str(), "%g %g %g", &value.x, &value.y, &value.z));
}

int ReadChunkValue(const std::string& text, VelmMathLib::Vec3i& value) {
    int read[3] = {};
    const int filled = ReadInts(text, read, 3);
    value = {read[0], read[1], read[2]};
    return filled;
}

int ReadChunkValue(const std::string& text, VelmMathLib::Vec4& value) {
    value = {};
    return Filled(std::sscanf(text.c_str(), "%g %g %g %g", &value.x, &value.y, &value.z, &value.w));
}

int ReadChunkValue(const std::string& text, VelmMathLib::Matrix& value) {
    float* m = value.m;
    for (int i = 0; i < 16; ++i) m[i] = 0.0f;
    return Filled(std::sscanf(text.c_str(), "%g %g %g %g %g %g %g %g %g %g %g %g %g %g %g %g",
                              &m[0], &m[1], &m[2], &m[3], &m[4], &m[5], &m[6], &m[7], &m[8],
                              &m[9], &m[10], &m[11], &m[12], &m[13], &m[14], &m[15]));
}

void WriteChunkBits(BitStream& stream, const std::string& value) {
    WriteChunkBits(stream, static_cast<std::uint32_t>(value.size()));
    for (char c : value) stream.WriteByte(static_cast<std::uint8_t>(c));
}

void ReadChunkBits(BitStream& stream, std::string& value) {
    std::uint32_t length = 0;
    ReadChunkBits(stream, length);
    if (stream.HasFailed()) return;
    if (!stream.CanRead(std::size_t{8} * length)) {
        stream.SetFailed();
        return;
    }
    std::string text(length, '\0');
    for (char& c : text) c = static_cast<char>(stream.ReadByte());
    value = std::move(text);
}

void ReadChunkBits(BitStream& stream, bool& value) {
    if (!stream.CanRead(8)) {
        stream.SetFailed();
        return;
    }
    value = stream.ReadByte() != 0;
}
