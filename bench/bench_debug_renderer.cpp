// Cost of the debug renderer with the software device, per line and per mesh instance: a full
// container is filled and drawn, and each part is set against the least the same work can
// cost in the same run: storing the same records into a plain array, and handing the same
// lines and instances to the device directly. Ratios near 1.0 mean the renderer adds nothing.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "support/CountingNew.h"
#include "PerformanceTable.h"
#include "ScalingTiming.h"

#include "storyloom/coreframework/debugrenderer/DebugRenderer.h"
#include "storyloom/host/d3d9/SoftwareDevice.h"

namespace {

constexpr unsigned lines = DebugPrimitivesContainer::MaxLines;
constexpr unsigned spheres = DebugPrimitivesContainer::MaxSpheres;
constexpr unsigned cones = DebugPrimitivesContainer::MaxCones;

// Small primitives on a grid in front of the camera, so that every one reaches the screen.
VelmMathLib::Vec3 GridPoint(unsigned i, unsigned count) {
    const unsigned side = count >= lines ? 317 : 100;  // the smallest square holding count
    return {-4.0f + 8.0f * (i % side) / side, -3.0f + 6.0f * (i / side) / side, 0.0f};
}

D3DXMATRIX InstanceWorld(unsigned i, unsigned count) {
    VelmMathLib::Vec3 at = GridPoint(i, count);
    D3DXMATRIX scale, move, world;
    D3DXMatrixScaling(&scale, 0.03f, 0.03f, 0.03f);
    D3DXMatrixTranslation(&move, at.x, at.y, at.z);
    return *D3DXMatrixMultiply(&world, &scale, &move);
}

void Fill(DebugPrimitivesContainer& container, const std::vector<D3DXMATRIX>& worlds) {
    for (unsigned i = 0; i < lines; ++i) {
        VelmMathLib::Vec3 at = GridPoint(i, lines);
        container.AddLine(at, at + VelmMathLib::Vec3(0.02f, 0.02f, 0.0f), 0xFFFFFFFFu);
    }
    for (unsigned i = 0; i < spheres; ++i) container.AddSphere(worlds[i], {1, 0, 0, 1});
    for (unsigned i = 0; i < cones; ++i) container.AddCone(worlds[i], {0, 1, 0, 1});
}

struct Scene {
    SoftwareDevice device{320, 240};
    DebugRenderer renderer;
    std::vector<D3DXMATRIX> worlds;
    Scene() {
        renderer.Restore(&device);
        D3DXMATRIX view, projection;
        D3DXVECTOR3 eye(0, 0, -10), at(0, 0, 0), up(0, 1, 0);
        device.SetTransform(D3DTS_VIEW, D3DXMatrixLookAtLH(&view, &eye, &at, &up));
        device.SetTransform(D3DTS_PROJECTION, D3DXMatrixPerspectiveFovLH(&projection, 1.0f, 4.0f / 3.0f, 0.1f, 100.0f));
        for (unsigned i = 0; i < spheres; ++i) worlds.push_back(InstanceWorld(i, spheres));
    }
    ~Scene() { renderer.Release(); }
};

void FillFullContainer(benchmark::State& state) {
    Scene scene;
    DebugPrimitivesContainer* container = scene.renderer.GetContainer(0, true);
    std::unique_ptr<DebugLine[]> plainLines(new DebugLine[lines]());
    std::unique_ptr<DebugMeshInstance[]> plainInstances(new DebugMeshInstance[spheres + cones]);
    double fillSeconds = 0, plainSeconds = 0;
    unsigned long allocations = 0;
    for (auto _ : state) {
        allocations += CountingNew::AllocationsOf([&] { fillSeconds += SecondsOf([&] { Fill(*container, scene.worlds); }); });
        state.PauseTiming();
        scene.renderer.Render(0, DebugRenderer::ReleaseContainer);  // empties it
        state.ResumeTiming();
        plainSeconds += SecondsOf([&] {
            for (unsigned i = 0; i < lines; ++i) {
                VelmMathLib::Vec3 at = GridPoint(i, lines);
                plainLines[i] = {{at.x, at.y, at.z, 0xFFFFFFFFu}, {at.x + 0.02f, at.y + 0.02f, at.z, 0xFFFFFFFFu}};
            }
            for (unsigned i = 0; i < spheres + cones; ++i)
                plainInstances[i] = {scene.worlds[i % spheres], {1, 0, 0, 1}};
            benchmark::DoNotOptimize(plainLines.get());
            benchmark::DoNotOptimize(plainInstances.get());
        });
        scene.device.ClearRecords();
    }
    TableRow(state, "debug container filled vs a plain store, per primitive", fillSeconds, plainSeconds, 2.0,
             double(lines + spheres + cones));
    AllocationRow(state, "debug container filled full", double(allocations), 0);
}

void RenderFullContainer(benchmark::State& state) {
    Scene scene;
    DebugPrimitivesContainer* container = scene.renderer.GetContainer(0, true);
    IDirect3DDevice9& device = scene.device;
    double lineSeconds = 0, instanceSeconds = 0, directLineSeconds = 0, directInstanceSeconds = 0;
    std::vector<DebugLine> sameLines(lines);
    for (unsigned i = 0; i < lines; ++i) {
        VelmMathLib::Vec3 at = GridPoint(i, lines);
        sameLines[i] = {{at.x, at.y, at.z, 0xFFFFFFFFu}, {at.x + 0.02f, at.y + 0.02f, at.z, 0xFFFFFFFFu}};
    }
    for (auto _ : state) {
        for (unsigned i = 0; i < lines; ++i) container->AddLine({sameLines[i].from.x, sameLines[i].from.y, 0},
                                                                {sameLines[i].to.x, sameLines[i].to.y, 0}, 0xFFFFFFFFu);
        lineSeconds += SecondsOf([&] { scene.renderer.Render(0, DebugRenderer::ReleaseContainer); });
        for (unsigned i = 0; i < spheres; ++i) container->AddSphere(scene.worlds[i], {1, 0, 0, 1});
        for (unsigned i = 0; i < cones; ++i) container->AddCone(scene.worlds[i], {0, 1, 0, 1});
        instanceSeconds += SecondsOf([&] { scene.renderer.Render(0, DebugRenderer::ReleaseContainer); });

        // The direct draws blend as the renderer does; blending is most of a line's pixel cost.
        device.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
        device.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        directLineSeconds += SecondsOf([&] {
            device.SetRenderState(D3DRS_LIGHTING, 0);
            device.SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
            device.DrawPrimitiveUP(D3DPT_LINELIST, lines, sameLines.data(), sizeof(DebugLineVertex));
            device.SetRenderState(D3DRS_LIGHTING, 1);
        });
        directInstanceSeconds += SecondsOf([&] {
            D3DMATERIAL9 material;
            for (unsigned i = 0; i < spheres + cones; ++i) {
                material.Diffuse = {1, 0, 0, 1};
                device.SetMaterial(&material);
                device.SetTransform(D3DTS_WORLD, &scene.worlds[i % spheres]);
                (i < spheres ? scene.renderer.GetSphereMesh() : scene.renderer.GetConeMesh())->DrawSubset(0);
            }
        });
        device.SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
        scene.device.ClearRecords();
    }
    TableRow(state, "software device draw per line vs direct calls", lineSeconds, directLineSeconds, 2.0, lines);
    TableRow(state, "software device draw per mesh vs direct calls", instanceSeconds, directInstanceSeconds, 2.0,
             spheres + cones);
}

}  // namespace

BENCHMARK(FillFullContainer)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(RenderFullContainer)->Unit(benchmark::kMillisecond)->Iterations(3);

SCALING_BENCHMARK_MAIN()
