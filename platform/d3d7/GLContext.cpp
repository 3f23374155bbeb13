// GLContext: the EGL display and context, render targets as framebuffer objects, z-buffers
// as renderbuffers, read-back, pixel drawing, clears and texture upload.
#include "platform/d3d7/GLContext.h"

#include "platform/d3d7/PixelFormat.h"
#include "platform/d3d7/Surface.h"

#include <epoxy/egl.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace d3d7
{
namespace
{
struct EglDisplay
{
    EGLDisplay hDisplay = EGL_NO_DISPLAY;
    EGLConfig hConfig = nullptr;
    bool bSurfaceless = false;
};

bool HasExtension(const char* pcList, std::string_view sName)
{
    if (pcList == nullptr)
        return false;
    std::string_view sList(pcList);
    for (size_t uiAt = sList.find(sName); uiAt != std::string_view::npos; uiAt = sList.find(sName, uiAt + 1))
    {
        const size_t uiEnd = uiAt + sName.size();
        if ((uiAt == 0 || sList[uiAt - 1] == ' ') && (uiEnd == sList.size() || sList[uiEnd] == ' '))
            return true;
    }
    return false;
}

// One display for the process, made on first need: Mesa's surfaceless platform when the
// client offers it (no X server needed), else the default display.
const EglDisplay* Display()
{
    static EglDisplay s_kDisplay;
    static bool s_bTried = false;
    if (s_bTried)
        return s_kDisplay.hDisplay != EGL_NO_DISPLAY ? &s_kDisplay : nullptr;
    s_bTried = true;

    const char* pcClient = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    EGLDisplay hDisplay = EGL_NO_DISPLAY;
    EGLint iMajor = 0;
    EGLint iMinor = 0;
    if (HasExtension(pcClient, "EGL_MESA_platform_surfaceless"))
    {
        hDisplay = eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (hDisplay != EGL_NO_DISPLAY && eglInitialize(hDisplay, &iMajor, &iMinor) != EGL_TRUE)
            hDisplay = EGL_NO_DISPLAY;
    }
    if (hDisplay == EGL_NO_DISPLAY)
    {
        hDisplay = eglGetDisplay(EGL_DEFAULT_DISPLAY);
        if (hDisplay == EGL_NO_DISPLAY || eglInitialize(hDisplay, &iMajor, &iMinor) != EGL_TRUE)
            return nullptr;
    }
    const EGLint aiConfig[] = {EGL_SURFACE_TYPE,
                               EGL_PBUFFER_BIT,
                               EGL_RENDERABLE_TYPE,
                               EGL_OPENGL_BIT,
                               EGL_RED_SIZE,
                               8,
                               EGL_GREEN_SIZE,
                               8,
                               EGL_BLUE_SIZE,
                               8,
                               EGL_NONE};
    EGLint iCount = 0;
    if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE ||
        eglChooseConfig(hDisplay, aiConfig, &s_kDisplay.hConfig, 1, &iCount) != EGL_TRUE || iCount < 1)
        return nullptr;
    s_kDisplay.hDisplay = hDisplay;
    s_kDisplay.bSurfaceless =
        HasExtension(eglQueryString(hDisplay, EGL_EXTENSIONS), "EGL_KHR_surfaceless_context");
    return &s_kDisplay;
}

GLenum DepthFormat(const DDPIXELFORMAT& kFormat)
{
    if (kFormat.dwStencilBitDepth != 0)
        return GL_DEPTH24_STENCIL8;
    return kFormat.dwZBufferBitDepth == 16 ? GL_DEPTH_COMPONENT16 : GL_DEPTH_COMPONENT24;
}

GLint Height(const Surface& kSurface)
{
    return static_cast<GLint>(kSurface.GetHeight());
}

// How a render target keeps its colour. A target whose format has no alpha keeps none, so
// blending with the destination's alpha sees 1 as it should, and read-backs come opaque.
GLenum ColorStorage(const Surface& kSurface)
{
    if (kSurface.GetFormat().dwRGBBitCount == 16)
        return GL_RGB565;
    return kSurface.IsTexture() || !PixelFormat::HasAlpha(kSurface.GetFormat()) ? GL_RGB8 : GL_RGBA8;
}
} // namespace

std::unique_ptr<GLContext> GLContext::Create()
{
    const EglDisplay* pkDisplay = Display();
    if (pkDisplay == nullptr)
        return nullptr;
    std::unique_ptr<GLContext> pkContext(new GLContext());
    pkContext->m_pvDisplay = pkDisplay->hDisplay;
    eglBindAPI(EGL_OPENGL_API);
    // No profile asked for: Mesa then gives its compatibility profile, fixed function included.
    EGLContext hContext = eglCreateContext(pkDisplay->hDisplay, pkDisplay->hConfig, EGL_NO_CONTEXT, nullptr);
    if (hContext == EGL_NO_CONTEXT)
        return nullptr;
    pkContext->m_pvContext = hContext;
    if (!pkDisplay->bSurfaceless)
    {
        const EGLint aiPbuffer[] = {EGL_WIDTH, 1, EGL_HEIGHT, 1, EGL_NONE};
        EGLSurface hSurface = eglCreatePbufferSurface(pkDisplay->hDisplay, pkDisplay->hConfig, aiPbuffer);
        if (hSurface == EGL_NO_SURFACE)
            return nullptr;
        pkContext->m_pvSurface = hSurface;
    }
    pkContext->MakeCurrent();
    if (eglGetCurrentContext() != hContext || epoxy_gl_version() < 21 ||
        (epoxy_gl_version() < 30 && !epoxy_has_gl_extension("GL_ARB_framebuffer_object")))
        return nullptr;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &pkContext->m_iMaxTextureUnits);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &pkContext->m_iMaxTextureSize);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    pkContext->m_bPackInvert = epoxy_has_gl_extension("GL_MESA_pack_invert");
    return pkContext;
}

GLContext::~GLContext()
{
    auto hDisplay = static_cast<EGLDisplay>(m_pvDisplay);
    if (hDisplay == EGL_NO_DISPLAY)
        return;
    if (eglGetCurrentContext() == m_pvContext)
        eglMakeCurrent(hDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (m_pvSurface != nullptr)
        eglDestroySurface(hDisplay, static_cast<EGLSurface>(m_pvSurface));
    if (m_pvContext != nullptr)
        eglDestroyContext(hDisplay, static_cast<EGLContext>(m_pvContext));
}

void GLContext::MakeCurrent()
{
    // Asked of EGL rather than remembered: other code (a toolkit's own GL) may switch too.
    if (m_pvContext == nullptr || eglGetCurrentContext() == m_pvContext)
        return;
    auto hSurface = m_pvSurface != nullptr ? static_cast<EGLSurface>(m_pvSurface) : EGL_NO_SURFACE;
    eglMakeCurrent(static_cast<EGLDisplay>(m_pvDisplay), hSurface, hSurface,
                   static_cast<EGLContext>(m_pvContext));
}

bool GLContext::CreateRenderTarget(Surface& kSurface)
{
    MakeCurrent();
    const GLsizei iWidth = static_cast<GLsizei>(kSurface.GetWidth());
    const GLsizei iHeight = Height(kSurface);
    const GLenum eStorage = ColorStorage(kSurface);
    glGenFramebuffers(1, &kSurface.uiFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, kSurface.uiFramebuffer);
    if (kSurface.IsTexture())
    {
        // A target that is also a texture draws into the texture it is bound as.
        glGenTextures(1, &kSurface.uiColorBuffer);
        glBindTexture(GL_TEXTURE_2D, kSurface.uiColorBuffer);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(eStorage), iWidth, iHeight, 0, GL_BGRA,
                     GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, kSurface.uiColorBuffer,
                               0);
    }
    else
    {
        glGenRenderbuffers(1, &kSurface.uiColorBuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, kSurface.uiColorBuffer);
        glRenderbufferStorage(GL_RENDERBUFFER, eStorage, iWidth, iHeight);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                  kSurface.uiColorBuffer);
    }
    const bool bComplete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (bComplete)
    {
        // A new target starts black, as a new surface's memory does.
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glDisable(GL_SCISSOR_TEST);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    return bComplete;
}

bool GLContext::CreateDepthBuffer(Surface& kSurface)
{
    MakeCurrent();
    glGenRenderbuffers(1, &kSurface.uiDepthBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, kSurface.uiDepthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, DepthFormat(kSurface.GetFormat()),
                          static_cast<GLsizei>(kSurface.GetWidth()), Height(kSurface));
    return glGetError() == GL_NO_ERROR;
}

bool GLContext::AttachDepthBuffer(Surface& kTarget, Surface* pkDepth)
{
    MakeCurrent();
    glBindFramebuffer(GL_FRAMEBUFFER, kTarget.uiFramebuffer);
    const GLuint uiDepth = pkDepth != nullptr ? pkDepth->uiDepthBuffer : 0;
    const bool bStencil = pkDepth != nullptr && pkDepth->GetFormat().dwStencilBitDepth != 0;
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, uiDepth);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT, GL_RENDERBUFFER, bStencil ? uiDepth : 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
    {
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, 0);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT, GL_RENDERBUFFER, 0);
        return false;
    }
    if (pkDepth != nullptr)
    {
        // A newly attached z-buffer starts at the far plane.
        glDepthMask(GL_TRUE);
        glStencilMask(~0u);
        glClearDepth(1.0);
        glClearStencil(0);
        glDisable(GL_SCISSOR_TEST);
        glClear(GL_DEPTH_BUFFER_BIT | (bStencil ? GL_STENCIL_BUFFER_BIT : 0));
    }
    return true;
}

void GLContext::DeleteObjects(Surface& kSurface)
{
    MakeCurrent();
    if (kSurface.uiFramebuffer != 0)
        glDeleteFramebuffers(1, &kSurface.uiFramebuffer);
    if (kSurface.uiColorBuffer != 0)
    {
        if (kSurface.IsTexture())
            glDeleteTextures(1, &kSurface.uiColorBuffer);
        else
            glDeleteRenderbuffers(1, &kSurface.uiColorBuffer);
    }
    if (kSurface.uiDepthBuffer != 0)
        glDeleteRenderbuffers(1, &kSurface.uiDepthBuffer);
    if (kSurface.uiTexture != 0)
        glDeleteTextures(1, &kSurface.uiTexture);
    kSurface.uiFramebuffer = kSurface.uiColorBuffer = kSurface.uiDepthBuffer = kSurface.uiTexture = 0;
}

bool GLContext::BindTarget(Surface& kTarget)
{
    MakeCurrent();
    if (kTarget.uiFramebuffer == 0)
        return false;
    glBindFramebuffer(GL_FRAMEBUFFER, kTarget.uiFramebuffer);
    return true;
}

bool GLContext::ReadPixels(Surface& kTarget, const RECT& kRect, uint32_t* puiPixels)
{
    if (!BindTarget(kTarget))
        return false;
    const GLsizei iWidth = kRect.right - kRect.left;
    const GLsizei iHeight = kRect.bottom - kRect.top;
    const size_t uiCount = static_cast<size_t>(iWidth) * static_cast<size_t>(iHeight);
    if (uiCount == 0)
        return true;
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    const GLint iBottom = Height(kTarget) - kRect.bottom;
    if (m_bPackInvert)
    {
        glPixelStorei(GL_PACK_INVERT_MESA, GL_TRUE);
        glReadPixels(kRect.left, iBottom, iWidth, iHeight, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, puiPixels);
        glPixelStorei(GL_PACK_INVERT_MESA, GL_FALSE);
    }
    else
    {
        // Rows come bottom first.
        std::vector<uint32_t> kBottomUp(uiCount);
        glReadPixels(kRect.left, iBottom, iWidth, iHeight, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                     kBottomUp.data());
        for (GLsizei iRow = 0; iRow < iHeight; ++iRow)
            std::memcpy(puiPixels + static_cast<size_t>(iRow) * iWidth,
                        kBottomUp.data() + static_cast<size_t>(iHeight - 1 - iRow) * iWidth,
                        static_cast<size_t>(iWidth) * sizeof(uint32_t));
    }
    // Only a target that keeps alpha reads some back; the frame a window shows is opaque.
    if (ColorStorage(kTarget) == GL_RGBA8)
        for (size_t i = 0; i < uiCount; ++i)
            puiPixels[i] |= 0xff000000u;
    return glGetError() == GL_NO_ERROR;
}

bool GLContext::DrawPixels(Surface& kTarget, const RECT& kDest, const std::vector<uint32_t>& kPixels,
                           uint32_t uiWidth, uint32_t uiHeight, bool bKeyed)
{
    if (!BindTarget(kTarget))
        return false;
    // A copy ignores every drawing state; the next draw sends its own again.
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    GLint iUnits = 1;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &iUnits);
    for (GLint iUnit = 0; iUnit < iUnits; ++iUnit)
    {
        glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + iUnit));
        glDisable(GL_TEXTURE_2D);
    }
    glActiveTexture(GL_TEXTURE0);
    for (GLenum eCap :
         {GL_DEPTH_TEST, GL_STENCIL_TEST, GL_BLEND, GL_FOG, GL_LIGHTING, GL_SCISSOR_TEST, GL_DITHER})
        glDisable(eCap);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    if (bKeyed)
    {
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.0f);
    }
    else
        glDisable(GL_ALPHA_TEST);
    glViewport(0, 0, static_cast<GLsizei>(kTarget.GetWidth()), Height(kTarget));
    glWindowPos2i(kDest.left, Height(kTarget) - kDest.top);
    glPixelZoom(1.0f, -1.0f);
    glDrawPixels(static_cast<GLsizei>(uiWidth), static_cast<GLsizei>(uiHeight), GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, kPixels.data());
    glPopAttrib();
    return glGetError() == GL_NO_ERROR;
}

void GLContext::Clear(Surface& kTarget, const std::vector<RECT>& kRects, DWORD dwFlags, D3DCOLOR dwColor,
                      D3DVALUE dvZ, DWORD dwStencil)
{
    if (!BindTarget(kTarget))
        return;
    Surface* pkZ = kTarget.GetZBuffer();
    GLbitfield uiBits = 0;
    if ((dwFlags & D3DCLEAR_TARGET) != 0)
        uiBits |= GL_COLOR_BUFFER_BIT;
    if ((dwFlags & D3DCLEAR_ZBUFFER) != 0 && pkZ != nullptr)
        uiBits |= GL_DEPTH_BUFFER_BIT;
    if ((dwFlags & D3DCLEAR_STENCIL) != 0 && pkZ != nullptr && pkZ->GetFormat().dwStencilBitDepth != 0)
        uiBits |= GL_STENCIL_BUFFER_BIT;
    if (uiBits == 0)
        return;
    // Clearing ignores the write masks the drawing state set; the next draw sets them again.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glStencilMask(~0u);
    glClearColor(static_cast<float>((dwColor >> 16) & 0xff) / 255.0f,
                 static_cast<float>((dwColor >> 8) & 0xff) / 255.0f,
                 static_cast<float>(dwColor & 0xff) / 255.0f, static_cast<float>(dwColor >> 24) / 255.0f);
    glClearDepth(std::clamp(dvZ, 0.0f, 1.0f));
    glClearStencil(static_cast<GLint>(dwStencil));
    glEnable(GL_SCISSOR_TEST);
    for (const RECT& kRect : kRects)
    {
        glScissor(kRect.left, Height(kTarget) - kRect.bottom, kRect.right - kRect.left,
                  kRect.bottom - kRect.top);
        glClear(uiBits);
    }
    glDisable(GL_SCISSOR_TEST);
}

bool GLContext::BindTexture(Surface& kTexture)
{
    MakeCurrent();
    if (kTexture.GetKind() == Surface::Kind::RenderTarget)
    {
        glBindTexture(GL_TEXTURE_2D, kTexture.uiColorBuffer);
        return kTexture.uiColorBuffer != 0;
    }
    if (kTexture.Pixels() == nullptr)
        return false;
    if (kTexture.uiTexture == 0)
        glGenTextures(1, &kTexture.uiTexture);
    glBindTexture(GL_TEXTURE_2D, kTexture.uiTexture);
    if (!kTexture.bTextureStale)
        return true;

    // The whole chain goes up as A8R8G8B8; texels equal to the colour key get alpha 0.
    GLint iLevel = 0;
    std::vector<uint32_t> kTexels;
    for (Surface* pkLevel = &kTexture; pkLevel != nullptr; pkLevel = pkLevel->GetNextLevel(), ++iLevel)
    {
        const RECT kWhole{0, 0, static_cast<int32_t>(pkLevel->GetWidth()),
                          static_cast<int32_t>(pkLevel->GetHeight())};
        if (!pkLevel->ReadPixels(kWhole, kTexels))
            break;
        if (kTexture.HasColorKey() && !PixelFormat::HasAlpha(pkLevel->GetFormat()))
        {
            const uint32_t uiBytes = PixelFormat::BytesPerPixel(pkLevel->GetFormat());
            const DDCOLORKEY& kKey = kTexture.ColorKey();
            for (DWORD dwY = 0; dwY < pkLevel->GetHeight(); ++dwY)
            {
                const uint8_t* pucRow = pkLevel->Pixels() + static_cast<ptrdiff_t>(dwY) * pkLevel->Pitch();
                for (DWORD dwX = 0; dwX < pkLevel->GetWidth(); ++dwX)
                {
                    const uint32_t uiRaw = PixelFormat::LoadRaw(pucRow + dwX * uiBytes, uiBytes);
                    if (uiRaw >= kKey.dwColorSpaceLowValue &&
                        uiRaw <= std::max(kKey.dwColorSpaceLowValue, kKey.dwColorSpaceHighValue))
                        kTexels[dwY * pkLevel->GetWidth() + dwX] &= 0x00ffffffu;
                }
            }
        }
        glTexImage2D(GL_TEXTURE_2D, iLevel, GL_RGBA8, static_cast<GLsizei>(pkLevel->GetWidth()),
                     static_cast<GLsizei>(pkLevel->GetHeight()), 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                     kTexels.data());
    }
    // A short chain is complete only when GL knows where it ends.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, std::max(iLevel - 1, 0));
    kTexture.bTextureStale = false;
    return true;
}
} // namespace d3d7
