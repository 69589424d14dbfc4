#include "storyloom/host/core/Camera.h"

#include <cmath>

#include "storyloom/host/core/ErrorLog.h"
#include "storyloom/host/core/VectorMath.h"

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
    Vec3 right = Normalized(Cross(WorldUp(forward), forward));
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

Vec3 Camera::WorldUp(const Vec3& forward) const {
    return std::fabs(forward.y) > 0.999f ? Vec3(0.0f, 0.0f, 1.0f) : Vec3(0.0f, 1.0f, 0.0f);
}

D3DXMATRIX Camera::GetViewMatrix() const {
    Vec3 up = WorldUp(Normalized(_target - _eye));
    D3DXVECTOR3 eye(_eye.x, _eye.y, _eye.z), at(_target.x, _target.y, _target.z), upVector(up.x, up.y, up.z);
    D3DXMATRIX view;
    D3DXMatrixLookAtLH(&view, &eye, &at, &upVector);
    return view;
}

D3DXMATRIX Camera::GetProjectionMatrix() const {
    float aspect = _height > 0 ? static_cast<float>(_width) / static_cast<float>(_height) : 1.0f;
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, _fovY, aspect, NearPlane, FarPlane);
    return projection;
}

HRESULT Camera::SetDeviceTransforms(IDirect3DDevice9& device) const {
    const D3DXMATRIX view = GetViewMatrix(), projection = GetProjectionMatrix();
    HRESULT result = device.SetTransform(D3DTS_VIEW, &view);
    return FAILED(result) ? result : device.SetTransform(D3DTS_PROJECTION, &projection);
}

}  // namespace Core
