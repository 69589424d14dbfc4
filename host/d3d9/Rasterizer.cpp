#include "storyloom/host/d3d9/Rasterizer.h"

#include <algorithm>
#include <cmath>

namespace {

float Channel(D3DCOLOR argb, int shift) { return float((argb >> shift) & 0xFFu) / 255.0f; }

unsigned Byte(float value) { return unsigned(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f)); }

float BlendFactor(DWORD blend, float sourceAlpha) {
    switch (blend) {
        case D3DBLEND_ZERO: return 0.0f;
        case D3DBLEND_SRCALPHA: return sourceAlpha;
        case D3DBLEND_INVSRCALPHA: return 1.0f - sourceAlpha;
        default: return 1.0f;
    }
}

Colour Mix(const Colour& a, const Colour& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

// Pixel bounds of a coordinate range, kept inside [0, limit).
void Span(float low, float high, int limit, int& first, int& last) {
    first = int(std::floor(std::clamp(low, 0.0f, float(limit))));
    last = int(std::ceil(std::clamp(high, 0.0f, float(limit)))) - 1;
}

}  // namespace

Colour ToColour(D3DCOLOR argb) { return {Channel(argb, 16), Channel(argb, 8), Channel(argb, 0), Channel(argb, 24)}; }

D3DCOLOR ToD3DColor(const Colour& colour) {
    return D3DCOLOR_ARGB(Byte(colour.a), Byte(colour.r), Byte(colour.g), Byte(colour.b));
}

Rasterizer::Rasterizer(int width, int height)
    : _width(std::max(width, 0)), _height(std::max(height, 0)),
      _colour(std::size_t(_width) * _height, 0), _depth(std::size_t(_width) * _height, 1.0f) {}

D3DCOLOR Rasterizer::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= _width || y >= _height) return 0;
    return _colour[std::size_t(y) * _width + x];
}

void Rasterizer::ClearColour(D3DCOLOR colour) { std::fill(_colour.begin(), _colour.end(), colour); }

void Rasterizer::ClearDepth(float z) { std::fill(_depth.begin(), _depth.end(), z); }

void Rasterizer::Plot(int x, int y, float z, const Colour& colour, const PixelState& state) {
    std::size_t at = std::size_t(y) * _width + x;
    if (state.depthTest && z > _depth[at]) return;
    if (state.depthWrite) _depth[at] = z;
    if (!state.blend) {
        _colour[at] = ToD3DColor(colour);
        return;
    }
    Colour under = ToColour(_colour[at]);
    float s = BlendFactor(state.sourceBlend, colour.a), d = BlendFactor(state.destinationBlend, colour.a);
    _colour[at] = ToD3DColor({colour.r * s + under.r * d, colour.g * s + under.g * d, colour.b * s + under.b * d,
                              colour.a * s + under.a * d});
}

void Rasterizer::DrawLine(const ScreenVertex& a, const ScreenVertex& b, const PixelState& state) {
    // Cut the line to the buffer first, so a line reaching far off screen costs no more than
    // the pixels it covers; in double, so that the cut keeps its precision for such lines.
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    double enter = 0.0, leave = 1.0;
    const double edges[4][2] = {{-dx, a.x}, {dx, _width - double(a.x)}, {-dy, a.y}, {dy, _height - double(a.y)}};
    for (const auto& edge : edges) {
        if (edge[0] == 0.0) {
            if (edge[1] < 0.0) return;
            continue;
        }
        double t = edge[1] / edge[0];
        if (edge[0] < 0.0) enter = std::max(enter, t);
        else leave = std::min(leave, t);
    }
    if (enter > leave) return;
    // One pixel per step along the longer axis, so that no pixel is blended twice.
    const bool alongX = std::fabs(dx) >= std::fabs(dy);
    const double origin = alongX ? a.x : a.y, major = alongX ? dx : dy;
    const int limit = alongX ? _width : _height;
    const double from = origin + major * enter, to = origin + major * leave;
    const int first = std::max(0, int(std::floor(std::min(from, to))));
    const int last = std::min(limit - 1, int(std::floor(std::max(from, to))));
    for (int p = first; p <= last; ++p) {
        double t = major != 0.0 ? std::clamp((p + 0.5 - origin) / major, enter, leave) : 0.0;
        int x = int(std::floor(a.x + dx * t)), y = int(std::floor(a.y + dy * t));
        if (x < 0 || y < 0 || x >= _width || y >= _height) continue;
        Plot(x, y, float(a.z + (b.z - a.z) * t), Mix(a.colour, b.colour, float(t)), state);
    }
}

void Rasterizer::DrawTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                              const Colour& colour, const PixelState& state) {
    // Positive area: clockwise on screen, the front side in Direct3D's default convention.
    float area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    if (area == 0.0f || (state.cull == D3DCULL_CCW && area < 0.0f) || (state.cull == D3DCULL_CW && area > 0.0f))
        return;
    int x0, x1, y0, y1;
    Span(std::min({a.x, b.x, c.x}), std::max({a.x, b.x, c.x}), _width, x0, x1);
    Span(std::min({a.y, b.y, c.y}), std::max({a.y, b.y, c.y}), _height, y0, y1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            float px = x + 0.5f, py = y + 0.5f;
            float wa = ((b.x - px) * (c.y - py) - (b.y - py) * (c.x - px)) / area;
            float wb = ((c.x - px) * (a.y - py) - (c.y - py) * (a.x - px)) / area;
            float wc = 1.0f - wa - wb;
            if (wa < 0.0f || wb < 0.0f || wc < 0.0f) continue;
            Plot(x, y, wa * a.z + wb * b.z + wc * c.z, colour, state);
        }
}
