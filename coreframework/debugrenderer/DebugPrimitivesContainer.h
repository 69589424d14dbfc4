#pragma once
#include <memory>

#include "storyloom/coreframework/VelmMathLib.h"
#include "storyloom/host/d3d9/d3dx9mesh.h"

class DebugRenderer;

// A line vertex as the device reads it: position and colour, 16 bytes.
struct DebugLineVertex {
    float x, y, z;
    D3DCOLOR color;
};
struct DebugLine {
    DebugLineVertex from, to;
};
static_assert(sizeof(DebugLine) == 32, "two 16-byte vertices");

struct DebugMeshInstance {
    D3DXMATRIX world;
    VelmMathLib::Vec4 color{1.0f, 1.0f, 1.0f, 1.0f};
};

// One batch of lines, spheres and cones. All room is taken at construction, so filling a
// batch allocates nothing; a full list refuses further primitives, and the first refusal of
// a batch is reported as a failed check.
class DebugPrimitivesContainer {
public:
    static constexpr unsigned MaxLines = 100000;
    static constexpr unsigned MaxSpheres = 10000;
    static constexpr unsigned MaxCones = 10000;

    explicit DebugPrimitivesContainer(DebugRenderer* renderer);
    virtual ~DebugPrimitivesContainer();
    DebugPrimitivesContainer(const DebugPrimitivesContainer&) = delete;
    DebugPrimitivesContainer& operator=(const DebugPrimitivesContainer&) = delete;

    // Each answers false, adding nothing, when its list is full. Colours of lines are ARGB;
    // the meshes are the unit sphere and the unit cone (tip at z = -0.5, base at z = +0.5).
    bool AddLine(VelmMathLib::Vec3 a, VelmMathLib::Vec3 b, unsigned color);
    bool AddSphere(const D3DXMATRIX& world, VelmMathLib::Vec4 color);
    bool AddCone(const D3DXMATRIX& world, VelmMathLib::Vec4 color);

    unsigned GetLineCount() const { return _lineCount; }
    unsigned GetSphereCount() const { return _spheres.count; }
    unsigned GetConeCount() const { return _cones.count; }
    // Primitives refused since the batch was last drawn.
    unsigned GetRefusedCount() const { return _refusedCount; }

    DebugRenderer* GetRenderer() const { return _renderer; }
    // A disabled container keeps its batch and is not drawn.
    bool IsEnabled() const { return _enabled; }
    void SetEnabled(bool enabled) { _enabled = enabled; }
    // Multiplies the alpha of every mesh instance.
    float GetOpacity() const { return _opacity; }
    void SetOpacity(float opacity) { _opacity = opacity; }
    // Set while someone fills the container; see DebugRenderer.
    bool IsInUse() const { return _inUse; }
    void SetInUse(bool inUse) { _inUse = inUse; }

    // Draws the batch with the device and the two meshes and empties it, leaving the device's
    // blend and texture stage states as they were. Without a device, or when a mesh is
    // missing, nothing is drawn and the batch is kept.
    void Render(IDirect3DDevice9* device, ID3DXMesh* sphereMesh, ID3DXMesh* coneMesh, D3DMATERIAL9& material);

private:
    struct InstanceList {
        explicit InstanceList(unsigned capacity);
        bool Add(const D3DXMATRIX& world, const VelmMathLib::Vec4& color, unsigned capacity);
        std::unique_ptr<DebugMeshInstance[]> entries;
        unsigned count = 0;
    };

    bool Refuse(const char* condition);
    void DrawInstances(IDirect3DDevice9& device, const InstanceList& list, ID3DXMesh& mesh,
                       D3DMATERIAL9& material) const;

    DebugRenderer* _renderer;
    std::unique_ptr<DebugLine[]> _lines;
    unsigned _lineCount = 0;
    InstanceList _spheres;
    InstanceList _cones;
    bool _enabled = true;
    float _opacity = 1.0f;
    bool _inUse = false;
    unsigned _refusedCount = 0;
};
