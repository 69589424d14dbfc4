#pragma once
#include <gtest/gtest.h>

#include <cstdint>

#include "d3d9/ReadPng.h"
#include "storyloom/host/core/Camera.h"

// Where a world point lands in the camera's viewport, through the camera's own matrices.
inline VelmMathLib::Vec2 Project(const Core::Camera& camera, const VelmMathLib::Vec3& point) {
    D3DXMATRIX view = camera.GetViewMatrix(), projection = camera.GetProjectionMatrix(), both;
    D3DXMatrixMultiply(&both, &view, &projection);
    D3DXVECTOR3 world(point.x, point.y, point.z), ndc;
    D3DXVec3TransformCoord(&ndc, &world, &both);
    return {(ndc.x + 1.0f) * 0.5f * camera.GetWidth(), (1.0f - ndc.y) * 0.5f * camera.GetHeight()};
}

// One 8-bit channel of an ARGB pixel; `shift` is 16 for red, 8 for green, 0 for blue.
inline int ColourChannel(std::uint32_t argb, int shift) { return int((argb >> shift) & 0xFF); }

// A sphere drawn in a pure colour shows at the pixel where its centre projects: the channel
// its colour lights is bright, the one it leaves out stays below `darkBelow`.
inline void ExpectColourAt(const PngPicture& picture, const Core::Camera& camera, const VelmMathLib::Vec3& centre,
                           int bright, int dark, int darkBelow) {
    VelmMathLib::Vec2 at = Project(camera, centre);
    std::uint32_t pixel = picture.At(unsigned(at.x), unsigned(at.y));
    SCOPED_TRACE(testing::Message() << "pixel " << at.x << "," << at.y << " is " << std::hex << pixel);
    EXPECT_GT(ColourChannel(pixel, bright), 200);
    EXPECT_LT(ColourChannel(pixel, dark), darkBelow);
}
