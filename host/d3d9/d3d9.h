#pragma once
// The part of the Direct3D 9 device interface that the debug renderer and the meshes call.
#include "storyloom/host/d3d9/d3d9types.h"

// No texture exists in the stand-in; SetTexture takes only null.
class IDirect3DBaseTexture9;

class IDirect3DDevice9 {
public:
    virtual ~IDirect3DDevice9() = default;

    // D3D_OK while usable; D3DERR_DEVICENOTRESET after a loss, until Reset.
    virtual HRESULT TestCooperativeLevel() = 0;
    virtual HRESULT Reset(D3DPRESENT_PARAMETERS* parameters) = 0;
    virtual UINT GetAvailableTextureMem() = 0;

    virtual HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                          DWORD stencil) = 0;
    virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) = 0;
    virtual HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) = 0;
    virtual HRESULT SetMaterial(const D3DMATERIAL9* material) = 0;
    virtual HRESULT GetMaterial(D3DMATERIAL9* material) = 0;
    virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
    virtual HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) = 0;
    virtual HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) = 0;
    virtual HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) = 0;
    virtual HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) = 0;
    virtual HRESULT SetFVF(DWORD fvf) = 0;
    virtual HRESULT GetFVF(DWORD* fvf) = 0;

    // Vertices and indices are read from the caller's memory during the call.
    virtual HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData,
                                    UINT vertexStride) = 0;
    virtual HRESULT DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minVertexIndex, UINT vertexCount,
                                           UINT primitiveCount, const void* indexData, D3DFORMAT indexFormat,
                                           const void* vertexData, UINT vertexStride) = 0;
};

typedef IDirect3DDevice9* LPDIRECT3DDEVICE9;
