#pragma once
#include "host/core/Camera.h"

// Where a world point lands in the camera's viewport, through the camera's own matrices.
inline VelmMathLib::Vec2 Project(const Core::Camera& camera, const VelmMathLib::Vec3& point) {
    D3DXMATRIX view = camera.GetViewMatrix(), projection = camera.GetProjectionMatrix(), both;
    D3DXMatrixMultiply(&both, &view, &projection);
    D3DXVECTOR3 world(point.x, point.y, point.z), ndc;
    D3DXVec3TransformCoord(&ndc, &world, &both);
    return {(ndc.x + 1.0f) * 0.5f * camera.GetWidth(), (1.0f - ndc.y) * 0.5f * camera.GetHeight()};
}
