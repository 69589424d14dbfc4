#pragma once
#include <cstdint>

// Result codes as the COM and Direct3D 9 headers define them, so a code received from the
// device stand-in compares equal to the named constant.
typedef std::int32_t HRESULT;

constexpr HRESULT S_OK = 0;
constexpr HRESULT MAKE_D3DHRESULT(unsigned code) {
    return static_cast<HRESULT>(0x88760000u | code);
}
constexpr HRESULT MAKE_D3DSTATUS(unsigned code) {
    return static_cast<HRESULT>(0x08760000u | code);
}
constexpr bool SUCCEEDED(HRESULT result) { return result >= 0; }
constexpr bool FAILED(HRESULT result) { return result < 0; }

// The results that have a name in reports: one table, used for the constants below and for
// the name lookup of AppendResultName.
#define STORYLOOM_NAMED_RESULTS(X)                                   \
    X(E_ABORT, static_cast<HRESULT>(0x80004004u))                    \
    X(E_ACCESSDENIED, static_cast<HRESULT>(0x80070005u))             \
    X(E_FAIL, static_cast<HRESULT>(0x80004005u))                     \
    X(E_INVALIDARG, static_cast<HRESULT>(0x80070057u))               \
    X(E_NOINTERFACE, static_cast<HRESULT>(0x80004002u))              \
    X(E_NOTIMPL, static_cast<HRESULT>(0x80004001u))                  \
    X(E_OUTOFMEMORY, static_cast<HRESULT>(0x8007000Eu))              \
    X(E_UNEXPECTED, static_cast<HRESULT>(0x8000FFFFu))               \
    X(E_HANDLE, static_cast<HRESULT>(0x80070006u))                   \
    X(E_PENDING, static_cast<HRESULT>(0x8000000Au))                  \
    X(E_POINTER, static_cast<HRESULT>(0x80004003u))                  \
    X(D3DERR_WRONGTEXTUREFORMAT, MAKE_D3DHRESULT(2072))              \
    X(D3DERR_UNSUPPORTEDCOLOROPERATION, MAKE_D3DHRESULT(2073))       \
    X(D3DERR_UNSUPPORTEDCOLORARG, MAKE_D3DHRESULT(2074))             \
    X(D3DERR_UNSUPPORTEDALPHAOPERATION, MAKE_D3DHRESULT(2075))       \
    X(D3DERR_UNSUPPORTEDALPHAARG, MAKE_D3DHRESULT(2076))             \
    X(D3DERR_TOOMANYOPERATIONS, MAKE_D3DHRESULT(2077))               \
    X(D3DERR_CONFLICTINGTEXTUREFILTER, MAKE_D3DHRESULT(2078))        \
    X(D3DERR_UNSUPPORTEDFACTORVALUE, MAKE_D3DHRESULT(2079))          \
    X(D3DERR_CONFLICTINGRENDERSTATE, MAKE_D3DHRESULT(2081))          \
    X(D3DERR_UNSUPPORTEDTEXTUREFILTER, MAKE_D3DHRESULT(2082))        \
    X(D3DERR_CONFLICTINGTEXTUREPALETTE, MAKE_D3DHRESULT(2086))       \
    X(D3DERR_DRIVERINTERNALERROR, MAKE_D3DHRESULT(2087))             \
    X(D3DERR_NOTFOUND, MAKE_D3DHRESULT(2150))                        \
    X(D3DERR_MOREDATA, MAKE_D3DHRESULT(2151))                        \
    X(D3DERR_DEVICELOST, MAKE_D3DHRESULT(2152))                      \
    X(D3DERR_DEVICENOTRESET, MAKE_D3DHRESULT(2153))                  \
    X(D3DERR_NOTAVAILABLE, MAKE_D3DHRESULT(2154))                    \
    X(D3DERR_OUTOFVIDEOMEMORY, MAKE_D3DHRESULT(380))                 \
    X(D3DERR_INVALIDDEVICE, MAKE_D3DHRESULT(2155))                   \
    X(D3DERR_INVALIDCALL, MAKE_D3DHRESULT(2156))                     \
    X(D3DERR_DRIVERINVALIDCALL, MAKE_D3DHRESULT(2157))               \
    X(D3DERR_WASSTILLDRAWING, MAKE_D3DHRESULT(540))                  \
    X(D3DOK_NOAUTOGEN, MAKE_D3DSTATUS(2159))                         \
    X(D3DXERR_CANNOTMODIFYINDEXBUFFER, MAKE_D3DHRESULT(2900))        \
    X(D3DXERR_INVALIDMESH, MAKE_D3DHRESULT(2901))                    \
    X(D3DXERR_CANNOTATTRSORT, MAKE_D3DHRESULT(2902))                 \
    X(D3DXERR_SKINNINGNOTSUPPORTED, MAKE_D3DHRESULT(2903))           \
    X(D3DXERR_TOOMANYINFLUENCES, MAKE_D3DHRESULT(2904))              \
    X(D3DXERR_INVALIDDATA, MAKE_D3DHRESULT(2905))                    \
    X(D3DXERR_LOADEDMESHASNODATA, MAKE_D3DHRESULT(2906))             \
    X(D3DXERR_DUPLICATENAMEDFRAGMENT, MAKE_D3DHRESULT(2907))         \
    X(D3DXERR_CANNOTREMOVELASTITEM, MAKE_D3DHRESULT(2908))

#define STORYLOOM_DEFINE_RESULT(name, value) constexpr HRESULT name = value;
STORYLOOM_NAMED_RESULTS(STORYLOOM_DEFINE_RESULT)
#undef STORYLOOM_DEFINE_RESULT
