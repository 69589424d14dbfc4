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

struct MeshData {
    std::vector<Vertex> vertices;
    std::vector<std::uint16_t> indices;
};

MeshData Read(ID3DXMesh& mesh) {
    MeshData data;
    void* vertices = nullptr;
    void* indices = nullptr;
    EXPECT_EQ(mesh.LockVertexBuffer(0, &vertices), D3D_OK);
    EXPECT_EQ(mesh.LockIndexBuffer(0, &indices), D3D_OK);
    EXPECT_EQ(mesh.GetNumBytesPerVertex(), sizeof(Vertex));
    auto* v = static_cast<const Vertex*>(vertices);
    auto* i = static_cast<const std::uint16_t*>(indices);
    data.vertices.assign(v, v + mesh.GetNumVertices());
    data.indices.assign(i, i + 3 * mesh.GetNumFaces());
    mesh.UnlockVertexBuffer();
    mesh.UnlockIndexBuffer();
    return data;
}

D3DXVECTOR3 Minus(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

// Every edge (by position) is used once in each direction: the surface is closed, and its
// faces agree on which side is outside.
void ExpectClosedAndConsistent(const MeshData& data) {
    using Point = std::tuple<long, long, long>;
    auto key = [](const D3DXVECTOR3& p) {
        return Point(std::lround(p.x * 1e4f), std::lround(p.y * 1e4f), std::lround(p.z * 1e4f));
    };
    std::map<std::pair<Point, Point>, int> directed;
    for (std::size_t f = 0; f < data.indices.size(); f += 3)
        for (int k = 0; k < 3; ++k) {
            Point a = key(data.vertices[data.indices[f + k]].position);
            Point b = key(data.vertices[data.indices[f + (k + 1) % 3]].position);
            ++directed[{a, b}];
        }
    for (const auto& [edge, count] : directed) {
        EXPECT_EQ(count, 1);
        auto reverse = directed.find({edge.second, edge.first});
        EXPECT_TRUE(reverse != directed.end() && reverse->second == 1);
    }
}

// Faces are clockwise seen from outside: their cross product points away from the axis point.
void ExpectFacesOutward(const MeshData& data, float length) {
    for (std::size_t f = 0; f < data.indices.size(); f += 3) {
        const D3DXVECTOR3& a = data.vertices[data.indices[f]].position;
        const D3DXVECTOR3& b = data.vertices[data.indices[f + 1]].position;
        const D3DXVECTOR3& c = data.vertices[data.indices[f + 2]].position;
        D3DXVECTOR3 u = Minus(b, a), v = Minus(c, a);
        D3DXVECTOR3 n(u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x);
        D3DXVECTOR3 centre((a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, (a.z + b.z + c.z) / 3);
        // For caps the axis point is the centre of the cap itself, so use the direction along z.
        D3DXVECTOR3 outward = std::fabs(std::fabs(centre.z) - length / 2) < 1e-5f && length > 0
                                  ? D3DXVECTOR3(0, 0, centre.z)
                                  : D3DXVECTOR3(centre.x, centre.y, length > 0 ? 0.0f : centre.z);
        EXPECT_GT(n.x * outward.x + n.y * outward.y + n.z * outward.z, 0.0f) << "face " << f / 3;
    }
}

TEST(D3DXMesh, SphereIsAClosedBallOfTheRadius) {
    SoftwareDevice device(8, 8);
    ID3DXMesh* sphere = nullptr;
    ASSERT_EQ(D3DXCreateSphere(&device, 2.0f, 16, 16, &sphere, nullptr), D3D_OK);
    EXPECT_EQ(sphere->GetFVF(), D3DFVF_XYZ | D3DFVF_NORMAL);
    EXPECT_EQ(sphere->GetNumVertices(), 16u * 15u + 2u);
    EXPECT_EQ(sphere->GetNumFaces(), 2u * 16u * 15u);
    MeshData data = Read(*sphere);
    for (const Vertex& v : data.vertices) {
        EXPECT_NEAR(std::sqrt(v.position.x * v.position.x + v.position.y * v.position.y + v.position.z * v.position.z),
                    2.0f, 1e-5f);
        EXPECT_NEAR(v.normal.x * 2.0f, v.position.x, 1e-5f);
    }
    ExpectClosedAndConsistent(data);
    ExpectFacesOutward(data, 0.0f);
    sphere->Release();
}

// The cone the debug renderer uses, a cylinder and a frustum: side radius runs from radius1
// at -length/2 to radius2 at +length/2.
TEST(D3DXMesh, CylindersAndConesAreClosed) {
    SoftwareDevice device(8, 8);
    const struct {
        float radius1, radius2, length;
    } shapes[] = {{0.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 3.0f}, {2.0f, 0.5f, 1.0f}};
    for (const auto& shape : shapes) {
        SCOPED_TRACE(testing::Message() << shape.radius1 << " " << shape.radius2 << " " << shape.length);
        ID3DXMesh* mesh = nullptr;
        ASSERT_EQ(D3DXCreateCylinder(&device, shape.radius1, shape.radius2, shape.length, 16, 16, &mesh, nullptr),
                  D3D_OK);
        MeshData data = Read(*mesh);
        for (const Vertex& v : data.vertices) {
            float t = v.position.z / shape.length + 0.5f;
            float radius = std::sqrt(v.position.x * v.position.x + v.position.y * v.position.y);
            ASSERT_GE(t, -1e-5f);
            ASSERT_LE(t, 1.0f + 1e-5f);
            EXPECT_LE(radius, shape.radius1 + t * (shape.radius2 - shape.radius1) + 1e-5f);
        }
        ExpectClosedAndConsistent(data);
        ExpectFacesOutward(data, shape.length);
        mesh->Release();
    }
}

TEST(D3DXMesh, RefusedShapesLeaveTheOutputAlone) {
    SoftwareDevice device(8, 8);
    ID3DXMesh* untouched = reinterpret_cast<ID3DXMesh*>(0x1);
    const struct {
        const char* what;
        HRESULT expected;
        HRESULT (*make)(IDirect3DDevice9*, ID3DXMesh**);
    } cases[] = {
        {"null device", D3DERR_INVALIDCALL, [](IDirect3DDevice9*, ID3DXMesh** m) { return D3DXCreateSphere(nullptr, 1, 16, 16, m, nullptr); }},
        {"null cylinder device", D3DERR_INVALIDCALL, [](IDirect3DDevice9*, ID3DXMesh** m) { return D3DXCreateCylinder(nullptr, 0, 1, 1, 16, 16, m, nullptr); }},
        {"negative radius", D3DERR_INVALIDCALL, [](IDirect3DDevice9* d, ID3DXMesh** m) { return D3DXCreateSphere(d, -1, 16, 16, m, nullptr); }},
        {"nan radius", D3DERR_INVALIDCALL, [](IDirect3DDevice9* d, ID3DXMesh** m) { return D3DXCreateCylinder(d, NAN, 1, 1, 16, 16, m, nullptr); }},
        {"one slice", D3DERR_INVALIDCALL, [](IDirect3DDevice9* d, ID3DXMesh** m) { return D3DXCreateSphere(d, 1, 1, 16, m, nullptr); }},
        {"one stack", D3DERR_INVALIDCALL, [](IDirect3DDevice9* d, ID3DXMesh** m) { return D3DXCreateCylinder(d, 0, 1, 1, 16, 1, m, nullptr); }},
        {"negative length", D3DERR_INVALIDCALL, [](IDirect3DDevice9* d, ID3DXMesh** m) { return D3DXCreateCylinder(d, 0, 1, -1, 16, 16, m, nullptr); }},
        {"beyond 16-bit indices", D3DERR_INVALIDCALL, [](IDirect3DDevice9* d, ID3DXMesh** m) { return D3DXCreateSphere(d, 1, 1000, 1000, m, nullptr); }},
    };
    for (const auto& c : cases) {
        ID3DXMesh* mesh = untouched;
        EXPECT_EQ(c.make(&device, &mesh), c.expected) << c.what;
        EXPECT_EQ(mesh, untouched) << c.what;
    }
    EXPECT_EQ(D3DXCreateSphere(&device, 1, 16, 16, nullptr, nullptr), D3DERR_INVALIDCALL);

    // A mesh larger than the memory left is refused; a smaller one still fits.
    ID3DXMesh* sphere = nullptr;
    ASSERT_EQ(D3DXCreateSphere(&device, 1, 16, 16, &sphere, nullptr), D3D_OK);
    const UINT sphereBytes = sphere->GetNumVertices() * 24 + sphere->GetNumFaces() * 6;
    sphere->Release();
    device.SetAvailableTextureMem(sphereBytes);
    ID3DXMesh* cone = untouched;
    EXPECT_EQ(D3DXCreateCylinder(&device, 0, 1, 1, 16, 16, &cone, nullptr), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(cone, untouched);
    ASSERT_EQ(D3DXCreateSphere(&device, 1, 16, 16, &sphere, nullptr), D3D_OK);
    sphere->Release();
}

}  // namespace
