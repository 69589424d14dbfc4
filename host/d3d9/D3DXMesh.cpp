#include <atomic>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

#include "storyloom/host/d3d9/d3dx9mesh.h"

namespace {

struct MeshVertex {
    D3DXVECTOR3 position;
    D3DXVECTOR3 normal;
};
static_assert(sizeof(MeshVertex) == 24, "position and normal");

constexpr DWORD meshFVF = D3DFVF_XYZ | D3DFVF_NORMAL;
constexpr float pi = 3.14159265358979f;

class Mesh : public ID3DXMesh {
public:
    Mesh(IDirect3DDevice9* device, std::vector<MeshVertex> vertices, std::vector<std::uint16_t> indices)
        : _device(device), _vertices(std::move(vertices)), _indices(std::move(indices)) {}

    ULONG AddRef() override { return ++_references; }
    ULONG Release() override {
        ULONG left = --_references;
        if (left == 0) delete this;
        return left;
    }
    HRESULT DrawSubset(DWORD attribute) override {
        if (!_device) return D3DERR_INVALIDCALL;
        if (attribute != 0 || _indices.empty()) return D3D_OK;
        HRESULT result = _device->SetFVF(meshFVF);
        if (FAILED(result)) return result;
        return _device->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, GetNumVertices(), GetNumFaces(),
                                               _indices.data(), D3DFMT_INDEX16, _vertices.data(),
                                               sizeof(MeshVertex));
    }
    DWORD GetNumFaces() override { return static_cast<DWORD>(_indices.size() / 3); }
    DWORD GetNumVertices() override { return static_cast<DWORD>(_vertices.size()); }
    DWORD GetFVF() override { return meshFVF; }
    DWORD GetNumBytesPerVertex() override { return sizeof(MeshVertex); }
    HRESULT GetDevice(IDirect3DDevice9** device) override {
        if (!device) return D3DERR_INVALIDCALL;
        *device = _device;
        return D3D_OK;
    }
    HRESULT LockVertexBuffer(DWORD, void** data) override { return Lock(_vertices.data(), data); }
    HRESULT UnlockVertexBuffer() override { return D3D_OK; }
    HRESULT LockIndexBuffer(DWORD, void** data) override { return Lock(_indices.data(), data); }
    HRESULT UnlockIndexBuffer() override { return D3D_OK; }

private:
    static HRESULT Lock(void* storage, void** data) {
        if (!data) return D3DERR_INVALIDCALL;
        *data = storage;
        return D3D_OK;
    }

    IDirect3DDevice9* _device;
    std::vector<MeshVertex> _vertices;
    std::vector<std::uint16_t> _indices;
    std::atomic<ULONG> _references{1};
};

// Builds vertices and faces; faces are turned so that they are clockwise seen from outside,
// the side Direct3D's default culling keeps.
class MeshBuilder {
public:
    std::uint16_t AddVertex(D3DXVECTOR3 position, D3DXVECTOR3 normal) {
        _vertices.push_back({position, normal});
        return static_cast<std::uint16_t>(_vertices.size() - 1);
    }
    void AddFace(std::uint16_t a, std::uint16_t b, std::uint16_t c, D3DXVECTOR3 outward) {
        const D3DXVECTOR3 &pa = _vertices[a].position, &pb = _vertices[b].position, &pc = _vertices[c].position;
        D3DXVECTOR3 u(pb.x - pa.x, pb.y - pa.y, pb.z - pa.z), v(pc.x - pa.x, pc.y - pa.y, pc.z - pa.z);
        D3DXVECTOR3 n(u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x);
        float facing = n.x * outward.x + n.y * outward.y + n.z * outward.z;
        if (facing == 0.0f) return;  // collapsed at a cone's tip: nothing to draw
        _indices.insert(_indices.end(), {a, facing > 0.0f ? b : c, facing > 0.0f ? c : b});
    }
    HRESULT Finish(IDirect3DDevice9* device, LPD3DXMESH* mesh) {
        std::size_t bytes = _vertices.size() * sizeof(MeshVertex) + _indices.size() * sizeof(std::uint16_t);
        if (bytes > device->GetAvailableTextureMem()) return D3DERR_OUTOFVIDEOMEMORY;
        Mesh* made = new (std::nothrow) Mesh(device, std::move(_vertices), std::move(_indices));
        if (!made) return E_OUTOFMEMORY;
        *mesh = made;
        return D3D_OK;
    }

private:
    std::vector<MeshVertex> _vertices;
    std::vector<std::uint16_t> _indices;
};

D3DXVECTOR3 Ring(float angle, float radius, float z) {
    return {radius * std::cos(angle), radius * std::sin(angle), z};
}

bool ValidShape(IDirect3DDevice9* device, LPD3DXMESH* mesh, UINT slices, UINT stacks, std::size_t vertexCount) {
    return device && mesh && slices >= 2 && stacks >= 2 && slices <= 0xFFFF && stacks <= 0xFFFF &&
           vertexCount <= 0xFFFF;
}

}  // namespace

HRESULT D3DXCreateSphere(LPDIRECT3DDEVICE9 device, float radius, UINT slices, UINT stacks, LPD3DXMESH* mesh,
                         LPD3DXBUFFER* adjacency) {
    if (adjacency) *adjacency = nullptr;
    std::size_t vertexCount = std::size_t(slices) * (stacks - 1) + 2;
    if (!ValidShape(device, mesh, slices, stacks, vertexCount) || !(radius >= 0.0f)) return D3DERR_INVALIDCALL;
    MeshBuilder builder;
    std::uint16_t top = builder.AddVertex({0, 0, radius}, {0, 0, 1});
    for (UINT stack = 1; stack < stacks; ++stack) {
        float polar = pi * stack / stacks;
        for (UINT slice = 0; slice < slices; ++slice) {
            D3DXVECTOR3 normal = Ring(2.0f * pi * slice / slices, std::sin(polar), std::cos(polar));
            builder.AddVertex({normal.x * radius, normal.y * radius, normal.z * radius}, normal);
        }
    }
    std::uint16_t bottom = builder.AddVertex({0, 0, -radius}, {0, 0, -1});
    auto at = [slices](UINT ring, UINT slice) { return static_cast<std::uint16_t>(1 + ring * slices + slice % slices); };
    const D3DXVECTOR3 up(0, 0, 1), down(0, 0, -1);
    for (UINT slice = 0; slice < slices; ++slice) {
        builder.AddFace(top, at(0, slice), at(0, slice + 1), up);
        builder.AddFace(bottom, at(stacks - 2, slice), at(stacks - 2, slice + 1), down);
        for (UINT ring = 0; ring + 1 < stacks - 1; ++ring) {
            float middle = 2.0f * pi * (slice + 0.5f) / slices, polar = pi * (ring + 1.5f) / stacks;
            D3DXVECTOR3 outward = Ring(middle, std::sin(polar), std::cos(polar));
            builder.AddFace(at(ring, slice), at(ring + 1, slice), at(ring + 1, slice + 1), outward);
            builder.AddFace(at(ring, slice), at(ring + 1, slice + 1), at(ring, slice + 1), outward);
        }
    }
    return builder.Finish(device, mesh);
}

HRESULT D3DXCreateCylinder(LPDIRECT3DDEVICE9 device, float radius1, float radius2, float length, UINT slices,
                           UINT stacks, LPD3DXMESH* mesh, LPD3DXBUFFER* adjacency) {
    if (adjacency) *adjacency = nullptr;
    std::size_t vertexCount = std::size_t(slices + 1) * (stacks + 1) + 2 * std::size_t(slices + 1);
    if (!ValidShape(device, mesh, slices, stacks, vertexCount) || !(radius1 >= 0.0f) || !(radius2 >= 0.0f) ||
        !(length >= 0.0f))
        return D3DERR_INVALIDCALL;
    MeshBuilder builder;
    // The side's normal leans towards the narrower end by the slope of the side.
    float slope = length > 0.0f ? (radius1 - radius2) / length : 0.0f;
    std::vector<std::uint16_t> side;
    for (UINT stack = 0; stack <= stacks; ++stack) {
        float t = float(stack) / stacks;
        float z = -0.5f * length + t * length, radius = radius1 + t * (radius2 - radius1);
        for (UINT slice = 0; slice < slices; ++slice) {
            float angle = 2.0f * pi * slice / slices;
            D3DXVECTOR3 around = Ring(angle, 1.0f, 0.0f);
            float scale = 1.0f / std::sqrt(1.0f + slope * slope);
            side.push_back(builder.AddVertex(Ring(angle, radius, z),
                                             {around.x * scale, around.y * scale, slope * scale}));
        }
    }
    auto at = [&side, slices](UINT stack, UINT slice) { return side[stack * slices + slice % slices]; };
    for (UINT stack = 0; stack < stacks; ++stack)
        for (UINT slice = 0; slice < slices; ++slice) {
            D3DXVECTOR3 outward = Ring(2.0f * pi * (slice + 0.5f) / slices, 1.0f, 0.0f);
            builder.AddFace(at(stack, slice), at(stack + 1, slice), at(stack + 1, slice + 1), outward);
            builder.AddFace(at(stack, slice), at(stack + 1, slice + 1), at(stack, slice + 1), outward);
        }
    const float capRadius[2] = {radius1, radius2};
    for (int end = 0; end < 2; ++end) {
        if (capRadius[end] == 0.0f) continue;
        float z = end == 0 ? -0.5f * length : 0.5f * length;
        D3DXVECTOR3 outward(0, 0, end == 0 ? -1.0f : 1.0f);
        std::uint16_t centre = builder.AddVertex({0, 0, z}, outward);
        std::uint16_t first = builder.AddVertex(Ring(0, capRadius[end], z), outward);
        std::uint16_t previous = first;
        for (UINT slice = 1; slice <= slices; ++slice) {
            std::uint16_t next =
                slice == slices ? first : builder.AddVertex(Ring(2.0f * pi * slice / slices, capRadius[end], z), outward);
            builder.AddFace(centre, previous, next, outward);
            previous = next;
        }
    }
    return builder.Finish(device, mesh);
}
