#pragma once
#include <cstring>
#include <string>
#include <type_traits>

#include "storyloom/coreframework/VelmMathLib.h"
#include "storyloom/coreframework/serializer/BitStream.h"

// The per-type parts of a data chunk: type names, written and read texts, byte-wise
// comparison and bit-stream form. A precision below 0 selects the shortest form ("%g").

template <class U>
struct ChunkTypeNames;

#define STORYLOOM_CHUNK_TYPE(type, suffix)                                 \
    template <>                                                            \
    struct ChunkTypeNames<type> {                                          \
        static constexpr const char* value = "DataChunk" #suffix;          \
        static constexpr const char* pointer = "DataChunk" #suffix "Ptr";  \
    };
STORYLOOM_CHUNK_TYPE(float, Float)
STORYLOOM_CHUNK_TYPE(int, Int)
STORYLOOM_CHUNK_TYPE(unsigned int, SizeT)
STORYLOOM_CHUNK_TYPE(bool, Bool)
STORYLOOM_CHUNK_TYPE(std::string, String)
STORYLOOM_CHUNK_TYPE(VelmMathLib::Vec2, Vec2)
STORYLOOM_CHUNK_TYPE(VelmMathLib::Vec2i, Vec2i)
STORYLOOM_CHUNK_TYPE(VelmMathLib::Vec3, Vec3)
STORYLOOM_CHUNK_TYPE(VelmMathLib::Vec3i, Vec3i)
STORYLOOM_CHUNK_TYPE(VelmMathLib::Vec4, Vec4)
STORYLOOM_CHUNK_TYPE(VelmMathLib::Matrix, Matrix)
#undef STORYLOOM_CHUNK_TYPE

std::string ChunkValueText(float value, int precision);
std::string ChunkValueText(int value, int precision);
std::string ChunkValueText(unsigned int value, int precision);
std::string ChunkValueText(bool value, int precision);
std::string ChunkValueText(const std::string& value, int precision);
std::string ChunkValueText(const VelmMathLib::Vec2& value, int precision);
std::string ChunkValueText(const VelmMathLib::Vec2i& value, int precision);
std::string ChunkValueText(const VelmMathLib::Vec3& value, int precision);
std::string ChunkValueText(const VelmMathLib::Vec3i& value, int precision);
std::string ChunkValueText(const VelmMathLib::Vec4& value, int precision);
std::string ChunkValueText(const VelmMathLib::Matrix& value, int precision);

// Each reader starts from zero values and answers how many fields it filled. A whole number
// too big for its type keeps its low 32 bits, as the C reader gives it.
int ReadChunkValue(const std::string& text, float& value);
int ReadChunkValue(const std::string& text, int& value);
int ReadChunkValue(const std::string& text, unsigned int& value);
int ReadChunkValue(const std::string& text, bool& value);
int ReadChunkValue(const std::string& text, std::string& value);
int ReadChunkValue(const std::string& text, VelmMathLib::Vec2& value);
int ReadChunkValue(const std::string& text, VelmMathLib::Vec2i& value);
int ReadChunkValue(const std::string& text, VelmMathLib::Vec3& value);
int ReadChunkValue(const std::string& text, VelmMathLib::Vec3i& value);
int ReadChunkValue(const std::string& text, VelmMathLib::Vec4& value);
int ReadChunkValue(const std::string& text, VelmMathLib::Matrix& value);

// Numbers and records compare byte for byte, so -0.0 differs from 0.0.
template <class U>
bool ChunkValueEquals(const U& a, const U& b) {
    static_assert(std::is_trivially_copyable<U>::value, "byte-wise comparison");
    return std::memcmp(&a, &b, sizeof(U)) == 0;
}
inline bool ChunkValueEquals(const std::string& a, const std::string& b) { return a == b; }

// The value's bytes in memory order; a text goes as its 32-bit length and its characters.
template <class U>
void WriteChunkBits(BitStream& stream, const U& value) {
    static_assert(std::is_trivially_copyable<U>::value, "memory order");
    unsigned char bytes[sizeof(U)];
    std::memcpy(bytes, &value, sizeof(U));
    for (unsigned char byte : bytes) stream.WriteByte(byte);
}
void WriteChunkBits(BitStream& stream, const std::string& value);

// Leaves the value unchanged and fails the stream when it runs out.
template <class U>
void ReadChunkBits(BitStream& stream, U& value) {
    static_assert(std::is_trivially_copyable<U>::value, "memory order");
    if (!stream.CanRead(8 * sizeof(U))) {
        stream.SetFailed();
        return;
    }
    unsigned char bytes[sizeof(U)];
    for (unsigned char& byte : bytes) byte = stream.ReadByte();
    std::memcpy(&value, bytes, sizeof(U));
}
void ReadChunkBits(BitStream& stream, std::string& value);
void ReadChunkBits(BitStream& stream, bool& value);  // any non-zero byte is true
