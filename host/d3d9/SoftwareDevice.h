#pragma once
#include <array>
#include <string>
#include <unordered_map>
#include <vector>

#include "storyloom/host/d3d9/Rasterizer.h"
#include "storyloom/host/d3d9/d3d9.h"

// A Direct3D 9 device without hardware: it keeps every state change and draw call it
// receives, for tests to read, and rasterises line lists and triangle lists into a colour
// buffer with depth test, culling and alpha blending.
//
// Shading: with lighting off a vertex has its own diffuse colour (white without one); with
// lighting on a triangle is flat-lit by one light at the eye: the material's emissive colour
// plus its diffuse colour times the cosine towards the eye, alpha the diffuse alpha (lit lines
// take the emissive colour). Texture stage states are kept but change nothing, as no texture
// exists. Primitives reaching behind the near plane or past the far plane are dropped.
class SoftwareDevice : public IDirect3DDevice9 {
public:
    SoftwareDevice(int width, int height);

    enum class StateKind { Transform, RenderState, TextureStageState, Texture, FVF, Material };
    struct StateChange {
        StateKind kind;
        DWORD stage;   // texture stage; 0 for the others
        DWORD type;    // transform, render state or texture stage state
        DWORD value;   // the value set; for a texture, 0 for none
        std::size_t drawsBefore;  // how many draw calls came before it
    };
    struct DrawCall {
        D3DPRIMITIVETYPE type;
        UINT primitiveCount;
        UINT vertexStride;
        bool indexed;
        DWORD fvf;
        D3DMATRIX world;
        D3DMATERIAL9 material;
        DWORD lighting;
        DWORD alphaBlend;
    };
    const std::vector<StateChange>& GetStateChanges() const { return _stateChanges; }
    const std::vector<DrawCall>& GetDrawCalls() const { return _drawCalls; }
    void ClearRecords();

    int GetWidth() const { return _raster.GetWidth(); }
    int GetHeight() const { return _raster.GetHeight(); }
    // ARGB of pixel (x, y) counted from the top left; 0 outside.
    D3DCOLOR GetPixel(int x, int y) const { return _raster.GetPixel(x, y); }
    // Writes the colour buffer as an RGBA PNG. The file appears whole or not at all: it is
    // written beside the target and renamed. False when it cannot be written.
    bool SavePng(const std::string& path) const;

    // What happens when the device's window loses the screen: drawing stops until Reset.
    void LoseDevice() { _lost = true; }
    bool IsLost() const { return _lost; }
    // What GetAvailableTextureMem answers; a mesh larger than this cannot be made.
    void SetAvailableTextureMem(UINT bytes) { _availableTextureMem = bytes; }

    HRESULT TestCooperativeLevel() override;
    // Back to the default states and a cleared buffer, of the given size (0 keeps a side).
    HRESULT Reset(D3DPRESENT_PARAMETERS* parameters) override;
    UINT GetAvailableTextureMem() override { return _availableTextureMem; }
    // Clears the whole buffer; rectangles are not supported.
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT SetMaterial(const D3DMATERIAL9* material) override;
    HRESULT GetMaterial(D3DMATERIAL9* material) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
    HRESULT SetFVF(DWORD fvf) override;
    HRESULT GetFVF(DWORD* fvf) override;
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData,
                            UINT vertexStride) override;
    HRESULT DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minVertexIndex, UINT vertexCount,
                                   UINT primitiveCount, const void* indexData, D3DFORMAT indexFormat,
                                   const void* vertexData, UINT vertexStride) override;

    static constexpr DWORD TextureStages = 8;

private:
    struct Transformed {
        bool visible;
        float clip[4];
        float view[3];
        Colour colour;
    };

    void SetDefaultStates();
    void Record(StateKind kind, DWORD stage, DWORD type, DWORD value);
    DWORD RenderState(D3DRENDERSTATETYPE state) const;
    PixelState CurrentPixelState() const;
    // Common checks of the draw calls; false when the call is refused or draws nothing.
    HRESULT BeginDraw(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData, UINT vertexStride,
                      bool indexed, bool& rasterise);
    Transformed TransformVertex(const unsigned char* vertex) const;
    void DrawPrimitive(D3DPRIMITIVETYPE type, const Transformed* const corners[3]);

    Rasterizer _raster;
    std::unordered_map<DWORD, DWORD> _renderStates;
    std::array<std::unordered_map<DWORD, DWORD>, TextureStages> _stageStates;
    D3DMATRIX _world, _view, _projection, _worldViewProjection, _worldView;
    D3DMATERIAL9 _material;
    DWORD _fvf = 0;
    bool _lost = false;
    UINT _availableTextureMem = 256u << 20;
    std::vector<StateChange> _stateChanges;
    std::vector<DrawCall> _drawCalls;
    std::vector<Transformed> _scratch;  // the vertices of the indexed draw in progress
};
