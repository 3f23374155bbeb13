#pragma once

#include "platform/d3d7/D3DTypes.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace d3d7
{
class Surface;

// The OpenGL context of one DirectDraw object (EGL, offscreen: surfaceless where the driver
// allows it, else a 1x1 pbuffer) and the surface operations done in it. Every call makes
// the context current first.
class GLContext
{
public:
    // Null when EGL or a compatibility-profile context cannot be had.
    static std::unique_ptr<GLContext> Create();
    ~GLContext();

    GLContext(const GLContext&) = delete;
    GLContext& operator=(const GLContext&) = delete;

    void MakeCurrent();
    int32_t MaxTextureUnits() const { return m_iMaxTextureUnits; }
    int32_t MaxTextureSize() const { return m_iMaxTextureSize; }

    bool CreateRenderTarget(Surface& kSurface);
    bool CreateDepthBuffer(Surface& kSurface);
    bool AttachDepthBuffer(Surface& kTarget, Surface* pkDepth);
    void DeleteObjects(Surface& kSurface);

    // Row-0-top A8R8G8B8 pixels of a rectangle of a render target, into memory with room for
    // them (rows the rectangle's width apart).
    bool ReadPixels(Surface& kTarget, const RECT& kRect, uint32_t* puiPixels);
    // Draws row-0-top A8R8G8B8 pixels into a render target; with bKeyed, pixels whose alpha
    // is 0 leave the target as it was.
    bool DrawPixels(Surface& kTarget, const RECT& kDest, const std::vector<uint32_t>& kPixels,
                    uint32_t uiWidth, uint32_t uiHeight, bool bKeyed);
    // Clears rectangles of a render target regardless of the write masks.
    void Clear(Surface& kTarget, const std::vector<RECT>& kRects, DWORD dwFlags, D3DCOLOR dwColor,
               D3DVALUE dvZ, DWORD dwStencil);
    // Binds the texture of a texture surface (a render-target texture or a memory texture
    // uploaded when changed) to the active unit; false when it has none.
    bool BindTexture(Surface& kTexture);

private:
    GLContext() = default;
    bool BindTarget(Surface& kTarget);

    void* m_pvDisplay = nullptr;
    void* m_pvContext = nullptr;
    void* m_pvSurface = nullptr; // the pbuffer, when surfaceless contexts are not offered
    int32_t m_iMaxTextureUnits = 0;
    int32_t m_iMaxTextureSize = 0;
    // The driver can read rows top first, so a read-back needs no pass of its own to turn them.
    bool m_bPackInvert = false;
};
} // namespace d3d7
