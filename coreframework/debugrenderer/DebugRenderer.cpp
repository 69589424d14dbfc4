#include "storyloom/coreframework/debugrenderer/DebugRenderer.h"

#include <new>

namespace {

HRESULT lastResult = S_OK;

void ReleaseMesh(ID3DXMesh*& mesh) {
    if (mesh) mesh->Release();
    mesh = nullptr;
}

}  // namespace

void DebugRenderer::SetLastResult(HRESULT result) { lastResult = result; }

HRESULT DebugRenderer::GetLastResult() { return lastResult; }

DebugRenderer::DebugRenderer() = default;

DebugRenderer::~DebugRenderer() {
    for (DebugPrimitivesContainer* container : _containers) delete container;
}

HRESULT DebugRenderer::CreateResources() {
    HRESULT sphere = D3DXCreateSphere(GetDevice(), 1.0f, 16, 16, &_sphereMesh, nullptr);
    SetLastResult(sphere);
    if (FAILED(sphere)) _sphereMesh = nullptr;
    HRESULT cone = D3DXCreateCylinder(GetDevice(), 0.0f, 1.0f, 1.0f, 16, 16, &_coneMesh, nullptr);
    SetLastResult(cone);
    if (FAILED(cone)) _coneMesh = nullptr;
    return FAILED(sphere) ? sphere : cone;
}

void DebugRenderer::ReleaseResources() {
    ReleaseMesh(_sphereMesh);
    ReleaseMesh(_coneMesh);
}

DebugPrimitivesContainer* DebugRenderer::GetContainer(int index, bool create) {
    if (index < 0) return nullptr;
    const std::size_t at = static_cast<std::size_t>(index);
    if (!create) return at < _containers.size() ? _containers[at] : nullptr;
    try {
        if (at >= _containers.size()) _containers.resize(at + 1, nullptr);
        if (!_containers[at]) _containers[at] = new DebugPrimitivesContainer(this);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return _containers[at];
}

int DebugRenderer::AcquireFreeContainer() {
    int index = 0;
    for (; index < static_cast<int>(_containers.size()); ++index) {
        DebugPrimitivesContainer* container = GetContainer(index, false);
        if (container && !container->IsInUse()) break;
    }
    DebugPrimitivesContainer* container = GetContainer(index, true);
    if (!container) return -1;
    container->SetInUse(true);
    return index;
}

void DebugRenderer::RenderContainer(DebugPrimitivesContainer* container, int options) {
    if (!container) return;
    if (GetState() == ResourceState::Restored && container->IsEnabled())
        container->Render(GetDevice(), _sphereMesh, _coneMesh, _material);
    if (options & ReleaseContainer) container->SetInUse(false);
}

void DebugRenderer::Render(int index, int options) {
    if (index >= 0) {
        RenderContainer(GetContainer(index, false), options);
        return;
    }
    for (DebugPrimitivesContainer* container : _containers) RenderContainer(container, options);
}
