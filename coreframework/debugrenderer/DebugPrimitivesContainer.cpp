#include "storyloom/coreframework/debugrenderer/DebugPrimitivesContainer.h"

#include "storyloom/coreframework/Logging.h"

namespace {

constexpr const char* SourcePath = "coreframework/debugrenderer/DebugPrimitivesContainer";

struct SavedRenderState {
    D3DRENDERSTATETYPE state;
    DWORD value;
};
struct SavedStageState {
    D3DTEXTURESTAGESTATETYPE type;
    DWORD value;
};

}  // namespace

DebugPrimitivesContainer::InstanceList::InstanceList(unsigned capacity) : entries(new DebugMeshInstance[capacity]) {}

bool DebugPrimitivesContainer::InstanceList::Add(const D3DXMATRIX& world, const VelmMathLib::Vec4& color,
                                                 unsigned capacity) {
    if (count == capacity) return false;
    entries[count++] = {world, color};
    return true;
}

DebugPrimitivesContainer::DebugPrimitivesContainer(DebugRenderer* renderer)
    : _renderer(renderer), _lines(new DebugLine[MaxLines]()), _spheres(MaxSpheres), _cones(MaxCones) {}

DebugPrimitivesContainer::~DebugPrimitivesContainer() = default;

bool DebugPrimitivesContainer::Refuse(const char* condition) {
    if (_refusedCount++ == 0) FrameworkCheck(false, condition, SourcePath, __LINE__);
    return false;
}

bool DebugPrimitivesContainer::AddLine(VelmMathLib::Vec3 a, VelmMathLib::Vec3 b, unsigned color) {
    if (_lineCount == MaxLines) return Refuse("_lineCount < MaxLines");
    _lines[_lineCount++] = {{a.x, a.y, a.z, color}, {b.x, b.y, b.z, color}};
    return true;
}

bool DebugPrimitivesContainer::AddSphere(const D3DXMATRIX& world, VelmMathLib::Vec4 color) {
    return _spheres.Add(world, color, MaxSpheres) || Refuse("GetSphereCount() < MaxSpheres");
}

bool DebugPrimitivesContainer::AddCone(const D3DXMATRIX& world, VelmMathLib::Vec4 color) {
    return _cones.Add(world, color, MaxCones) || Refuse("GetConeCount() < MaxCones");
}

void DebugPrimitivesContainer::DrawInstances(IDirect3DDevice9& device, const InstanceList& list, ID3DXMesh& mesh,
                                             D3DMATERIAL9& material) const {
    for (unsigned i = 0; i < list.count; ++i) {
        const VelmMathLib::Vec4& c = list.entries[i].color;
        const float alpha = c.w * _opacity;
        material.Diffuse = {c.x, c.y, c.z, alpha};
        material.Emissive = {c.x * 0.3f, c.y * 0.3f, c.z * 0.3f, alpha};
        device.SetMaterial(&material);
        device.SetTransform(D3DTS_WORLD, &list.entries[i].world);
        mesh.DrawSubset(0);
    }
}

void DebugPrimitivesContainer::Render(IDirect3DDevice9* device, ID3DXMesh* sphereMesh, ID3DXMesh* coneMesh,
                                      D3DMATERIAL9& material) {
    if (!FRAMEWORK_ASSERT(device, SourcePath) || !sphereMesh || !coneMesh) return;

    const D3DXMATRIX identity;
    device->SetTransform(D3DTS_WORLD, &identity);
    SavedRenderState renderStates[] = {{D3DRS_ALPHABLENDENABLE, 0}, {D3DRS_SRCBLEND, 0}, {D3DRS_DESTBLEND, 0}};
    SavedStageState stageStates[] = {
        {D3DTSS_COLOROP, 0}, {D3DTSS_COLORARG1, 0}, {D3DTSS_ALPHAOP, 0}, {D3DTSS_ALPHAARG1, 0}};
    for (SavedRenderState& saved : renderStates) device->GetRenderState(saved.state, &saved.value);
    for (SavedStageState& saved : stageStates) device->GetTextureStageState(0, saved.type, &saved.value);

    device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    device->SetTexture(0, nullptr);

    if (_lineCount > 0) {
        device->SetRenderState(D3DRS_LIGHTING, 0);
        device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
        device->DrawPrimitiveUP(D3DPT_LINELIST, _lineCount, _lines.get(), sizeof(DebugLineVertex));
        device->SetRenderState(D3DRS_LIGHTING, 1);
    }
    DrawInstances(*device, _spheres, *sphereMesh, material);
    DrawInstances(*device, _cones, *coneMesh, material);

    _lineCount = 0;
    _spheres.count = 0;
    _cones.count = 0;
    _refusedCount = 0;
    for (const SavedRenderState& saved : renderStates) device->SetRenderState(saved.state, saved.value);
    for (const SavedStageState& saved : stageStates) device->SetTextureStageState(0, saved.type, saved.value);
}
