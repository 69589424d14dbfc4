#include "storyloom/host/d3d9/SoftwareDevice.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

void Cross(const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

float Length(const float v[3]) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

Colour FromValue(const D3DCOLORVALUE& value) { return {value.r, value.g, value.b, value.a}; }

UINT VerticesPer(D3DPRIMITIVETYPE type) { return type == D3DPT_LINELIST ? 2 : 3; }

}  // namespace

SoftwareDevice::SoftwareDevice(int width, int height) : _raster(width, height) { SetDefaultStates(); }

void SoftwareDevice::SetDefaultStates() {
    _renderStates = {{D3DRS_ZENABLE, 1},         {D3DRS_ZWRITEENABLE, 1},       {D3DRS_SRCBLEND, D3DBLEND_ONE},
                     {D3DRS_DESTBLEND, D3DBLEND_ZERO}, {D3DRS_CULLMODE, D3DCULL_CCW}, {D3DRS_ALPHABLENDENABLE, 0},
                     {D3DRS_LIGHTING, 1}};
    for (DWORD stage = 0; stage < TextureStages; ++stage)
        _stageStates[stage] = {{D3DTSS_COLOROP, stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE},
                               {D3DTSS_COLORARG1, D3DTA_TEXTURE},
                               {D3DTSS_COLORARG2, D3DTA_CURRENT},
                               {D3DTSS_ALPHAOP, stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE},
                               {D3DTSS_ALPHAARG1, D3DTA_TEXTURE},
                               {D3DTSS_ALPHAARG2, D3DTA_CURRENT}};
    _world = _view = _projection = _worldView = _worldViewProjection = D3DMATRIX();
    _material = D3DMATERIAL9();
    _fvf = 0;
}

void SoftwareDevice::ClearRecords() {
    _stateChanges.clear();
    _drawCalls.clear();
}

void SoftwareDevice::Record(StateKind kind, DWORD stage, DWORD type, DWORD value) {
    _stateChanges.push_back({kind, stage, type, value, _drawCalls.size()});
}

HRESULT SoftwareDevice::TestCooperativeLevel() { return _lost ? D3DERR_DEVICENOTRESET : D3D_OK; }

HRESULT SoftwareDevice::Reset(D3DPRESENT_PARAMETERS* parameters) {
    if (!parameters) return D3DERR_INVALIDCALL;
    int width = parameters->BackBufferWidth ? int(parameters->BackBufferWidth) : GetWidth();
    int height = parameters->BackBufferHeight ? int(parameters->BackBufferHeight) : GetHeight();
    _raster = Rasterizer(width, height);
    SetDefaultStates();
    _lost = false;
    return D3D_OK;
}

HRESULT SoftwareDevice::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD) {
    if (count != 0 || rects || !(z >= 0.0f && z <= 1.0f)) return D3DERR_INVALIDCALL;
    if (_lost) return D3D_OK;
    if (flags & D3DCLEAR_TARGET) _raster.ClearColour(color);
    if (flags & D3DCLEAR_ZBUFFER) _raster.ClearDepth(z);
    return D3D_OK;
}

HRESULT SoftwareDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    D3DMATRIX* target = state == D3DTS_WORLD ? &_world
                        : state == D3DTS_VIEW ? &_view
                        : state == D3DTS_PROJECTION ? &_projection
                                                    : nullptr;
    if (!target || !matrix) return D3DERR_INVALIDCALL;
    *target = *matrix;
    D3DXMatrixMultiply(&_worldView, &_world, &_view);
    D3DXMatrixMultiply(&_worldViewProjection, &_worldView, &_projection);
    Record(StateKind::Transform, 0, state, 0);
    return D3D_OK;
}

HRESULT SoftwareDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    const D3DMATRIX* source = state == D3DTS_WORLD ? &_world
                              : state == D3DTS_VIEW ? &_view
                              : state == D3DTS_PROJECTION ? &_projection
                                                          : nullptr;
    if (!source || !matrix) return D3DERR_INVALIDCALL;
    *matrix = *source;
    return D3D_OK;
}

HRESULT SoftwareDevice::SetMaterial(const D3DMATERIAL9* material) {
    if (!material) return D3DERR_INVALIDCALL;
    _material = *material;
    Record(StateKind::Material, 0, 0, 0);
    return D3D_OK;
}

HRESULT SoftwareDevice::GetMaterial(D3DMATERIAL9* material) {
    if (!material) return D3DERR_INVALIDCALL;
    *material = _material;
    return D3D_OK;
}

HRESULT SoftwareDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    _renderStates[state] = value;
    Record(StateKind::RenderState, 0, state, value);
    return D3D_OK;
}

HRESULT SoftwareDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    if (!value) return D3DERR_INVALIDCALL;
    *value = RenderState(state);
    return D3D_OK;
}

DWORD SoftwareDevice::RenderState(D3DRENDERSTATETYPE state) const {
    auto found = _renderStates.find(state);
    return found == _renderStates.end() ? 0 : found->second;
}

HRESULT SoftwareDevice::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
    if (stage >= TextureStages || texture) return D3DERR_INVALIDCALL;
    Record(StateKind::Texture, stage, 0, 0);
    return D3D_OK;
}

HRESULT SoftwareDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    if (stage >= TextureStages) return D3DERR_INVALIDCALL;
    _stageStates[stage][type] = value;
    Record(StateKind::TextureStageState, stage, type, value);
    return D3D_OK;
}

HRESULT SoftwareDevice::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
    if (stage >= TextureStages || !value) return D3DERR_INVALIDCALL;
    auto found = _stageStates[stage].find(type);
    *value = found == _stageStates[stage].end() ? 0 : found->second;
    return D3D_OK;
}

HRESULT SoftwareDevice::SetFVF(DWORD fvf) {
    _fvf = fvf;
    Record(StateKind::FVF, 0, 0, fvf);
    return D3D_OK;
}

HRESULT SoftwareDevice::GetFVF(DWORD* fvf) {
    if (!fvf) return D3DERR_INVALIDCALL;
    *fvf = _fvf;
    return D3D_OK;
}

PixelState SoftwareDevice::CurrentPixelState() const {
    PixelState state;
    state.depthTest = RenderState(D3DRS_ZENABLE) != 0;
    state.depthWrite = RenderState(D3DRS_ZWRITEENABLE) != 0;
    state.blend = RenderState(D3DRS_ALPHABLENDENABLE) != 0;
    state.sourceBlend = RenderState(D3DRS_SRCBLEND);
    state.destinationBlend = RenderState(D3DRS_DESTBLEND);
    state.cull = RenderState(D3DRS_CULLMODE);
    return state;
}

HRESULT SoftwareDevice::BeginDraw(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData,
                                  UINT vertexStride, bool indexed, bool& rasterise) {
    bool supported = type == D3DPT_LINELIST || type == D3DPT_TRIANGLELIST;
    if (!supported || !vertexData || !(_fvf & D3DFVF_XYZ) || vertexStride < 3 * sizeof(float))
        return D3DERR_INVALIDCALL;
    _drawCalls.push_back({type, primitiveCount, vertexStride, indexed, _fvf, _world, _material,
                          RenderState(D3DRS_LIGHTING), RenderState(D3DRS_ALPHABLENDENABLE)});
    rasterise = !_lost && primitiveCount > 0;
    return D3D_OK;
}

SoftwareDevice::Transformed SoftwareDevice::TransformVertex(const unsigned char* vertex) const {
    float p[3];
    std::memcpy(p, vertex, sizeof(p));
    Transformed out{};
    for (int col = 0; col < 4; ++col) {
        const auto& m = _worldViewProjection.m;
        out.clip[col] = p[0] * m[0][col] + p[1] * m[1][col] + p[2] * m[2][col] + m[3][col];
        if (col < 3) {
            const auto& v = _worldView.m;
            out.view[col] = p[0] * v[0][col] + p[1] * v[1][col] + p[2] * v[2][col] + v[3][col];
        }
    }
    const float w = out.clip[3];
    out.visible = std::isfinite(out.clip[0]) && std::isfinite(out.clip[1]) && std::isfinite(out.clip[2]) &&
                  w > 1e-6f && std::isfinite(w) && out.clip[2] >= 0.0f && out.clip[2] <= w;
    if (RenderState(D3DRS_LIGHTING)) {
        out.colour = FromValue(_material.Emissive);
        out.colour.a = _material.Diffuse.a;
    } else if (_fvf & D3DFVF_DIFFUSE) {
        D3DCOLOR diffuse;
        std::memcpy(&diffuse, vertex + ((_fvf & D3DFVF_NORMAL) ? 24 : 12), sizeof(diffuse));
        out.colour = ToColour(diffuse);
    } else {
        out.colour = {1.0f, 1.0f, 1.0f, 1.0f};
    }
    return out;
}

void SoftwareDevice::DrawPrimitive(D3DPRIMITIVETYPE type, const Transformed* const corners[3]) {
    const UINT count = VerticesPer(type);
    ScreenVertex screen[3];
    for (UINT i = 0; i < count; ++i) {
        if (!corners[i]->visible) return;
        const float* clip = corners[i]->clip;
        screen[i] = {(clip[0] / clip[3] * 0.5f + 0.5f) * GetWidth(), (0.5f - clip[1] / clip[3] * 0.5f) * GetHeight(),
                     clip[2] / clip[3], corners[i]->colour};
        if (!std::isfinite(screen[i].x) || !std::isfinite(screen[i].y)) return;  // too close to the eye's plane
    }
    const PixelState state = CurrentPixelState();
    if (type == D3DPT_LINELIST) {
        _raster.DrawLine(screen[0], screen[1], state);
        return;
    }
    Colour colour = screen[0].colour;
    if (RenderState(D3DRS_LIGHTING)) {
        // Flat lighting from the eye, which sits at the view space origin.
        float u[3], v[3], normal[3], toEye[3];
        for (int k = 0; k < 3; ++k) {
            u[k] = corners[1]->view[k] - corners[0]->view[k];
            v[k] = corners[2]->view[k] - corners[0]->view[k];
            toEye[k] = -(corners[0]->view[k] + corners[1]->view[k] + corners[2]->view[k]) / 3.0f;
        }
        Cross(u, v, normal);
        float lengths = Length(normal) * Length(toEye);
        float facing = lengths > 0.0f ? (normal[0] * toEye[0] + normal[1] * toEye[1] + normal[2] * toEye[2]) / lengths : 0.0f;
        facing = std::max(facing, 0.0f);
        colour.r += _material.Diffuse.r * facing;
        colour.g += _material.Diffuse.g * facing;
        colour.b += _material.Diffuse.b * facing;
    }
    _raster.DrawTriangle(screen[0], screen[1], screen[2], colour, state);
}

HRESULT SoftwareDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData,
                                        UINT vertexStride) {
    bool rasterise = false;
    HRESULT result = BeginDraw(type, primitiveCount, vertexData, vertexStride, false, rasterise);
    if (FAILED(result) || !rasterise) return result;
    const auto* bytes = static_cast<const unsigned char*>(vertexData);
    const UINT per = VerticesPer(type);
    for (UINT primitive = 0; primitive < primitiveCount; ++primitive) {
        Transformed transformed[3];
        const Transformed* corners[3];
        for (UINT i = 0; i < per; ++i) {
            transformed[i] = TransformVertex(bytes + std::size_t(primitive * per + i) * vertexStride);
            corners[i] = &transformed[i];
        }
        DrawPrimitive(type, corners);
    }
    return D3D_OK;
}

HRESULT SoftwareDevice::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minVertexIndex, UINT vertexCount,
                                               UINT primitiveCount, const void* indexData, D3DFORMAT indexFormat,
                                               const void* vertexData, UINT vertexStride) {
    if (!indexData || (indexFormat != D3DFMT_INDEX16 && indexFormat != D3DFMT_INDEX32)) return D3DERR_INVALIDCALL;
    bool rasterise = false;
    HRESULT result = BeginDraw(type, primitiveCount, vertexData, vertexStride, true, rasterise);
    if (FAILED(result) || !rasterise) return result;
    const auto* bytes = static_cast<const unsigned char*>(vertexData);
    _scratch.resize(vertexCount);
    for (UINT i = 0; i < vertexCount; ++i)
        _scratch[i] = TransformVertex(bytes + std::size_t(minVertexIndex + i) * vertexStride);
    const UINT per = VerticesPer(type);
    for (UINT primitive = 0; primitive < primitiveCount; ++primitive) {
        const Transformed* corners[3];
        bool inRange = true;
        for (UINT i = 0; i < per; ++i) {
            std::size_t at = std::size_t(primitive) * per + i;
            UINT index = indexFormat == D3DFMT_INDEX16 ? static_cast<const std::uint16_t*>(indexData)[at]
                                                       : static_cast<const std::uint32_t*>(indexData)[at];
            inRange = inRange && index >= minVertexIndex && index - minVertexIndex < vertexCount;
            corners[i] = inRange ? &_scratch[index - minVertexIndex] : nullptr;
        }
        if (inRange) DrawPrimitive(type, corners);
    }
    return D3D_OK;
}

bool SoftwareDevice::SavePng(const std::string& path) const {
    if (path.empty() || GetWidth() == 0 || GetHeight() == 0) return false;
    std::vector<unsigned char> rgba;
    rgba.reserve(_raster.GetPixels().size() * 4);
    for (D3DCOLOR pixel : _raster.GetPixels())
        rgba.insert(rgba.end(), {static_cast<unsigned char>(pixel >> 16), static_cast<unsigned char>(pixel >> 8),
                                 static_cast<unsigned char>(pixel), static_cast<unsigned char>(pixel >> 24)});
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(GetWidth());
    image.height = static_cast<png_uint_32>(GetHeight());
    image.format = PNG_FORMAT_RGBA;
    const std::string partial = path + ".part";
    bool written = png_image_write_to_file(&image, partial.c_str(), 0, rgba.data(), 0, nullptr) != 0;
    png_image_free(&image);
    if (written && std::rename(partial.c_str(), path.c_str()) == 0) return true;
    std::remove(partial.c_str());
    return false;
}
