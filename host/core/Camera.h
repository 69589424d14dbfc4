#pragma once
#include "storyloom/coreframework/Ray.h"
#include "storyloom/coreframework/VelmMathLib.h"
#include "storyloom/host/d3d9/d3d9.h"
#include "storyloom/host/core/RefSupport.h"

namespace Core {

// A perspective camera looking from eye at target, y up, over a viewport of width x height
// pixels.
class Camera : public RefSupport {
public:
    Camera(VelmMathLib::Vec3 eye, VelmMathLib::Vec3 target, float fovYRadians, int width, int height);

    // The ray from the eye through pixel (x, y), pixels counted from the top left corner, and
    // that pixel. False, with a report, for a camera that cannot see (eye on target, no
    // viewport, a field of view outside (0, pi)) or a non-finite position; the outputs are
    // then untouched.
    bool GetPickRay(float x, float y, CoreFramework::Ray& ray, VelmMathLib::Vec3i& pixel) const;

    // The transforms a device draws with to show what this camera sees, left-handed as
    // Direct3D's: a point drawn with them lands on the pixel whose pick ray passes through it.
    D3DXMATRIX GetViewMatrix() const;
    D3DXMATRIX GetProjectionMatrix() const;
    // Sets both on the device; the device's answer.
    HRESULT SetDeviceTransforms(IDirect3DDevice9& device) const;
    static constexpr float NearPlane = 0.1f;
    static constexpr float FarPlane = 1000.0f;

    const VelmMathLib::Vec3& GetEye() const { return _eye; }
    const VelmMathLib::Vec3& GetTarget() const { return _target; }
    float GetFovY() const { return _fovY; }
    int GetWidth() const { return _width; }
    int GetHeight() const { return _height; }

private:
    // Looking straight up or down, y cannot be the up direction; z takes its place.
    VelmMathLib::Vec3 WorldUp(const VelmMathLib::Vec3& forward) const;

    VelmMathLib::Vec3 _eye;
    VelmMathLib::Vec3 _target;
    float _fovY;
    int _width;
    int _height;
};

}  // namespace Core
