#pragma once

// The DirectDraw 7 subset the renderer uses: basic types, result codes, interface ids,
// structures and flags. Values that the renderer writes down literally (cooperative levels
// 0x413/0x693/0x408, lock flags 0x2021/0x2020, record sizes 32/100/380) are kept; the rest
// only need to be consistent within this layer.

#include "platform/win32/Window.h"

#include <cstdint>

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using LONG = int32_t;
using ULONG = uint32_t;
using BOOL = int32_t;
using HRESULT = int32_t;
using HANDLE = void*;
using HMONITOR = void*;
using LPVOID = void*;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

inline constexpr bool SUCCEEDED(HRESULT hr)
{
    return hr >= 0;
}
inline constexpr bool FAILED(HRESULT hr)
{
    return hr < 0;
}

struct GUID
{
    uint32_t Data1 = 0;
    uint16_t Data2 = 0;
    uint16_t Data3 = 0;
    uint8_t Data4[8] = {};

    friend bool operator==(const GUID&, const GUID&) = default;
};
static_assert(sizeof(GUID) == 16);
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

extern const IID IID_IUnknown;
extern const IID IID_IDirectDraw7;
extern const IID IID_IDirectDrawSurface7;
extern const IID IID_IDirect3D7;
extern const IID IID_IDirect3DDevice7;
extern const IID IID_IDirect3DVertexBuffer7;
// Direct3D device types.
extern const IID IID_IDirect3DTnLHalDevice;
extern const IID IID_IDirect3DHALDevice;
extern const IID IID_IDirect3DRGBDevice;

// ---- Result codes -------------------------------------------------------------------------
inline constexpr HRESULT MakeDDResult(uint32_t uiCode)
{
    return static_cast<HRESULT>(0x88760000u | uiCode);
}

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT DD_OK = 0;
inline constexpr HRESULT D3D_OK = 0;
inline constexpr HRESULT DD_FALSE = S_FALSE;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);

inline constexpr HRESULT DDERR_GENERIC = E_FAIL;
inline constexpr HRESULT DDERR_OUTOFMEMORY = E_OUTOFMEMORY;
inline constexpr HRESULT DDERR_INVALIDPARAMS = E_INVALIDARG;
inline constexpr HRESULT DDERR_UNSUPPORTED = E_NOTIMPL;
inline constexpr HRESULT DDERR_INVALIDMODE = MakeDDResult(120);
inline constexpr HRESULT DDERR_INVALIDOBJECT = MakeDDResult(130);
inline constexpr HRESULT DDERR_INVALIDPIXELFORMAT = MakeDDResult(145);
inline constexpr HRESULT DDERR_INVALIDRECT = MakeDDResult(150);
inline constexpr HRESULT DDERR_NOTFOUND = MakeDDResult(255);
inline constexpr HRESULT DDERR_OUTOFVIDEOMEMORY = MakeDDResult(380);
inline constexpr HRESULT DDERR_SURFACEALREADYATTACHED = MakeDDResult(410);
inline constexpr HRESULT DDERR_SURFACEBUSY = MakeDDResult(430);
inline constexpr HRESULT DDERR_CANTLOCKSURFACE = MakeDDResult(435);
inline constexpr HRESULT DDERR_SURFACELOST = MakeDDResult(450);
inline constexpr HRESULT DDERR_SURFACENOTATTACHED = MakeDDResult(460);
inline constexpr HRESULT DDERR_WASSTILLDRAWING = MakeDDResult(540);
inline constexpr HRESULT DDERR_NOPALETTEATTACHED = MakeDDResult(545);
inline constexpr HRESULT DDERR_NOCLIPPERATTACHED = MakeDDResult(550);
inline constexpr HRESULT DDERR_NOTLOCKED = MakeDDResult(584);
inline constexpr HRESULT DDERR_NOCOOPERATIVELEVELSET = MakeDDResult(600);
inline constexpr HRESULT DDERR_NOEXCLUSIVEMODE = MakeDDResult(610);

// ---- Records ------------------------------------------------------------------------------
struct DDSCAPS2
{
    DWORD dwCaps = 0;
    DWORD dwCaps2 = 0;
    DWORD dwCaps3 = 0;
    DWORD dwCaps4 = 0;
};

struct DDPIXELFORMAT
{
    DWORD dwSize = 0;
    DWORD dwFlags = 0;
    DWORD dwFourCC = 0;
    union
    {
        DWORD dwRGBBitCount = 0;
        DWORD dwZBufferBitDepth;
    };
    union
    {
        DWORD dwRBitMask = 0;
        DWORD dwStencilBitDepth;
    };
    union
    {
        DWORD dwGBitMask = 0;
        DWORD dwZBitMask;
    };
    union
    {
        DWORD dwBBitMask = 0;
        DWORD dwStencilBitMask;
    };
    union
    {
        DWORD dwRGBAlphaBitMask = 0;
        DWORD dwRGBZBitMask;
    };
};
static_assert(sizeof(DDPIXELFORMAT) == 32);

struct DDCOLORKEY
{
    DWORD dwColorSpaceLowValue = 0;
    DWORD dwColorSpaceHighValue = 0;
};

struct DDSURFACEDESC2
{
    DWORD dwSize = 0;
    DWORD dwFlags = 0;
    DWORD dwHeight = 0;
    DWORD dwWidth = 0;
    LONG lPitch = 0;
    DWORD dwBackBufferCount = 0;
    DWORD dwMipMapCount = 0;
    DWORD dwRefreshRate = 0;
    DWORD dwAlphaBitDepth = 0;
    LPVOID lpSurface = nullptr;
    DDCOLORKEY ddckCKSrcBlt;
    DDPIXELFORMAT ddpfPixelFormat;
    DDSCAPS2 ddsCaps;
    DWORD dwTextureStage = 0;
};

// Only the size and the first words are ever read; the rest pads the record to the size
// callers put in dwSize.
struct DDCAPS
{
    DWORD dwSize = 0;
    DWORD dwCaps = 0;
    DWORD dwCaps2 = 0;
    DWORD dwCKeyCaps = 0;
    DWORD dwFXCaps = 0;
    DWORD dwPalCaps = 0;
    DWORD dwVidMemTotal = 0;
    DWORD dwVidMemFree = 0;
    DWORD dwReserved[87] = {};
};
static_assert(sizeof(DDCAPS) == 380);

struct DDBLTFX
{
    DWORD dwSize = 0;
    DWORD dwDDFX = 0;
    DWORD dwFillColor = 0;
    DWORD dwReserved[22] = {};
};
static_assert(sizeof(DDBLTFX) == 100);

struct DDDEVICEIDENTIFIER2
{
    char szDriver[512] = {};
    char szDescription[512] = {};
    DWORD dwVendorId = 0;
    DWORD dwDeviceId = 0;
    GUID guidDeviceIdentifier;
};

struct PALETTEENTRY
{
    BYTE peRed = 0;
    BYTE peGreen = 0;
    BYTE peBlue = 0;
    BYTE peFlags = 0;
};

// ---- Flags --------------------------------------------------------------------------------
// DDSURFACEDESC2::dwFlags
inline constexpr DWORD DDSD_CAPS = 0x00000001;
inline constexpr DWORD DDSD_HEIGHT = 0x00000002;
inline constexpr DWORD DDSD_WIDTH = 0x00000004;
inline constexpr DWORD DDSD_PITCH = 0x00000008;
inline constexpr DWORD DDSD_BACKBUFFERCOUNT = 0x00000020;
inline constexpr DWORD DDSD_LPSURFACE = 0x00000800;
inline constexpr DWORD DDSD_PIXELFORMAT = 0x00001000;
inline constexpr DWORD DDSD_CKSRCBLT = 0x00010000;
inline constexpr DWORD DDSD_MIPMAPCOUNT = 0x00020000;
inline constexpr DWORD DDSD_REFRESHRATE = 0x00040000;
inline constexpr DWORD DDSD_TEXTURESTAGE = 0x00100000;

// DDSCAPS2::dwCaps
inline constexpr DWORD DDSCAPS_BACKBUFFER = 0x00000004;
inline constexpr DWORD DDSCAPS_COMPLEX = 0x00000008;
inline constexpr DWORD DDSCAPS_FLIP = 0x00000010;
inline constexpr DWORD DDSCAPS_FRONTBUFFER = 0x00000020;
inline constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x00000040;
inline constexpr DWORD DDSCAPS_PRIMARYSURFACE = 0x00000200;
inline constexpr DWORD DDSCAPS_SYSTEMMEMORY = 0x00000800;
inline constexpr DWORD DDSCAPS_TEXTURE = 0x00001000;
inline constexpr DWORD DDSCAPS_3DDEVICE = 0x00002000;
inline constexpr DWORD DDSCAPS_VIDEOMEMORY = 0x00004000;
inline constexpr DWORD DDSCAPS_ZBUFFER = 0x00020000;
inline constexpr DWORD DDSCAPS_MIPMAP = 0x00400000;
inline constexpr DWORD DDSCAPS_LOCALVIDMEM = 0x10000000;
inline constexpr DWORD DDSCAPS_NONLOCALVIDMEM = 0x20000000;

// DDPIXELFORMAT::dwFlags
inline constexpr DWORD DDPF_ALPHAPIXELS = 0x00000001;
inline constexpr DWORD DDPF_PALETTEINDEXED8 = 0x00000020;
inline constexpr DWORD DDPF_RGB = 0x00000040;
inline constexpr DWORD DDPF_ZBUFFER = 0x00000400;
inline constexpr DWORD DDPF_STENCILBUFFER = 0x00004000;

// DDCAPS
inline constexpr DWORD DDCAPS_3D = 0x00000001;
inline constexpr DWORD DDCAPS2_CANRENDERWINDOWED = 0x00080000;

// SetCooperativeLevel
inline constexpr DWORD DDSCL_FULLSCREEN = 0x00000001;
inline constexpr DWORD DDSCL_ALLOWREBOOT = 0x00000002;
inline constexpr DWORD DDSCL_NORMAL = 0x00000008;
inline constexpr DWORD DDSCL_EXCLUSIVE = 0x00000010;
inline constexpr DWORD DDSCL_SETFOCUSWINDOW = 0x00000080;
inline constexpr DWORD DDSCL_CREATEDEVICEWINDOW = 0x00000200;
inline constexpr DWORD DDSCL_MULTITHREADED = 0x00000400;

// Lock (also the vertex buffers' Lock)
inline constexpr DWORD DDLOCK_WAIT = 0x00000001;
inline constexpr DWORD DDLOCK_READONLY = 0x00000010;
inline constexpr DWORD DDLOCK_WRITEONLY = 0x00000020;
inline constexpr DWORD DDLOCK_DISCARDCONTENTS = 0x00002000;

// Blt
inline constexpr DWORD DDBLT_COLORFILL = 0x00000400;
inline constexpr DWORD DDBLT_DDFX = 0x00000800;
inline constexpr DWORD DDBLT_KEYSRC = 0x00008000;
inline constexpr DWORD DDBLT_WAIT = 0x01000000;
inline constexpr DWORD DDBLTFX_NOTEARING = 0x00000008;

// Flip
inline constexpr DWORD DDFLIP_WAIT = 0x00000001;

// SetColorKey
inline constexpr DWORD DDCKEY_SRCBLT = 0x00000008;

// CreatePalette
inline constexpr DWORD DDPCAPS_8BIT = 0x00000004;
inline constexpr DWORD DDPCAPS_ALLOW256 = 0x00000040;

// Enumeration
inline constexpr BOOL DDENUMRET_CANCEL = 0;
inline constexpr BOOL DDENUMRET_OK = 1;
inline constexpr DWORD DDENUM_ATTACHEDSECONDARYDEVICES = 0x00000001;
inline constexpr DWORD DDENUM_DETACHEDSECONDARYDEVICES = 0x00000002;
inline constexpr DWORD DDENUM_NONDISPLAYDEVICES = 0x00000004;

// Render bit depths (D3DDEVICEDESC7::dwDeviceRenderBitDepth)
inline constexpr DWORD DDBD_8 = 0x00000800;
inline constexpr DWORD DDBD_16 = 0x00000400;
inline constexpr DWORD DDBD_24 = 0x00000200;
inline constexpr DWORD DDBD_32 = 0x00000100;

class IDirectDrawSurface7;
using LPDDENUMCALLBACKA = BOOL (*)(GUID* pkGuid, char* pcDescription, char* pcName, LPVOID pvContext);
using LPDDENUMCALLBACKEXA = BOOL (*)(GUID* pkGuid, char* pcDescription, char* pcName, LPVOID pvContext,
                                     HMONITOR hMonitor);
using LPDDENUMMODESCALLBACK2 = HRESULT (*)(DDSURFACEDESC2* pkDesc, LPVOID pvContext);
