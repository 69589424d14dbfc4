#pragma once
// Plain math records shared by the framework, the core and the channels.

namespace VelmMathLib {

struct Vec2 { float x = 0.0f, y = 0.0f; };
struct Vec2i { int x = 0, y = 0; };
struct Vec3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    Vec3() = default;
    Vec3(float vx, float vy, float vz) : x(vx), y(vy), z(vz) {}
    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec3 operator*(float s) const { return {x * s, y * s, z * s}; }
    float Dot(const Vec3& o) const { return x * o.x + y * o.y + z * o.z; }
    bool operator==(const Vec3& o) const { return x == o.x && y == o.y && z == o.z; }
};
struct Vec3i { int x = 0, y = 0, z = 0; };
struct Vec4 { float x = 0.0f, y = 0.0f, z = 0.0f, w = 0.0f; };
struct Matrix { float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; };

}  // namespace VelmMathLib
