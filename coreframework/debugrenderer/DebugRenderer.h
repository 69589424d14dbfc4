#pragma once
// The debug renderer with its primitives containers and its device resource life.
#include <vector>

#include "storyloom/coreframework/debugrenderer/DebugPrimitivesContainer.h"
#include "storyloom/coreframework/debugrenderer/ResourceContainer.h"

// Draws batches of lines, spheres and cones over the scene. It keeps a unit sphere and a
// unit cone mesh on its device and a pool of containers that live as long as it does.
//
// A container is in use from the moment AcquireFreeContainer hands it out until a Render with
// ReleaseContainer draws it: that one call both shows the batch and frees the container, so
// a caller that acquires, fills and renders in one go keeps reusing the same container. The
// handing back happens even when nothing can be drawn (device lost, a mesh missing, container
// disabled); the batch is then kept and drawn with the next one.
class DebugRenderer : public ResourceContainer<DebugRenderer> {
public:
    // Render option: the containers drawn are free again afterwards.
    static constexpr int ReleaseContainer = 1;

    DebugRenderer();
    ~DebugRenderer() override;

    // Index of a container that is not in use, now marked in use; a new one when all are
    // taken. -1 when none can be made.
    int AcquireFreeContainer();
    // The container at index; with create, the pool grows (with empty entries) to reach it
    // and an empty entry gets a new container. Null for a negative index, for an index past
    // the end without create, and when the memory for a new one is missing.
    DebugPrimitivesContainer* GetContainer(int index, bool create);
    // Draws container index, or every container in order for a negative index. Only a
    // restored renderer draws; see above for options.
    void Render(int index, int options);

    unsigned GetContainerCount() const { return static_cast<unsigned>(_containers.size()); }
    ID3DXMesh* GetSphereMesh() const { return _sphereMesh; }
    ID3DXMesh* GetConeMesh() const { return _coneMesh; }

    // What the last mesh creation of any renderer answered, kept for AppendResultName.
    static void SetLastResult(HRESULT result);
    static HRESULT GetLastResult();

    void ReleaseResources() override;
    HRESULT CreateResources() override;
    const char* GetResourceName() const override { return "DebugRenderer"; }

private:
    void RenderContainer(DebugPrimitivesContainer* container, int options);

    std::vector<DebugPrimitivesContainer*> _containers;
    ID3DXMesh* _sphereMesh = nullptr;
    ID3DXMesh* _coneMesh = nullptr;
    D3DMATERIAL9 _material;
};
