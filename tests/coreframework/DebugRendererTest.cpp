#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "storyloom/coreframework/debugrenderer/DebugRenderer.h"
#include "storyloom/host/d3d9/SoftwareDevice.h"

namespace {

constexpr const char* resourceSource = "coreframework/debugrenderer/ResourceContainer";

std::vector<std::string> AssertionTexts() {
    std::vector<std::string> texts;
    for (const AssertionReport& report : GetAssertionReports()) texts.push_back(report.expression);
    return texts;
}

class DebugRendererTest : public ::testing::Test {
protected:
    SoftwareDevice device{32, 32};
    DebugRenderer renderer;
    void SetUp() override { ClearAssertionReports(); }
    void TearDown() override {
        renderer.Release();
        ClearAssertionReports();
    }
};

// Every order of loss and recovery; the checks fire only where the state does not allow the
// step, and the step is still done.
TEST_F(DebugRendererTest, LossAndRecoveryInEveryOrder) {
    enum Step { Restore, Lose, Release };
    const struct {
        std::vector<Step> steps;
        ResourceState state;
        std::vector<std::string> assertions;
    } cases[] = {
        {{Restore}, ResourceState::Restored, {}},
        {{Restore, Restore}, ResourceState::Restored, {}},
        {{Lose}, ResourceState::Lost, {}},
        {{Restore, Lose, Lose}, ResourceState::Lost, {}},
        {{Restore, Lose, Restore}, ResourceState::Restored, {}},
        {{Restore, Release}, ResourceState::Released, {}},
        {{Release, Restore}, ResourceState::Restored, {"(GetState() == ResourceState::Lost) && 0"}},
        {{Release, Lose},
         ResourceState::Lost,
         {"(_state == ResourceState::Restored || _state == ResourceState::Lost) && 0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case with " << c.steps.size() << " steps ending in state "
                                        << static_cast<int>(c.state));
        auto subject = std::make_unique<DebugRenderer>();
        ClearAssertionReports();
        for (Step step : c.steps) {
            if (step == Restore) {
                EXPECT_EQ(subject->Restore(&device), D3D_OK);
            } else if (step == Lose) {
                subject->Lose();
            } else {
                subject->Release();
            }
        }
        EXPECT_EQ(subject->GetState(), c.state);
        EXPECT_EQ(AssertionTexts(), c.assertions);
        for (const AssertionReport& report : GetAssertionReports()) EXPECT_EQ(report.sourcePath, resourceSource);
        const bool restored = c.state == ResourceState::Restored;
        EXPECT_EQ(subject->GetDevice(), restored ? &device : nullptr);
        EXPECT_EQ(subject->GetSphereMesh() != nullptr, restored);
        EXPECT_EQ(subject->GetConeMesh() != nullptr, restored);
        subject->Release();
    }
    // Destroyed without the final release: the check fires, and the destruction goes on.
    ClearAssertionReports();
    {
        DebugRenderer forgotten;
        forgotten.Restore(&device);
        forgotten.Lose();
    }
    EXPECT_EQ(AssertionTexts(), std::vector<std::string>{"(_state == ResourceState::Released) && 0"});
}

TEST_F(DebugRendererTest, MeshesAreTheUnitSphereAndCone) {
    ASSERT_EQ(renderer.Restore(&device), D3D_OK);
    ID3DXMesh *sphere = nullptr, *cone = nullptr;
    ASSERT_EQ(D3DXCreateSphere(&device, 1.0f, 16, 16, &sphere, nullptr), D3D_OK);
    ASSERT_EQ(D3DXCreateCylinder(&device, 0.0f, 1.0f, 1.0f, 16, 16, &cone, nullptr), D3D_OK);
    for (auto [made, expected] : {std::pair{renderer.GetSphereMesh(), sphere}, {renderer.GetConeMesh(), cone}}) {
        EXPECT_EQ(made->GetNumFaces(), expected->GetNumFaces());
        EXPECT_EQ(made->GetNumVertices(), expected->GetNumVertices());
        expected->Release();
    }
}

// A mesh that cannot be made leaves the renderer lost: batches stay undrawn and whole, and
// the reason can be named.
TEST_F(DebugRendererTest, FailedMeshCreationKeepsTheBatch) {
    ID3DXMesh* sphere = nullptr;
    ASSERT_EQ(D3DXCreateSphere(&device, 1.0f, 16, 16, &sphere, nullptr), D3D_OK);
    device.SetAvailableTextureMem(sphere->GetNumVertices() * 24 + sphere->GetNumFaces() * 6);  // no room for the cone
    sphere->Release();

    EXPECT_EQ(renderer.Restore(&device), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(renderer.GetState(), ResourceState::Lost);
    EXPECT_EQ(renderer.GetSphereMesh(), nullptr);
    EXPECT_EQ(renderer.GetConeMesh(), nullptr);
    std::string name;
    AppendResultName(name);
    EXPECT_EQ(name, "D3DERR_OUTOFVIDEOMEMORY");

    int index = renderer.AcquireFreeContainer();
    DebugPrimitivesContainer* container = renderer.GetContainer(index, false);
    ASSERT_NE(container, nullptr);
    container->AddLine({0, 0, 0}, {1, 1, 1}, 0xFFFFFFFFu);
    container->AddSphere(D3DXMATRIX(), {1, 1, 1, 1});
    renderer.Render(index, DebugRenderer::ReleaseContainer);
    EXPECT_TRUE(device.GetDrawCalls().empty());
    EXPECT_EQ(container->GetLineCount(), 1u);
    EXPECT_EQ(container->GetSphereCount(), 1u);

    EXPECT_EQ(renderer.Restore(nullptr), D3DERR_INVALIDCALL);
    name.clear();
    AppendResultName(name);
    EXPECT_EQ(name, "D3DERR_INVALIDCALL");

    // A restored renderer whose cone is gone: the container draws nothing and keeps its batch.
    device.SetAvailableTextureMem(1u << 30);
    ASSERT_EQ(renderer.Restore(&device), D3D_OK);
    D3DMATERIAL9 material;
    device.ClearRecords();
    container->Render(&device, renderer.GetSphereMesh(), nullptr, material);
    EXPECT_TRUE(device.GetStateChanges().empty());
    EXPECT_EQ(container->GetLineCount(), 1u);
    ClearAssertionReports();
    container->Render(nullptr, renderer.GetSphereMesh(), renderer.GetConeMesh(), material);
    ASSERT_EQ(AssertionTexts(), std::vector<std::string>{"(device) && 0"});
    EXPECT_EQ(GetAssertionReports()[0].sourcePath, "coreframework/debugrenderer/DebugPrimitivesContainer");
    EXPECT_EQ(container->GetLineCount(), 1u);
}

// The whole device conversation of one draw, in order, and the states read back afterwards.
TEST_F(DebugRendererTest, RenderTalksToTheDeviceInOrderAndRestoresItsStates) {
    ASSERT_EQ(renderer.Restore(&device), D3D_OK);
    const std::pair<D3DRENDERSTATETYPE, DWORD> before[] = {
        {D3DRS_ALPHABLENDENABLE, 0}, {D3DRS_SRCBLEND, D3DBLEND_ZERO}, {D3DRS_DESTBLEND, D3DBLEND_ONE}};
    const std::pair<D3DTEXTURESTAGESTATETYPE, DWORD> stageBefore[] = {
        {D3DTSS_COLOROP, D3DTOP_MODULATE}, {D3DTSS_COLORARG1, D3DTA_CURRENT},
        {D3DTSS_ALPHAOP, D3DTOP_DISABLE},  {D3DTSS_ALPHAARG1, D3DTA_TEXTURE}};
    for (const auto& [state, value] : before) device.SetRenderState(state, value);
    for (const auto& [type, value] : stageBefore) device.SetTextureStageState(0, type, value);

    DebugPrimitivesContainer* container = renderer.GetContainer(renderer.AcquireFreeContainer(), false);
    container->SetOpacity(0.5f);
    container->AddLine({0, 0, 0}, {1, 0, 0}, 0xFFFF0000u);
    container->AddLine({0, 0, 0}, {0, 1, 0}, 0xFF00FF00u);
    D3DXMATRIX sphereWorld, coneWorld;
    D3DXMatrixTranslation(&sphereWorld, 1, 2, 3);
    D3DXMatrixScaling(&coneWorld, 2, 2, 2);
    container->AddSphere(sphereWorld, {1.0f, 0.5f, 0.0f, 0.8f});
    container->AddCone(coneWorld, {0.0f, 0.0f, 1.0f, 1.0f});
    device.ClearRecords();
    renderer.Render(0, DebugRenderer::ReleaseContainer);

    using K = SoftwareDevice::StateKind;
    struct Expected {
        K kind;
        DWORD type, value;
        std::size_t drawsBefore;
    };
    const DWORD lineFVF = D3DFVF_XYZ | D3DFVF_DIFFUSE, meshFVF = D3DFVF_XYZ | D3DFVF_NORMAL;
    std::vector<Expected> expected = {
        {K::Transform, D3DTS_WORLD, 0, 0},
        {K::RenderState, D3DRS_ALPHABLENDENABLE, 1, 0},
        {K::RenderState, D3DRS_SRCBLEND, D3DBLEND_SRCALPHA, 0},
        {K::RenderState, D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA, 0},
        {K::TextureStageState, D3DTSS_COLOROP, D3DTOP_SELECTARG1, 0},
        {K::TextureStageState, D3DTSS_COLORARG1, D3DTA_DIFFUSE, 0},
        {K::TextureStageState, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1, 0},
        {K::TextureStageState, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE, 0},
        {K::Texture, 0, 0, 0},
        {K::RenderState, D3DRS_LIGHTING, 0, 0},
        {K::FVF, 0, lineFVF, 0},
        {K::RenderState, D3DRS_LIGHTING, 1, 1},  // lines drawn
        {K::Material, 0, 0, 1},
        {K::Transform, D3DTS_WORLD, 0, 1},
        {K::FVF, 0, meshFVF, 1},
        {K::Material, 0, 0, 2},  // sphere drawn
        {K::Transform, D3DTS_WORLD, 0, 2},
        {K::FVF, 0, meshFVF, 2},
    };
    // Once the cone is drawn, the states found before are put back in the order they were changed.
    for (const auto& [state, value] : before) expected.push_back({K::RenderState, DWORD(state), value, 3});
    for (const auto& [type, value] : stageBefore) expected.push_back({K::TextureStageState, DWORD(type), value, 3});
    const auto& changes = device.GetStateChanges();
    ASSERT_EQ(changes.size(), expected.size());
    for (std::size_t i = 0; i < changes.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "state change " << i);
        EXPECT_EQ(changes[i].kind, expected[i].kind);
        EXPECT_EQ(changes[i].type, expected[i].type);
        EXPECT_EQ(changes[i].value, expected[i].value);
        EXPECT_EQ(changes[i].drawsBefore, expected[i].drawsBefore);
    }

    const auto& draws = device.GetDrawCalls();
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0].type, D3DPT_LINELIST);
    EXPECT_EQ(draws[0].primitiveCount, 2u);
    EXPECT_EQ(draws[0].vertexStride, 16u);
    EXPECT_EQ(draws[0].world, D3DXMATRIX());  // lines are given in world space
    EXPECT_EQ(draws[1].world, sphereWorld);
    EXPECT_EQ(draws[1].primitiveCount, renderer.GetSphereMesh()->GetNumFaces());
    const D3DMATERIAL9& m = draws[1].material;
    EXPECT_FLOAT_EQ(m.Diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(m.Diffuse.g, 0.5f);
    EXPECT_FLOAT_EQ(m.Diffuse.a, 0.4f);  // alpha times opacity
    EXPECT_FLOAT_EQ(m.Emissive.r, 0.3f);
    EXPECT_FLOAT_EQ(m.Emissive.g, 0.15f);
    EXPECT_FLOAT_EQ(m.Emissive.a, 0.4f);
    EXPECT_EQ(draws[2].world, coneWorld);
    EXPECT_EQ(draws[2].primitiveCount, renderer.GetConeMesh()->GetNumFaces());
    EXPECT_FLOAT_EQ(draws[2].material.Diffuse.b, 1.0f);
    EXPECT_FLOAT_EQ(draws[2].material.Diffuse.a, 0.5f);

    EXPECT_EQ(container->GetLineCount() + container->GetSphereCount() + container->GetConeCount(), 0u);
}

// A container is in use from its acquisition until a render hands it back.
TEST_F(DebugRendererTest, ContainersAreReusedAfterRendering) {
    EXPECT_EQ(renderer.GetContainer(-1, true), nullptr);
    EXPECT_EQ(renderer.GetContainer(0, false), nullptr);
    EXPECT_EQ(renderer.AcquireFreeContainer(), 0);
    EXPECT_EQ(renderer.AcquireFreeContainer(), 1);
    renderer.Render(0, DebugRenderer::ReleaseContainer);  // not restored: handed back all the same
    EXPECT_EQ(renderer.AcquireFreeContainer(), 0);
    ASSERT_EQ(renderer.Restore(&device), D3D_OK);
    renderer.Render(1, 0);  // drawn but kept by its holder
    EXPECT_TRUE(renderer.GetContainer(1, false)->IsInUse());
    EXPECT_EQ(renderer.AcquireFreeContainer(), 2);

    // Growing to an index leaves empty entries that acquiring skips.
    DebugPrimitivesContainer* far = renderer.GetContainer(4, true);
    ASSERT_NE(far, nullptr);
    EXPECT_EQ(far->GetRenderer(), &renderer);
    EXPECT_EQ(renderer.GetContainerCount(), 5u);
    EXPECT_EQ(renderer.GetContainer(3, false), nullptr);
    EXPECT_EQ(renderer.GetContainer(4, true), far);
    EXPECT_EQ(renderer.AcquireFreeContainer(), 4);
    EXPECT_EQ(renderer.AcquireFreeContainer(), 5);
    EXPECT_EQ(renderer.GetContainer(3, false), nullptr);

    // A negative index draws every container and hands them all back.
    renderer.GetContainer(5, false)->AddLine({0, 0, 0}, {1, 0, 0}, 0xFFFFFFFFu);
    renderer.GetContainer(0, false)->AddLine({0, 0, 0}, {1, 0, 0}, 0xFFFFFFFFu);
    far->SetEnabled(false);
    far->AddLine({0, 0, 0}, {1, 0, 0}, 0xFFFFFFFFu);
    device.ClearRecords();
    renderer.Render(-1, DebugRenderer::ReleaseContainer);
    EXPECT_EQ(device.GetDrawCalls().size(), 2u);
    EXPECT_EQ(far->GetLineCount(), 1u);  // disabled: kept, not drawn
    EXPECT_FALSE(far->IsInUse());
    EXPECT_EQ(renderer.AcquireFreeContainer(), 0);
}

}  // namespace
