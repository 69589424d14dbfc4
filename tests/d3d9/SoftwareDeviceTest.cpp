#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>

#include "d3d9/ReadPng.h"
#include "storyloom/host/d3d9/SoftwareDevice.h"

namespace {

struct ColouredVertex {
    float x, y, z;
    D3DCOLOR color;
};

constexpr D3DCOLOR black = D3DCOLOR_ARGB(255, 0, 0, 0);
constexpr D3DCOLOR red = D3DCOLOR_ARGB(255, 255, 0, 0);
constexpr D3DCOLOR blue = D3DCOLOR_ARGB(255, 0, 0, 255);

// A device whose transforms are identity draws clip space directly: x and y from -1 to 1
// across the buffer, z from 0 (near) to 1 (far).
class SoftwareDeviceTest : public ::testing::Test {
protected:
    SoftwareDevice device{20, 20};
    void SetUp() override {
        device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, black, 1.0f, 0);
        device.SetRenderState(D3DRS_LIGHTING, 0);
        device.SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
        device.ClearRecords();
    }
    // A triangle over the left half of the buffer, clockwise on screen unless reversed.
    HRESULT Triangle(float z, D3DCOLOR color, bool reversed = false) {
        ColouredVertex v[3] = {{-1, -1, z, color}, {-1, 1, z, color}, {0.9f, -1, z, color}};
        if (reversed) std::swap(v[1], v[2]);
        return device.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, v, sizeof(ColouredVertex));
    }
    // A camera 5 units in front of the origin, looking at it.
    void LookAtTheOrigin() {
        D3DXMATRIX view, projection;
        D3DXVECTOR3 eye(0, 0, -5), at(0, 0, 0), up(0, 1, 0);
        device.SetTransform(D3DTS_VIEW, D3DXMatrixLookAtLH(&view, &eye, &at, &up));
        device.SetTransform(D3DTS_PROJECTION, D3DXMatrixPerspectiveFovLH(&projection, 1.0f, 1.0f, 0.1f, 100.0f));
    }
};

// Refused calls answer D3DERR_INVALIDCALL and change nothing.
TEST_F(SoftwareDeviceTest, RefusesWhatItCannotDo) {
    ColouredVertex v[2] = {};
    std::uint16_t indices[3] = {0, 1, 2};
    EXPECT_EQ(device.DrawPrimitiveUP(D3DPT_POINTLIST, 1, v, 16), D3DERR_INVALIDCALL);
    EXPECT_EQ(device.DrawPrimitiveUP(D3DPT_LINELIST, 1, nullptr, 16), D3DERR_INVALIDCALL);
    EXPECT_EQ(device.DrawPrimitiveUP(D3DPT_LINELIST, 1, v, 8), D3DERR_INVALIDCALL);
    EXPECT_EQ(device.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 2, 1, nullptr, D3DFMT_INDEX16, v, 16),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device.SetTransform(D3DTS_WORLD, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device.SetTextureStageState(SoftwareDevice::TextureStages, D3DTSS_COLOROP, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(device.GetRenderState(D3DRS_LIGHTING, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device.Reset(nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device.Clear(1, nullptr, D3DCLEAR_TARGET, red, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_TRUE(device.GetDrawCalls().empty());
    // Index 2 is past the two vertices given: the triangle is skipped, not read.
    device.SetFVF(D3DFVF_XYZ);
    EXPECT_EQ(device.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 2, 1, indices, D3DFMT_INDEX16, v, 16), D3D_OK);
    EXPECT_EQ(device.GetPixel(1, 10), black);
}

TEST_F(SoftwareDeviceTest, CullingFollowsTheWinding) {
    const struct {
        DWORD cull;
        bool reversed;
        bool drawn;
    } cases[] = {{D3DCULL_CCW, false, true}, {D3DCULL_CCW, true, false}, {D3DCULL_CW, false, false},
                 {D3DCULL_CW, true, true},   {D3DCULL_NONE, true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "cull " << c.cull << " reversed " << c.reversed);
        device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, black, 1.0f, 0);
        device.SetRenderState(D3DRS_CULLMODE, c.cull);
        Triangle(0.5f, red, c.reversed);
        EXPECT_EQ(device.GetPixel(1, 10), c.drawn ? red : black);
        EXPECT_EQ(device.GetPixel(18, 10), black);  // outside the triangle
    }
}

TEST_F(SoftwareDeviceTest, DepthTestKeepsTheNearerWhateverTheOrder) {
    Triangle(0.3f, blue);
    Triangle(0.6f, red);
    EXPECT_EQ(device.GetPixel(2, 10), blue);
    device.SetRenderState(D3DRS_ZENABLE, 0);
    Triangle(0.6f, red);
    EXPECT_EQ(device.GetPixel(2, 10), red);
}

TEST_F(SoftwareDeviceTest, AlphaBlendingMixesWithWhatIsThere) {
    Triangle(0.5f, blue);
    device.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    device.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    Triangle(0.4f, D3DCOLOR_ARGB(128, 255, 0, 0));
    D3DCOLOR mixed = device.GetPixel(2, 10);
    EXPECT_NEAR(int((mixed >> 16) & 0xFF), 128, 1);
    EXPECT_NEAR(int(mixed & 0xFF), 127, 1);
}

TEST_F(SoftwareDeviceTest, LinesTakeTheirVertexColours) {
    ColouredVertex line[4] = {{-1, 0.05f, 0.5f, red}, {1, 0.05f, 0.5f, red},        // across the middle row
                              {-1e9f, -0.5f, 0.5f, blue}, {1e9f, -0.5f, 0.5f, blue}};  // far off both sides
    ASSERT_EQ(device.DrawPrimitiveUP(D3DPT_LINELIST, 2, line, sizeof(ColouredVertex)), D3D_OK);
    for (int x = 0; x < 20; ++x) {
        EXPECT_EQ(device.GetPixel(x, 9), red) << x;
        EXPECT_EQ(device.GetPixel(x, 15), blue) << x;
    }
    EXPECT_EQ(device.GetPixel(5, 5), black);
}

TEST_F(SoftwareDeviceTest, LitMeshesShowEmissivePlusDiffuseFacingTheEye) {
    D3DMATERIAL9 material;
    material.Diffuse = {0.5f, 0.0f, 0.0f, 1.0f};
    material.Emissive = {0.0f, 0.0f, 0.25f, 1.0f};
    device.SetMaterial(&material);
    device.SetRenderState(D3DRS_LIGHTING, 1);
    LookAtTheOrigin();
    float square[4][3] = {{-1, -1, 0}, {-1, 1, 0}, {1, 1, 0}, {1, -1, 0}};  // facing the eye
    std::uint16_t faces[6] = {0, 1, 2, 0, 2, 3};
    ASSERT_EQ(device.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, faces, D3DFMT_INDEX16, square, 12), D3D_OK);
    D3DCOLOR centre = device.GetPixel(10, 10);
    EXPECT_NEAR(int((centre >> 16) & 0xFF), 127, 3);  // the full diffuse, the eye looks straight on
    EXPECT_EQ(int(centre & 0xFF), 64);                // the emissive
    EXPECT_EQ(device.GetPixel(0, 0), black);
}

TEST_F(SoftwareDeviceTest, LostDeviceDrawsNothingUntilReset) {
    device.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device.LoseDevice();
    EXPECT_EQ(device.TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(Triangle(0.5f, red), D3D_OK);
    EXPECT_EQ(device.GetPixel(2, 10), black);
    EXPECT_EQ(device.GetDrawCalls().size(), 1u);  // still kept

    D3DPRESENT_PARAMETERS parameters;
    parameters.BackBufferWidth = 40;
    ASSERT_EQ(device.Reset(&parameters), D3D_OK);
    EXPECT_EQ(device.TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(device.GetWidth(), 40);
    EXPECT_EQ(device.GetHeight(), 20);
    // Reset brings every state back to its default.
    const std::pair<D3DRENDERSTATETYPE, DWORD> defaults[] = {
        {D3DRS_CULLMODE, D3DCULL_CCW}, {D3DRS_LIGHTING, 1}, {D3DRS_ALPHABLENDENABLE, 0},
        {D3DRS_SRCBLEND, D3DBLEND_ONE}, {D3DRS_DESTBLEND, D3DBLEND_ZERO}, {D3DRS_ZENABLE, 1}};
    for (const auto& [state, value] : defaults) {
        DWORD current = 99;
        device.GetRenderState(state, &current);
        EXPECT_EQ(current, value) << state;
    }
    DWORD colourOp = 0;
    device.GetTextureStageState(0, D3DTSS_COLOROP, &colourOp);
    EXPECT_EQ(colourOp, DWORD(D3DTOP_MODULATE));
}

// Geometry behind the eye, past the far plane or out of float range is dropped, never drawn
// with wrapped coordinates.
TEST_F(SoftwareDeviceTest, DropsWhatCannotBeProjected) {
    LookAtTheOrigin();
    device.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    const float huge = 3e38f;
    const ColouredVertex triangles[][3] = {
        {{-1, -1, -6, red}, {-1, 1, 0, red}, {1, -1, 0, red}},          // one corner behind the eye
        {{-1, -1, 200, red}, {-1, 1, 200, red}, {1, -1, 200, red}},     // beyond the far plane
        {{-huge, -1, 0, red}, {-1, huge, 0, red}, {1, -1, 0, red}},     // out of range once transformed
        {{NAN, -1, 0, red}, {-1, 1, 0, red}, {1, -1, 0, red}},
    };
    for (const auto& triangle : triangles) {
        EXPECT_EQ(device.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(ColouredVertex)), D3D_OK);
        EXPECT_EQ(device.DrawPrimitiveUP(D3DPT_LINELIST, 1, triangle, sizeof(ColouredVertex)), D3D_OK);
    }
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(device.GetPixel(x, y), black) << x << "," << y;
}

TEST_F(SoftwareDeviceTest, SavedPictureReadsBackPixelForPixel) {
    Triangle(0.5f, D3DCOLOR_ARGB(200, 10, 20, 30));
    const std::string path = "software_device_picture.png";
    std::remove(path.c_str());
    ASSERT_TRUE(device.SavePng(path));
    PngPicture picture;
    ASSERT_TRUE(ReadPng(path, picture));
    ASSERT_EQ(picture.width, 20u);
    ASSERT_EQ(picture.height, 20u);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(picture.At(x, y), device.GetPixel(x, y)) << x << "," << y;
    EXPECT_FALSE(std::ifstream(path + ".part").good());

    // A folder that does not exist: nothing written, nothing left behind.
    EXPECT_FALSE(device.SavePng("no_such_folder/picture.png"));
    EXPECT_FALSE(device.SavePng(""));
}

}  // namespace
