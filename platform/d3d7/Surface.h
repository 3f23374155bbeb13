#pragma once

#include "platform/d3d7/ComObject.h"
#include "platform/d3d7/IDirectDrawSurface7.h"

#include <memory>
#include <vector>

namespace d3d7
{
class Clipper;
class DirectDrawCore;
class Palette;

// Every kind of surface. Pixels live in memory (CPU copies of textures, recording-back-end
// render targets, read-back render targets); on the OpenGL back end render targets are
// framebuffer objects, z-buffers renderbuffers and video-memory textures GL textures
// uploaded when next bound after a change.
class Surface final : public ComObject<IDirectDrawSurface7>
{
public:
    enum class Kind
    {
        Primary,
        RenderTarget, // back buffers and offscreen targets, possibly also textures
        ZBuffer,
        Texture, // texture levels and plain memory surfaces
    };

    // Makes the surfaces a CreateSurface request describes; the result carries a reference.
    static HRESULT Create(const std::shared_ptr<DirectDrawCore>& pkCore, const DDSURFACEDESC2& kRequest,
                          Surface** ppkSurface);

    HRESULT Lock(RECT* pkRect, DDSURFACEDESC2* pkDesc, DWORD dwFlags, HANDLE hEvent) override;
    HRESULT Unlock(RECT* pkRect) override;
    HRESULT GetSurfaceDesc(DDSURFACEDESC2* pkDesc) override;
    HRESULT SetSurfaceDesc(DDSURFACEDESC2* pkDesc, DWORD dwFlags) override;
    HRESULT GetAttachedSurface(DDSCAPS2* pkCaps, IDirectDrawSurface7** ppkSurface) override;
    HRESULT AddAttachedSurface(IDirectDrawSurface7* pkSurface) override;
    HRESULT DeleteAttachedSurface(DWORD dwFlags, IDirectDrawSurface7* pkSurface) override;
    HRESULT Blt(RECT* pkDestRect, IDirectDrawSurface7* pkSource, RECT* pkSourceRect, DWORD dwFlags,
                DDBLTFX* pkFX) override;
    HRESULT Flip(IDirectDrawSurface7* pkTargetOverride, DWORD dwFlags) override;
    HRESULT IsLost() override;
    HRESULT Restore() override;
    HRESULT SetClipper(IDirectDrawClipper* pkClipper) override;
    HRESULT SetColorKey(DWORD dwFlags, DDCOLORKEY* pkColorKey) override;
    HRESULT GetColorKey(DWORD dwFlags, DDCOLORKEY* pkColorKey) override;
    HRESULT SetPalette(IDirectDrawPalette* pkPalette) override;
    HRESULT GetPalette(IDirectDrawPalette** ppkPalette) override;

    // ---- Inside the layer -------------------------------------------------------------------
    Kind GetKind() const { return m_eKind; }
    DWORD GetWidth() const { return m_dwWidth; }
    DWORD GetHeight() const { return m_dwHeight; }
    DWORD GetCaps() const { return m_dwCaps; }
    const DDPIXELFORMAT& GetFormat() const { return m_kFormat; }
    bool IsTexture() const { return (m_dwCaps & DDSCAPS_TEXTURE) != 0; }
    bool IsLostFlag() const { return m_bLost; }
    void SetLost(bool bLost) { m_bLost = bLost; }
    // Ends a loss: the contents are gone, so the surface starts cleared.
    void RestoreContents();
    DirectDrawCore& GetCore() const { return *m_pkCore; }
    Surface* GetZBuffer() const { return m_kZBuffer.Get(); }
    Surface* GetNextLevel() const { return m_kNextLevel.Get(); }
    uint32_t GetLevelCount() const;
    bool HasColorKey() const { return m_bHasColorKey; }
    const DDCOLORKEY& ColorKey() const { return m_kColorKey; }
    const PALETTEENTRY* PaletteEntries() const;

    // Memory pixels (null for surfaces without memory).
    uint8_t* Pixels() const { return m_pucPixels; }
    LONG Pitch() const { return m_lPitch; }
    // Row-0-top A8R8G8B8 pixels of a rectangle of the surface (render targets read back).
    bool ReadPixels(const RECT& kRect, std::vector<uint32_t>& kPixels);
    // The same into memory of the caller's with room for the rectangle, rows its width apart.
    bool ReadPixels(const RECT& kRect, uint32_t* puiPixels);
    // Fills a rectangle with a colour (recording render targets and memory surfaces).
    void FillMemory(const RECT& kRect, uint32_t uiARGB);
    // The top level of a mip chain has its own texture changed when any level changes.
    void MarkChanged();

    // GL objects (zero when absent).
    uint32_t uiFramebuffer = 0;
    uint32_t uiColorBuffer = 0; // renderbuffer, or the texture of a render-target texture
    uint32_t uiDepthBuffer = 0; // z-buffers: the renderbuffer
    uint32_t uiTexture = 0;     // video-memory textures (top level only)
    bool bTextureStale = true;

private:
    Surface(const std::shared_ptr<DirectDrawCore>& pkCore, Kind eKind, DWORD dwWidth, DWORD dwHeight,
            const DDPIXELFORMAT& kFormat, DWORD dwCaps);
    ~Surface() override;

    static HRESULT CreateChain(const std::shared_ptr<DirectDrawCore>& pkCore, Kind eKind, DWORD dwWidth,
                               DWORD dwHeight, const DDPIXELFORMAT& kFormat, DWORD dwCaps, uint32_t uiLevels,
                               Surface** ppkSurface);
    void AllocateMemory();
    bool ValidRect(const RECT* pkRect, RECT& kRect) const;
    HRESULT Present(Surface* pkBackBuffer, HWND hWnd);
    HWND PresentWindow() const;

    std::shared_ptr<DirectDrawCore> m_pkCore;
    Kind m_eKind;
    DWORD m_dwWidth;
    DWORD m_dwHeight;
    DDPIXELFORMAT m_kFormat;
    DWORD m_dwCaps;
    DWORD m_dwCharged = 0;

    std::vector<uint8_t> m_kMemory;
    uint8_t* m_pucPixels = nullptr;
    LONG m_lPitch = 0;
    uint32_t m_uiLocks = 0;

    ComRef<Surface> m_kBackBuffer; // primary flip chains
    ComRef<Surface> m_kZBuffer;
    ComRef<Surface> m_kNextLevel; // mip chains
    Surface* m_pkTopLevel = nullptr;
    std::vector<Surface*> m_kLowerLevels;
    ComRef<Clipper> m_kClipper;
    ComRef<Palette> m_kPalette;
    DDCOLORKEY m_kColorKey;
    bool m_bHasColorKey = false;
    bool m_bLost = false;
};
} // namespace d3d7
