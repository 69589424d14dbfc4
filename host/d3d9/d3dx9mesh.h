#pragma once
// Triangle meshes of the Direct3D 9 extension library: made on a device, drawn through it.
#include "storyloom/host/d3d9/d3d9.h"

class ID3DXBuffer;

// Vertices are a position and a normal (D3DFVF_XYZ | D3DFVF_NORMAL), indices 16 bits, and
// every face is in subset 0. Reference counted: the last Release frees it. A mesh must be
// released before the device it was made on.
class ID3DXMesh {
public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    // Draws the faces of subset `attribute` as one indexed triangle list; other subsets are empty.
    virtual HRESULT DrawSubset(DWORD attribute) = 0;
    virtual DWORD GetNumFaces() = 0;
    virtual DWORD GetNumVertices() = 0;
    virtual DWORD GetFVF() = 0;
    virtual DWORD GetNumBytesPerVertex() = 0;
    virtual HRESULT GetDevice(IDirect3DDevice9** device) = 0;
    virtual HRESULT LockVertexBuffer(DWORD flags, void** data) = 0;
    virtual HRESULT UnlockVertexBuffer() = 0;
    virtual HRESULT LockIndexBuffer(DWORD flags, void** data) = 0;
    virtual HRESULT UnlockIndexBuffer() = 0;

protected:
    virtual ~ID3DXMesh() = default;
};

typedef ID3DXMesh* LPD3DXMESH;
typedef ID3DXBuffer* LPD3DXBUFFER;

// A sphere around the origin, its poles on the z axis. No adjacency is produced: a given
// adjacency pointer is set to null. D3DERR_INVALIDCALL for a null device or output, a negative
// radius, fewer than 2 slices or stacks, or more vertices than 16-bit indices reach;
// D3DERR_OUTOFVIDEOMEMORY when the device has less memory available than the mesh needs.
HRESULT D3DXCreateSphere(LPDIRECT3DDEVICE9 device, float radius, UINT slices, UINT stacks, LPD3DXMESH* mesh,
                         LPD3DXBUFFER* adjacency);

// A cylinder along the z axis, centred on the origin: radius1 at z = -length / 2, radius2 at
// z = +length / 2, closed by a cap at each end of non-zero radius. A radius of 0 makes a cone.
// Fails as D3DXCreateSphere does, and for a negative length.
HRESULT D3DXCreateCylinder(LPDIRECT3DDEVICE9 device, float radius1, float radius2, float length, UINT slices,
                           UINT stacks, LPD3DXMESH* mesh, LPD3DXBUFFER* adjacency);
