#include "host/core/Camera.h"

#include <cmath>

#include "host/core/ErrorLog.h"
#include "host/core/VectorMath.h"

namespace Core {

using VelmMathLib::Vec3;

namespace {
// The pixel a position falls in, kept inside int range for positions far off screen.
int ToPixel(float position) { return static_cast<int>(std::floor(std::fmax(-1e9f, std::fmin(1e9f, position)))); }
}  // namespace

Camera::Camera(Vec3 eye, Vec3 target, float fovYRadians, int width, int height)
    : _eye(eye), _target(target), _fovY(fovYRadians), _width(width), _height(height) {}

bool Camera::GetPickRay(float x, float y, CoreFramework::Ray& ray, VelmMathLib::Vec3i& pixel) const {
    Vec3 forward = Normalized(_target - _eye);
    bool canSee = _width > 0 && _height > 0 && _fovY > 0.0f && _fovY < 3.14159265f && IsFinite(forward) &&
                  Length(forward) > 0.0f;
    if (!canSee || !std::isfinite(x) || !std::isfinite(y)) {
        ERRLOG("Camera::GetPickRay: the camera cannot see that position");
        return false;
    }
    // Looking straight up or down, y cannot be the up direction; z takes its place.
    Vec3 worldUp = std::fabs(forward.y) > 0.999f ? Vec3(0.0f, 0.0f, 1.0f) : Vec3(0.0f, 1.0f, 0.0f);
    Vec3 right = Normalized(Cross(worldUp, forward));
    Vec3 up = Cross(forward, right);
    float halfHeight = std::tan(_fovY * 0.5f);
    float halfWidth = halfHeight * static_cast<float>(_width) / static_cast<float>(_height);
    float ndcX = 2.0f * x / static_cast<float>(_width) - 1.0f;
    float ndcY = 1.0f - 2.0f * y / static_cast<float>(_height);
    ray.origin = _eye;
    ray.direction = Normalized(forward + right * (ndcX * halfWidth) + up * (ndcY * halfHeight));
    pixel.x = ToPixel(x);
    pixel.y = ToPixel(y);
    pixel.z = 0;
    return true;
}

}  // namespace Core
