#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>

#include "storyloom/host/d3d9/SoftwareDevice.h"
#include "storyloom/host/d3d9/d3dx9mesh.h"

namespace {

struct Vertex {
    D3DXVECTOR3 position, normal;
};

// A sphere of radius 2 (length 0 below) and cylinders whose side radius runs from radius1 at
// -length/2 to radius2 at +length/2; the first cylinder is the cone the debug renderer uses.
// Every edge (by position) is used once in each direction: the surface is closed and its faces
// agree on which side is outside (which side that is, the pictures of the render tests show).
TEST(D3DXMesh, SpheresAndCylindersAreClosed) {
    SoftwareDevice device(8, 8);
    const struct {
        float radius1, radius2, length;
    } shapes[] = {{2.0f, 2.0f, 0.0f}, {0.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 3.0f}, {2.0f, 0.5f, 1.0f}};
    for (const auto& [radius1, radius2, length] : shapes) {
        ID3DXMesh* mesh = nullptr;
        ASSERT_EQ(length > 0 ? D3DXCreateCylinder(&device, radius1, radius2, length, 16, 16, &mesh, nullptr)
                             : D3DXCreateSphere(&device, radius1, 16, 16, &mesh, nullptr), D3D_OK);
        ASSERT_TRUE(mesh->GetFVF() == (D3DFVF_XYZ | D3DFVF_NORMAL) && mesh->GetNumBytesPerVertex() == sizeof(Vertex));
        EXPECT_TRUE(length > 0 || (mesh->GetNumVertices() == 16u * 15u + 2u && mesh->GetNumFaces() == 2u * 16u * 15u));
        void *vertices = nullptr, *indices = nullptr;
        ASSERT_TRUE(mesh->LockVertexBuffer(0, &vertices) == D3D_OK && mesh->LockIndexBuffer(0, &indices) == D3D_OK);
        const auto* v = static_cast<const Vertex*>(vertices);
        for (UINT i = 0; i < mesh->GetNumVertices(); ++i) {
            const D3DXVECTOR3& p = v[i].position;
            const float t = length > 0 ? p.z / length + 0.5f : 0.0f;
            const float radius = std::sqrt(p.x * p.x + p.y * p.y + (length > 0 ? 0.0f : p.z * p.z));
            ASSERT_TRUE(t >= -1e-5f && t <= 1.0f + 1e-5f) << radius1 << " " << radius2 << " " << length;
            if (length > 0) EXPECT_LE(radius, radius1 + t * (radius2 - radius1) + 1e-5f);
            else EXPECT_TRUE(std::fabs(radius - radius1) < 1e-5f && std::fabs(v[i].normal.x * radius1 - p.x) < 1e-5f);
        }
        using Point = std::tuple<long, long, long>;
        std::map<std::pair<Point, Point>, int> directed;
        const auto* index = static_cast<const std::uint16_t*>(indices);
        for (UINT corner = 0; corner < 3 * mesh->GetNumFaces(); ++corner) {
            const D3DXVECTOR3 &a = v[index[corner]].position, &b = v[index[corner % 3 == 2 ? corner - 2 : corner + 1]].position;
            ++directed[{Point(std::lround(a.x * 1e4f), std::lround(a.y * 1e4f), std::lround(a.z * 1e4f)),
                        Point(std::lround(b.x * 1e4f), std::lround(b.y * 1e4f), std::lround(b.z * 1e4f))}];
        }
        for (const auto& [edge, count] : directed) EXPECT_TRUE(count == 1 && directed.count({edge.second, edge.first}));
        mesh->UnlockVertexBuffer();
        mesh->UnlockIndexBuffer();
        mesh->Release();
    }
}

// Memory running out is with the debug renderer that meets it.
TEST(D3DXMesh, RefusedShapesLeaveTheOutputAlone) {
    SoftwareDevice device(8, 8);
    ID3DXMesh* const untouched = reinterpret_cast<ID3DXMesh*>(0x1);
    const std::pair<const char*, HRESULT (*)(IDirect3DDevice9*, ID3DXMesh**)> cases[] = {
        {"null device", [](IDirect3DDevice9*, ID3DXMesh** m) { return D3DXCreateSphere(nullptr, 1, 16, 16, m, nullptr); }},
        {"null device", [](IDirect3DDevice9*, ID3DXMesh** m) { return D3DXCreateCylinder(nullptr, 0, 1, 1, 16, 16, m, nullptr); }},
        {"negative radius", [](IDirect3DDevice9* d, ID3DXMesh** m) { return D3DXCreateSphere(d, -1, 16, 16, m, nullptr); }},
        {"nan radius", [](IDirect3DDevice9* d, ID3DXMesh** m) { return D3DXCreateCylinder(d, NAN, 1, 1, 16, 16, m, nullptr); }},
        {"one slice", [](IDirect3DDevice9* d, ID3DXMesh** m) { return D3DXCreateSphere(d, 1, 1, 16, m, nullptr); }},
        {"beyond 16-bit indices", [](IDirect3DDevice9* d, ID3DXMesh** m) { return D3DXCreateSphere(d, 1, 1000, 1000, m, nullptr); }},
        {"no output", [](IDirect3DDevice9* d, ID3DXMesh**) { return D3DXCreateSphere(d, 1, 16, 16, nullptr, nullptr); }},
    };
    for (const auto& [what, make] : cases) {
        ID3DXMesh* mesh = untouched;
        EXPECT_EQ(make(&device, &mesh), D3DERR_INVALIDCALL) << what;
        EXPECT_EQ(mesh, untouched) << what;
    }
}

}  // namespace
