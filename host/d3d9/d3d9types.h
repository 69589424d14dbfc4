#pragma once
// The Direct3D 9 records, states and flags the debug renderer uses, at their published values.
#include <cstdint>

#include "storyloom/host/d3d9/D3DResults.h"
#include "storyloom/host/d3d9/d3dx9math.h"

typedef std::uint32_t DWORD;
typedef unsigned int UINT;
typedef unsigned long ULONG;
typedef DWORD D3DCOLOR;
using D3DMATRIX = D3DXMATRIX;

constexpr HRESULT D3D_OK = S_OK;

constexpr D3DCOLOR D3DCOLOR_ARGB(unsigned a, unsigned r, unsigned g, unsigned b) {
    return ((a & 0xFFu) << 24) | ((r & 0xFFu) << 16) | ((g & 0xFFu) << 8) | (b & 0xFFu);
}

struct D3DCOLORVALUE {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 0.0f;
};

struct D3DMATERIAL9 {
    D3DCOLORVALUE Diffuse;
    D3DCOLORVALUE Ambient;
    D3DCOLORVALUE Specular;
    D3DCOLORVALUE Emissive;
    float Power = 0.0f;
};

struct D3DRECT {
    long x1, y1, x2, y2;
};

// Only the back buffer size: the software device has no window, format or swap chain.
struct D3DPRESENT_PARAMETERS {
    UINT BackBufferWidth = 0;
    UINT BackBufferHeight = 0;
};

enum D3DTRANSFORMSTATETYPE : DWORD { D3DTS_VIEW = 2, D3DTS_PROJECTION = 3, D3DTS_WORLD = 256 };

enum D3DRENDERSTATETYPE : DWORD {
    D3DRS_ZENABLE = 7,
    D3DRS_ZWRITEENABLE = 14,
    D3DRS_SRCBLEND = 19,
    D3DRS_DESTBLEND = 20,
    D3DRS_CULLMODE = 22,
    D3DRS_ALPHABLENDENABLE = 27,
    D3DRS_LIGHTING = 137,
};

enum D3DBLEND : DWORD { D3DBLEND_ZERO = 1, D3DBLEND_ONE = 2, D3DBLEND_SRCALPHA = 5, D3DBLEND_INVSRCALPHA = 6 };

enum D3DCULL : DWORD { D3DCULL_NONE = 1, D3DCULL_CW = 2, D3DCULL_CCW = 3 };

enum D3DTEXTURESTAGESTATETYPE : DWORD {
    D3DTSS_COLOROP = 1,
    D3DTSS_COLORARG1 = 2,
    D3DTSS_COLORARG2 = 3,
    D3DTSS_ALPHAOP = 4,
    D3DTSS_ALPHAARG1 = 5,
    D3DTSS_ALPHAARG2 = 6,
};

enum D3DTEXTUREOP : DWORD { D3DTOP_DISABLE = 1, D3DTOP_SELECTARG1 = 2, D3DTOP_SELECTARG2 = 3, D3DTOP_MODULATE = 4 };

constexpr DWORD D3DTA_DIFFUSE = 0;
constexpr DWORD D3DTA_CURRENT = 1;
constexpr DWORD D3DTA_TEXTURE = 2;

enum D3DPRIMITIVETYPE : DWORD { D3DPT_POINTLIST = 1, D3DPT_LINELIST = 2, D3DPT_LINESTRIP = 3, D3DPT_TRIANGLELIST = 4 };

enum D3DFORMAT : DWORD { D3DFMT_INDEX16 = 101, D3DFMT_INDEX32 = 102 };

constexpr DWORD D3DFVF_XYZ = 0x002;
constexpr DWORD D3DFVF_NORMAL = 0x010;
constexpr DWORD D3DFVF_DIFFUSE = 0x040;

constexpr DWORD D3DCLEAR_TARGET = 0x1;
constexpr DWORD D3DCLEAR_ZBUFFER = 0x2;
