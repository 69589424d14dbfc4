#pragma once
// The software device's pixel work: a colour and a depth buffer, and lines and triangles
// already in screen space.
#include <vector>

#include "storyloom/host/d3d9/d3d9types.h"

struct Colour {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 0.0f;
};

// x and y in pixels from the top left corner, z the depth from 0 (near) to 1 (far).
struct ScreenVertex {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    Colour colour;
};

// The render states that decide what a fragment does to a pixel.
struct PixelState {
    bool depthTest = true;
    bool depthWrite = true;
    bool blend = false;
    DWORD sourceBlend = D3DBLEND_ONE;
    DWORD destinationBlend = D3DBLEND_ZERO;
    DWORD cull = D3DCULL_CCW;
};

Colour ToColour(D3DCOLOR argb);
D3DCOLOR ToD3DColor(const Colour& colour);

class Rasterizer {
public:
    Rasterizer(int width, int height);

    int GetWidth() const { return _width; }
    int GetHeight() const { return _height; }
    // ARGB; 0 outside the buffer.
    D3DCOLOR GetPixel(int x, int y) const;
    const std::vector<D3DCOLOR>& GetPixels() const { return _colour; }

    void ClearColour(D3DCOLOR colour);
    void ClearDepth(float z);
    // Colour interpolated from a to b; only the part inside the buffer is walked.
    void DrawLine(const ScreenVertex& a, const ScreenVertex& b, const PixelState& state);
    // One colour over the whole triangle; culled by its winding on screen.
    void DrawTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c, const Colour& colour,
                      const PixelState& state);

private:
    void Plot(int x, int y, float z, const Colour& colour, const PixelState& state);

    int _width;
    int _height;
    std::vector<D3DCOLOR> _colour;
    std::vector<float> _depth;
};
