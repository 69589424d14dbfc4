#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "storyloom/coreframework/debugrenderer/DebugRenderer.h"
#include "storyloom/host/d3d9/SoftwareDevice.h"

namespace {

std::vector<std::string> AssertionTexts(const char* source) {
    std::vector<std::string> texts;
    for (const AssertionReport& report : GetAssertionReports()) texts.push_back(report.expression);
    for (const AssertionReport& report : GetAssertionReports()) EXPECT_EQ(report.sourcePath, source);
    ClearAssertionReports();
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
// step, and the step is still done. Destroyed without the final release, the check fires too
// and the destruction goes on.
TEST_F(DebugRendererTest, LossAndRecoveryInEveryOrder) {
    enum Step { Restore, Lose, Release };
    const char* const lose = "(_state == ResourceState::Restored || _state == ResourceState::Lost) && 0";
    const struct {
        std::vector<Step> steps;
        ResourceState state;
        std::vector<std::string> assertions;
    } cases[] = {
        {{Restore, Restore}, ResourceState::Restored, {}},      {{Restore, Lose, Lose}, ResourceState::Lost, {}},
        {{Restore, Lose, Restore}, ResourceState::Restored, {}}, {{Restore, Release}, ResourceState::Released, {}},
        {{Release, Restore}, ResourceState::Restored, {"(GetState() == ResourceState::Lost) && 0"}},
        {{Release, Lose}, ResourceState::Lost, {lose}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.steps.size() << " steps ending in state " << static_cast<int>(c.state));
        auto subject = std::make_unique<DebugRenderer>();
        for (Step step : c.steps) {
            if (step == Restore) EXPECT_EQ(subject->Restore(&device), D3D_OK);
            else step == Lose ? subject->Lose() : subject->Release();
        }
        EXPECT_EQ(subject->GetState(), c.state);
        EXPECT_EQ(AssertionTexts("coreframework/debugrenderer/ResourceContainer"), c.assertions);
        const bool restored = c.state == ResourceState::Restored;
        EXPECT_EQ(subject->GetDevice(), restored ? &device : nullptr);
        EXPECT_TRUE((subject->GetSphereMesh() != nullptr) == restored && (subject->GetConeMesh() != nullptr) == restored);
        if (restored) subject->Lose();  // the meshes go back; the destructor still sees no release
        subject.reset();
        EXPECT_EQ(AssertionTexts("coreframework/debugrenderer/ResourceContainer"),
                  std::vector<std::string>(c.state != ResourceState::Released, "(_state == ResourceState::Released) && 0"));
    }
}

// The meshes are the unit sphere and cone. One that cannot be made leaves the renderer lost,
// with the reason named: batches stay undrawn and whole. A restored renderer whose cone is gone
// draws nothing either, and a container without a device reports it.
TEST_F(DebugRendererTest, FailedMeshCreationKeepsTheBatch) {
    ID3DXMesh *sphere = nullptr, *cone = nullptr;
    ASSERT_EQ(D3DXCreateSphere(&device, 1.0f, 16, 16, &sphere, nullptr), D3D_OK);
    ASSERT_EQ(D3DXCreateCylinder(&device, 0.0f, 1.0f, 1.0f, 16, 16, &cone, nullptr), D3D_OK);
    ASSERT_EQ(renderer.Restore(&device), D3D_OK);
    for (auto [made, expected] : {std::pair{renderer.GetSphereMesh(), sphere}, {renderer.GetConeMesh(), cone}})
        EXPECT_TRUE(made->GetNumFaces() == expected->GetNumFaces() && made->GetNumVertices() == expected->GetNumVertices());
    device.SetAvailableTextureMem(sphere->GetNumVertices() * 24 + sphere->GetNumFaces() * 6);  // no room for the cone
    sphere->Release();
    cone->Release();
    renderer.Lose();
    EXPECT_EQ(renderer.Restore(&device), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(renderer.GetState(), ResourceState::Lost);
    EXPECT_TRUE(renderer.GetSphereMesh() == nullptr && renderer.GetConeMesh() == nullptr);
    auto lastResult = [] { std::string name; return AppendResultName(name), name; };
    EXPECT_EQ(lastResult(), "D3DERR_OUTOFVIDEOMEMORY");

    DebugPrimitivesContainer* container = renderer.GetContainer(renderer.AcquireFreeContainer(), false);
    ASSERT_NE(container, nullptr);
    container->AddLine({0, 0, 0}, {1, 1, 1}, 0xFFFFFFFFu);
    container->AddSphere(D3DXMATRIX(), {1, 1, 1, 1});
    renderer.Render(0, DebugRenderer::ReleaseContainer);
    EXPECT_TRUE(device.GetDrawCalls().empty());
    EXPECT_TRUE(container->GetLineCount() == 1u && container->GetSphereCount() == 1u);
    EXPECT_TRUE(renderer.Restore(nullptr) == D3DERR_INVALIDCALL && lastResult() == "D3DERR_INVALIDCALL");

    device.SetAvailableTextureMem(1u << 30);
    ASSERT_EQ(renderer.Restore(&device), D3D_OK);
    D3DMATERIAL9 material;
    device.ClearRecords();
    container->Render(&device, renderer.GetSphereMesh(), nullptr, material);
    EXPECT_TRUE(device.GetStateChanges().empty());
    container->Render(nullptr, renderer.GetSphereMesh(), renderer.GetConeMesh(), material);
    EXPECT_EQ(AssertionTexts("coreframework/debugrenderer/DebugPrimitivesContainer"), std::vector<std::string>{"(device) && 0"});
    EXPECT_EQ(container->GetLineCount(), 1u);
}

// The whole device conversation of one draw, in order, and the states found before put back.
TEST_F(DebugRendererTest, RenderTalksToTheDeviceInOrderAndRestoresItsStates) {
    ASSERT_EQ(renderer.Restore(&device), D3D_OK);
    const std::pair<D3DRENDERSTATETYPE, DWORD> before[] = {
        {D3DRS_ALPHABLENDENABLE, 0}, {D3DRS_SRCBLEND, D3DBLEND_ZERO}, {D3DRS_DESTBLEND, D3DBLEND_ONE}};
    const std::pair<D3DTEXTURESTAGESTATETYPE, DWORD> stageBefore[] = {
        {D3DTSS_COLOROP, D3DTOP_MODULATE}, {D3DTSS_COLORARG1, D3DTA_CURRENT}, {D3DTSS_ALPHAOP, D3DTOP_DISABLE},
        {D3DTSS_ALPHAARG1, D3DTA_TEXTURE}};
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
    const DWORD lineFVF = D3DFVF_XYZ | D3DFVF_DIFFUSE, meshFVF = D3DFVF_XYZ | D3DFVF_NORMAL;
    std::vector<std::tuple<K, DWORD, DWORD, std::size_t>> expected = {  // kind, type, value, draws before
        {K::Transform, D3DTS_WORLD, 0, 0}, {K::RenderState, D3DRS_ALPHABLENDENABLE, 1, 0},
        {K::RenderState, D3DRS_SRCBLEND, D3DBLEND_SRCALPHA, 0}, {K::RenderState, D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA, 0},
        {K::TextureStageState, D3DTSS_COLOROP, D3DTOP_SELECTARG1, 0}, {K::TextureStageState, D3DTSS_COLORARG1, D3DTA_DIFFUSE, 0},
        {K::TextureStageState, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1, 0}, {K::TextureStageState, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE, 0},
        {K::Texture, 0, 0, 0}, {K::RenderState, D3DRS_LIGHTING, 0, 0}, {K::FVF, 0, lineFVF, 0},
        {K::RenderState, D3DRS_LIGHTING, 1, 1},  // lines drawn
        {K::Material, 0, 0, 1}, {K::Transform, D3DTS_WORLD, 0, 1}, {K::FVF, 0, meshFVF, 1},  // sphere drawn next
        {K::Material, 0, 0, 2}, {K::Transform, D3DTS_WORLD, 0, 2}, {K::FVF, 0, meshFVF, 2},  // then the cone
    };
    for (const auto& [state, value] : before) expected.emplace_back(K::RenderState, DWORD(state), value, 3);
    for (const auto& [type, value] : stageBefore) expected.emplace_back(K::TextureStageState, DWORD(type), value, 3);
    const auto& changes = device.GetStateChanges();
    ASSERT_EQ(changes.size(), expected.size());
    for (std::size_t i = 0; i < changes.size(); ++i)
        EXPECT_EQ(std::make_tuple(changes[i].kind, changes[i].type, changes[i].value, changes[i].drawsBefore), expected[i]) << i;

    const auto& draws = device.GetDrawCalls();
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_TRUE(draws[0].type == D3DPT_LINELIST && draws[0].primitiveCount == 2u && draws[0].vertexStride == 16u);
    EXPECT_EQ(draws[0].world, D3DXMATRIX());  // lines are given in world space
    EXPECT_TRUE(draws[1].world == sphereWorld && draws[2].world == coneWorld);
    EXPECT_TRUE(draws[1].primitiveCount == renderer.GetSphereMesh()->GetNumFaces() &&
                draws[2].primitiveCount == renderer.GetConeMesh()->GetNumFaces());
    const D3DMATERIAL9& m = draws[1].material;  // alpha times opacity; emissive 0.3 of the colour
    EXPECT_EQ(std::vector<float>({m.Diffuse.r, m.Diffuse.g, m.Diffuse.a, m.Emissive.r, m.Emissive.g, m.Emissive.a}),
              std::vector<float>({1.0f, 0.5f, 0.4f, 0.3f, 0.15f, 0.4f}));
    EXPECT_TRUE(draws[2].material.Diffuse.b == 1.0f && draws[2].material.Diffuse.a == 0.5f);
    EXPECT_EQ(container->GetLineCount() + container->GetSphereCount() + container->GetConeCount(), 0u);
}

// A container is in use from its acquisition until a render hands it back; growing to an index
// leaves empty entries that acquiring skips; a negative index draws every enabled container.
TEST_F(DebugRendererTest, ContainersAreReusedAfterRendering) {
    EXPECT_TRUE(renderer.GetContainer(-1, true) == nullptr && renderer.GetContainer(0, false) == nullptr);
    EXPECT_EQ(renderer.AcquireFreeContainer(), 0);
    EXPECT_EQ(renderer.AcquireFreeContainer(), 1);
    renderer.Render(0, DebugRenderer::ReleaseContainer);  // not restored: handed back all the same
    EXPECT_EQ(renderer.AcquireFreeContainer(), 0);
    ASSERT_EQ(renderer.Restore(&device), D3D_OK);
    renderer.Render(1, 0);  // drawn but kept by its holder
    EXPECT_EQ(renderer.AcquireFreeContainer(), 2);

    DebugPrimitivesContainer* far = renderer.GetContainer(4, true);
    ASSERT_NE(far, nullptr);
    EXPECT_TRUE(far->GetRenderer() == &renderer && renderer.GetContainerCount() == 5u);
    EXPECT_TRUE(renderer.GetContainer(3, false) == nullptr && renderer.GetContainer(4, true) == far);
    EXPECT_EQ(renderer.AcquireFreeContainer(), 4);
    EXPECT_EQ(renderer.AcquireFreeContainer(), 5);
    for (int index : {5, 0, 4}) renderer.GetContainer(index, false)->AddLine({0, 0, 0}, {1, 0, 0}, 0xFFFFFFFFu);
    far->SetEnabled(false);
    device.ClearRecords();
    renderer.Render(-1, DebugRenderer::ReleaseContainer);
    EXPECT_EQ(device.GetDrawCalls().size(), 2u);
    EXPECT_TRUE(far->GetLineCount() == 1u && !far->IsInUse());  // disabled: kept, not drawn
    EXPECT_EQ(renderer.AcquireFreeContainer(), 0);
}

}  // namespace
