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

constexpr D3DCOLOR black = D3DCOLOR_ARGB(255, 0, 0, 0), red = D3DCOLOR_ARGB(255, 255, 0, 0), blue = D3DCOLOR_ARGB(255, 0, 0, 255);

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
};

// Refused calls answer D3DERR_INVALIDCALL and draw nothing; an index past the vertices given
// skips its triangle instead of reading beyond them.
TEST_F(SoftwareDeviceTest, RefusesWhatItCannotDo) {
    ColouredVertex v[2] = {};
    std::uint16_t indices[3] = {0, 1, 2};
    for (HRESULT result : {device.DrawPrimitiveUP(D3DPT_POINTLIST, 1, v, 16), device.DrawPrimitiveUP(D3DPT_LINELIST, 1, nullptr, 16),
                           device.DrawPrimitiveUP(D3DPT_LINELIST, 1, v, 8), device.SetTransform(D3DTS_WORLD, nullptr),
                           device.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 2, 1, nullptr, D3DFMT_INDEX16, v, 16),
                           device.SetTextureStageState(SoftwareDevice::TextureStages, D3DTSS_COLOROP, 1)})
        EXPECT_EQ(result, D3DERR_INVALIDCALL);
    device.SetFVF(D3DFVF_XYZ);
    EXPECT_EQ(device.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 2, 1, indices, D3DFMT_INDEX16, v, 16), D3D_OK);
    EXPECT_TRUE(device.GetPixel(1, 10) == black && device.GetDrawCalls().size() == 1u);
}

// Culling follows the winding; the nearer triangle wins unless depth testing is off; a
// half-transparent one mixes with what is there.
TEST_F(SoftwareDeviceTest, CullingDepthAndBlending) {
    const struct {
        DWORD cull;
        bool reversed, drawn;
    } cases[] = {{D3DCULL_CCW, false, true}, {D3DCULL_CCW, true, false}, {D3DCULL_CW, false, false}, {D3DCULL_CW, true, true},
                 {D3DCULL_NONE, true, true}};
    for (const auto& c : cases) {
        device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, black, 1.0f, 0);
        device.SetRenderState(D3DRS_CULLMODE, c.cull);
        Triangle(0.5f, red, c.reversed);
        EXPECT_TRUE(device.GetPixel(1, 10) == (c.drawn ? red : black) && device.GetPixel(18, 10) == black) << c.cull << c.reversed;
    }
    Triangle(0.3f, blue);
    Triangle(0.6f, red);
    EXPECT_EQ(device.GetPixel(2, 10), blue);
    device.SetRenderState(D3DRS_ZENABLE, 0);
    device.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    device.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    Triangle(0.4f, D3DCOLOR_ARGB(128, 255, 0, 0));
    EXPECT_NEAR(int((device.GetPixel(2, 10) >> 16) & 0xFF), 128, 1);
    EXPECT_NEAR(int(device.GetPixel(2, 10) & 0xFF), 127, 1);
}

// Lines take their vertex colours, also when they reach far beyond the buffer. Seen through a
// camera, geometry behind the eye, past the far plane or out of float range is dropped, never
// drawn with wrapped coordinates. (Lit meshes are in the pictures of the render tests.)
TEST_F(SoftwareDeviceTest, LinesAndWhatCannotBeProjected) {
    ColouredVertex line[4] = {{-1, 0.05f, 0.5f, red}, {1, 0.05f, 0.5f, red}, {-1e9f, -0.5f, 0.5f, blue}, {1e9f, -0.5f, 0.5f, blue}};
    ASSERT_EQ(device.DrawPrimitiveUP(D3DPT_LINELIST, 2, line, sizeof(ColouredVertex)), D3D_OK);
    for (int x = 0; x < 20; ++x) EXPECT_TRUE(device.GetPixel(x, 9) == red && device.GetPixel(x, 15) == blue) << x;
    device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, black, 1.0f, 0);
    D3DXMATRIX view, projection;
    D3DXVECTOR3 eye(0, 0, -5), at(0, 0, 0), up(0, 1, 0);
    device.SetTransform(D3DTS_VIEW, D3DXMatrixLookAtLH(&view, &eye, &at, &up));
    device.SetTransform(D3DTS_PROJECTION, D3DXMatrixPerspectiveFovLH(&projection, 1.0f, 1.0f, 0.1f, 100.0f));
    device.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    const float huge = 3e38f;
    const ColouredVertex dropped[][3] = {{{-1, -1, -6, red}, {-1, 1, 0, red}, {1, -1, 0, red}},  // behind the eye
                                         {{-1, -1, 200, red}, {-1, 1, 200, red}, {1, -1, 200, red}},
                                         {{-huge, -1, 0, red}, {-1, huge, 0, red}, {1, -1, 0, red}},
                                         {{NAN, -1, 0, red}, {-1, 1, 0, red}, {1, -1, 0, red}}};
    for (const auto& triangle : dropped)
        for (D3DPRIMITIVETYPE type : {D3DPT_TRIANGLELIST, D3DPT_LINELIST})
            EXPECT_EQ(device.DrawPrimitiveUP(type, 1, triangle, sizeof(ColouredVertex)), D3D_OK);
    for (int i = 0; i < 400; ++i) ASSERT_EQ(device.GetPixel(i % 20, i / 20), black) << i;
}

// A lost device keeps the draw calls it gets but draws nothing until Reset gives it its size.
TEST_F(SoftwareDeviceTest, LostDeviceDrawsNothingUntilReset) {
    device.LoseDevice();
    EXPECT_EQ(device.TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(Triangle(0.5f, red), D3D_OK);
    EXPECT_TRUE(device.GetPixel(2, 10) == black && device.GetDrawCalls().size() == 1u);
    D3DPRESENT_PARAMETERS parameters;
    parameters.BackBufferWidth = 40;
    ASSERT_EQ(device.Reset(&parameters), D3D_OK);
    EXPECT_TRUE(device.TestCooperativeLevel() == D3D_OK && device.GetWidth() == 40 && device.GetHeight() == 20);
}

// The picture reads back pixel for pixel; a folder that does not exist gets nothing, and no
// part file is left behind.
TEST_F(SoftwareDeviceTest, SavedPictureReadsBackPixelForPixel) {
    Triangle(0.5f, D3DCOLOR_ARGB(200, 10, 20, 30));
    const std::string path = "software_device_picture.png";
    PngPicture picture;
    ASSERT_TRUE(device.SavePng(path) && ReadPng(path, picture));
    std::remove(path.c_str());
    ASSERT_TRUE(picture.width == 20u && picture.height == 20u);
    for (int i = 0; i < 400; ++i) ASSERT_EQ(picture.At(i % 20, i / 20), device.GetPixel(i % 20, i / 20)) << i;
    EXPECT_FALSE(std::ifstream(path + ".part").good() || device.SavePng("no_such_folder/picture.png") || device.SavePng(""));
}

}  // namespace
