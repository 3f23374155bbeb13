#pragma once

#include "platform/d3d7/DDrawTypes.h"
#include "scene/graph/NiPixelLayout.h"
#include "scene/object/NiRefPtr.h"

#include <cstdint>

class IDirectDrawClipper;
class IDirectDrawSurface7;
class NiDDBufferImage;
class NiDirectDrawDevice;

// The surfaces the renderer draws into and presents: a front surface, a back surface (the
// render target), an optional z-buffer, a clipper for windowed output, and the buffer images
// through which the rest of the system reads them. Windowed (the back surface is copied into
// the window's part of the primary), fullscreen (a flip chain) or an offscreen texture target.
// Counted: made with one reference; the last release destroys it, and with it its reference on
// the DirectDraw device object.
class NiD3DFramebuffer
{
public:
    enum Kind : int32_t
    {
        KIND_WINDOWED = 0,
        KIND_FULLSCREEN = 1,
        KIND_OFFSCREEN_TEXTURE = 2
    };
    // Creation flags this class reads.
    static constexpr uint32_t CREATE_32_BIT = 0x10;
    static constexpr uint32_t CREATE_TRIPLE_BUFFER = 0x20;
    // Flag: the z-buffer was found attached to the back surface (never detached here).
    static constexpr uint32_t FLAG_FOUND_ATTACHED_Z = 0x20;

    // Windowed or fullscreen surfaces for a window; null with the error logged when any step fails
    // (nothing partly made survives).
    static NiD3DFramebuffer* Create(NiDirectDrawDevice* pkDevice, bool bFullscreen, uint32_t uiCreationFlags,
                                    uint32_t uiWidth, uint32_t uiHeight, HWND hWindow, HWND hTopWindow,
                                    bool bHardware);
    // Around surfaces an application made.
    static NiD3DFramebuffer* CreateFromSurfaces(NiDirectDrawDevice* pkDevice, bool bFullscreen, HWND hWindow,
                                                IDirectDrawSurface7* pkFront, IDirectDrawSurface7* pkBack);
    // A render target that can also serve as a texture.
    static NiD3DFramebuffer* CreateOffscreen(NiDirectDrawDevice* pkDevice, uint32_t uiWidth,
                                             uint32_t uiHeight);

    void IncRef() { ++m_iRefCount; }
    void DecRef();

    // A z-buffer of the format on the back surface: the one already attached, else a new one.
    bool AttachZBuffer(bool bHardware, const DDPIXELFORMAT& kFormat);
    // Takes off a z-buffer this framebuffer attached; false when it was found attached.
    bool DetachZBuffer();

    // Presents the back surface; false (nothing presented) while a surface is lost. Advances the
    // buffer images' revisions.
    bool Swap();
    bool IsLost() const;
    bool Restore();

    Kind GetKind() const { return m_eKind; }
    uint32_t GetFlags() const { return m_uiFlags; }
    uint32_t GetWidth() const { return m_uiWidth; }
    uint32_t GetHeight() const { return m_uiHeight; }
    NiDirectDrawDevice* GetDevice() const { return m_pkDevice; }
    IDirectDrawSurface7* GetFrontSurface() const { return m_pkFront; }
    IDirectDrawSurface7* GetBackSurface() const { return m_pkBack; }
    IDirectDrawSurface7* GetZBuffer() const { return m_pkZBuffer; }
    NiDDBufferImage* GetFrontImage() const;
    NiDDBufferImage* GetBackImage() const;
    // The back surface's layout, with its format number.
    const NiPixelLayout& GetPixelLayout() const { return m_kLayout; }

private:
    NiD3DFramebuffer(NiDirectDrawDevice* pkDevice, Kind eKind);
    ~NiD3DFramebuffer();
    NiD3DFramebuffer(const NiD3DFramebuffer&) = delete;
    NiD3DFramebuffer& operator=(const NiD3DFramebuffer&) = delete;

    static NiD3DFramebuffer* Finish(NiD3DFramebuffer* pkBuffer, bool bSurfaces);
    bool CreateFullscreenSurfaces(uint32_t uiCreationFlags, HWND hTopWindow);
    bool CreateWindowedSurfaces(HWND hWindow, HWND hTopWindow, bool bHardware);
    bool CreateBackSurface(bool bHardware, bool bTexture);
    bool AttachClipper();
    bool ComputeLayout();
    bool CreateImages();

    NiDirectDrawDevice* m_pkDevice = nullptr;
    uint32_t m_uiFlags = 0;
    Kind m_eKind;
    NiRefPtr<NiDDBufferImage> m_spFrontImage;
    NiRefPtr<NiDDBufferImage> m_spBackImage;
    IDirectDrawSurface7* m_pkFront = nullptr;
    IDirectDrawSurface7* m_pkBack = nullptr;
    IDirectDrawSurface7* m_pkZBuffer = nullptr;
    // Whether this framebuffer holds a reference on the back surface.
    bool m_bBackCounted = true;
    NiPixelLayout m_kLayout;
    uint32_t m_uiHeight = 0;
    uint32_t m_uiWidth = 0;
    IDirectDrawClipper* m_pkClipper = nullptr;
    HWND m_hWindow = nullptr;
    DDBLTFX m_kBltFx;
    int32_t m_iRefCount = 1;
};
