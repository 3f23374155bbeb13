#include "scene/render/NiD3DRender.h"

#include "platform/d3d7/IDirect3D7.h"
#include "platform/d3d7/IDirect3DDevice7.h"
#include "platform/d3d7/IDirect3DVertexBuffer7.h"
#include "platform/d3d7/IDirectDraw7.h"
#include "platform/d3d7/IDirectDrawSurface7.h"
#include "scene/graph/NiImage.h"
#include "scene/graph/NiLight.h"
#include "scene/graph/NiLinesData.h"
#include "scene/graph/NiParticlesData.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiRawImageData.h"
#include "scene/graph/NiTextureProperty.h"
#include "scene/graph/NiTriShapeData.h"
#include "scene/graph/NiTriStripData.h"
#include "scene/graph/NiTriStripsData.h"
#include "scene/graph/NiTrianglesData.h"
#include "scene/object/NiColor.h"
#include "scene/object/NiColorA.h"
#include "scene/render/D3DLog.h"
#include "scene/render/LoadImageFile.h"
#include "scene/render/NiD3DDriverList.h"
#include "scene/render/NiD3DFramebuffer.h"
#include "scene/render/NiD3DGeometryBufferMap.h"
#include "scene/render/NiD3DLightCache.h"
#include "scene/render/NiD3DRenderStateCache.h"
#include "scene/render/NiD3DTextureCache.h"
#include "scene/render/NiD3DTexturePipeline.h"
#include "scene/render/NiD3DVertexBufferCache.h"
#include "scene/render/NiDDBufferImage.h"
#include "scene/render/NiDDImage.h"
#include "scene/render/NiDirectDrawDevice.h"

#include <algorithm>
#include <cstring>

// Contents: creation and device initialisation / shutdown and recovery / device and buffers /
// textures / scene and transforms / draws / render targets and drivers.

NiImplementRTTI(NiD3DRender, NiRender);

namespace
{
D3DMATRIX Rows(std::initializer_list<float> kValues)
{
    D3DMATRIX kMatrix;
    float* pfOut = &kMatrix._11;
    for (float fValue : kValues)
        *pfOut++ = fValue;
    return kMatrix;
}

float Dot(const NiPoint3& kA, const NiPoint3& kB)
{
    return kA.x * kB.x + kA.y * kB.y + kA.z * kB.z;
}

// A pixel count truncated toward zero, within 0 to the limit (NaN gives 0).
DWORD ClampedPixels(float fPixels, DWORD dwLimit)
{
    if (!(fPixels > 0.0f))
        return 0;
    if (fPixels >= static_cast<float>(dwLimit))
        return dwLimit;
    return std::min(static_cast<DWORD>(fPixels), dwLimit);
}

// The renderer's texture cache hands device images their source surfaces through these.
bool GetImageSourceSurface(NiImage* pkImage, IDirectDraw7* pkDirectDraw,
                           const NiPixelLayout* const* apkLayouts, bool bTrueColor,
                           IDirectDrawSurface7** ppkSurface, const NiPixelLayout** ppkLayout)
{
    auto* pkDeviceImage = NiDynamicCast<NiDDImage>(pkImage);
    if (!pkDeviceImage)
        return false;
    IDirectDrawSurface7* pkSurface = nullptr;
    const NiPixelLayout* pkLayout = nullptr;
    const bool bOk =
        pkDeviceImage->GetSourceSurface(pkDirectDraw, apkLayouts, bTrueColor, false, pkSurface, pkLayout);
    *ppkSurface = pkSurface;
    *ppkLayout = pkLayout;
    return bOk;
}

IDirectDrawSurface7* GetImageBufferSurface(NiImage* pkImage)
{
    auto* pkBufferImage = NiDynamicCast<NiDDBufferImage>(pkImage);
    IDirectDrawSurface7* pkSurface = nullptr;
    if (pkBufferImage)
        pkBufferImage->GetSurface(pkSurface);
    return pkSurface;
}

struct ZEnumeration
{
    DDPIXELFORMAT* m_pkCandidates;
};

uint32_t StencilBits(const DDPIXELFORMAT& kFormat)
{
    return (kFormat.dwFlags & DDPF_STENCILBUFFER) ? kFormat.dwStencilBitDepth : 0;
}

uint32_t DepthBits(const DDPIXELFORMAT& kFormat)
{
    return kFormat.dwZBufferBitDepth - std::min(StencilBits(kFormat), kFormat.dwZBufferBitDepth);
}

HRESULT SortZFormat(DDPIXELFORMAT* pkFormat, LPVOID pvContext)
{
    auto* pkCandidates = static_cast<DDPIXELFORMAT*>(pvContext);
    if (!(pkFormat->dwFlags & DDPF_ZBUFFER))
        return D3DENUMRET_OK;
    const uint32_t uiStencil = StencilBits(*pkFormat);
    const uint32_t uiDepth = DepthBits(*pkFormat);
    const auto Deeper = [&](const DDPIXELFORMAT& kCandidate) { return uiDepth > DepthBits(kCandidate); };
    if (uiDepth <= 16)
    {
        if (Deeper(pkCandidates[NiD3DRender::Z_SHALLOW]) || !pkCandidates[NiD3DRender::Z_SHALLOW].dwSize)
            pkCandidates[NiD3DRender::Z_SHALLOW] = *pkFormat;
    }
    else if (!uiStencil)
    {
        if (Deeper(pkCandidates[NiD3DRender::Z_DEEP]))
            pkCandidates[NiD3DRender::Z_DEEP] = *pkFormat;
    }
    else
    {
        DDPIXELFORMAT& kStencil = pkCandidates[NiD3DRender::Z_STENCIL];
        if (StencilBits(kStencil) <= 1 ? uiStencil > 1 : (uiStencil > 1 && Deeper(kStencil)))
            kStencil = *pkFormat;
    }
    return D3DENUMRET_OK;
}
} // namespace

//--- Creation and device initialisation ----------------------------------------------------------

NiD3DRender::NiD3DRender()
    : m_pkGeometryBuffers(std::make_unique<NiD3DGeometryBufferMap>()),
      m_kScreenProjection0(Rows({2, 0, 0, 0, 0, 2, 0, 0, -1, -1, 1, 1, 0, 0, 0, 0})),
      m_kIdentity(Rows({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1})),
      m_kScreenProjection1(Rows({2, 0, 0, 0, 0, 2, 0, 0, -1, -1, 1, 0, 0, 0, 0, 1}))
{
}

void NiD3DRender::InstallImageFactory()
{
    NiImage::SetImageFactory(&NiDDImage::Create);
    NiImage::SetFileLoader(&LoadImageFile);
    NiD3DTextureCache::ImageServices kServices;
    kServices.pfnGetSourceSurface = &GetImageSourceSurface;
    kServices.pfnGetBufferSurface = &GetImageBufferSurface;
    NiD3DTextureCache::SetImageServices(kServices);
}

void NiD3DRender::RemoveImageFactory()
{
    NiImage::SetImageFactory(nullptr);
    NiImage::SetFileLoader(nullptr);
    NiD3DTextureCache::SetImageServices({});
}

NiD3DRender* NiD3DRender::Create(int32_t iKind, uint32_t uiWidth, uint32_t uiHeight, uint32_t uiFlags,
                                 HWND hWindow, HWND hTopWindow, const NiD3DDriverRecord* pkDriver)
{
    return CreateRenderer("(Creation): Attempting to create Direct3D renderer", iKind, uiWidth, uiHeight,
                          uiFlags, hWindow, hTopWindow, nullptr, nullptr, nullptr, pkDriver);
}

NiD3DRender* NiD3DRender::CreateFromBuffers(int32_t iKind, uint32_t uiFlags, HWND hWindow,
                                            IDirectDraw7* pkDirectDraw, IDirectDrawSurface7* pkFront,
                                            IDirectDrawSurface7* pkBack, const NiD3DDriverRecord* pkDriver)
{
    if (!pkFront || !pkBack || !pkDriver || !pkDirectDraw)
    {
        D3DLogMessage("(Creation): Attempting to create Direct3D renderer from app-supplied buffers");
        return nullptr;
    }
    return CreateRenderer("(Creation): Attempting to create Direct3D renderer from app-supplied buffers",
                          iKind, 0, 0, uiFlags, hWindow, hWindow, pkDirectDraw, pkFront, pkBack, pkDriver);
}

NiD3DRender* NiD3DRender::CreateRenderer(const char* pcAttempt, int32_t iKind, uint32_t uiWidth,
                                         uint32_t uiHeight, uint32_t uiFlags, HWND hWindow, HWND hTopWindow,
                                         IDirectDraw7* pkDirectDraw, IDirectDrawSurface7* pkFront,
                                         IDirectDrawSurface7* pkBack, const NiD3DDriverRecord* pkDriver)
{
    D3DLogMessage(pcAttempt);
    InstallImageFactory();
    if (!pkDriver)
        pkDriver = iKind == 1 ? GetDefaultFullscreenDriver() : GetDefaultWindowedDriver();
    if (!pkDriver)
        pkDriver = GetSoftwareDriver();
    if (!pkDriver)
    {
        D3DLogError("Creation failed: Could not find any Direct3D-compatible 3D hardware or software");
        return nullptr;
    }

    // Count 0 throughout: a failed creation deletes it, which runs the shutdown on what was made.
    auto* pkRenderer = new NiD3DRender;
    NiDirectDrawDevice* pkDevice = pkDirectDraw
                                       ? NiDirectDrawDevice::CreateFromDirectDraw(pkDirectDraw, pkDriver)
                                       : NiDirectDrawDevice::Create(pkDriver);
    if (!pkDevice)
    {
        delete pkRenderer;
        return nullptr;
    }
    if (FAILED(pkDevice->GetDirectDraw()->QueryInterface(
            IID_IDirect3D7, reinterpret_cast<LPVOID*>(&pkRenderer->m_pkDirect3D))))
    {
        pkRenderer->m_pkDirect3D = nullptr;
        D3DLogError("Creation failed: Could not query Direct3D from DirectDraw");
        pkDevice->DecRef();
        delete pkRenderer;
        return nullptr;
    }
    // The framebuffers take their own references on the DirectDraw device object; the creation
    // reference goes once they have.
    NiD3DFramebuffer* pkFramebuffer = nullptr;
    if (pkFront || pkBack)
        pkFramebuffer = NiD3DFramebuffer::CreateFromSurfaces(pkDevice, iKind == 1, hWindow, pkFront, pkBack);
    else
        pkFramebuffer = NiD3DFramebuffer::Create(pkDevice, iKind == 1, uiFlags, uiWidth, uiHeight, hWindow,
                                                 hTopWindow ? hTopWindow : hWindow, pkDevice->IsHardware());
    if (pkFramebuffer)
    {
        pkRenderer->m_kFramebuffers.push_back(pkFramebuffer);
        pkRenderer->m_pkCurrentFramebuffer = pkFramebuffer;
    }
    const bool bOk = pkFramebuffer && pkRenderer->InitialiseDevice(uiFlags);
    pkDevice->DecRef();
    if (!bOk)
    {
        delete pkRenderer;
        return nullptr;
    }
    D3DLogMessage("(Creation): Renderer creation successful");
    return pkRenderer;
}

void NiD3DRender::EnumerateZBufferFormats(const IID& kDeviceType)
{
    for (DDPIXELFORMAT& kCandidate : m_akZCandidates)
        kCandidate = DDPIXELFORMAT();
    if (m_pkDirect3D)
        m_pkDirect3D->EnumZBufferFormats(kDeviceType, &SortZFormat, m_akZCandidates);
}

bool NiD3DRender::HasRequiredCaps(const D3DDEVICEDESC7& kDesc)
{
    return (kDesc.dpcTriCaps.dwTextureCaps & D3DPTEXTURECAPS_PERSPECTIVE) &&
           (kDesc.dpcTriCaps.dwShadeCaps & D3DPSHADECAPS_COLORGOURAUDRGB);
}

bool NiD3DRender::CreateDeviceWithZBuffer(uint32_t uiFlags)
{
    const IID& kDeviceType = *GetDriverRecord()->m_pkDeviceType;
    IDirectDrawSurface7* pkBack = m_pkCurrentFramebuffer->GetBackSurface();
    const bool bWantZ = (uiFlags & (CREATE_ZBUFFER | CREATE_DEEP_ZBUFFER)) != 0;
    if (!bWantZ)
    {
        D3DLogMessage("(Creation): Attempting to create Direct3D device");
        return SUCCEEDED(m_pkDirect3D->CreateDevice(kDeviceType, pkBack, &m_pkDevice)) && m_pkDevice;
    }

    D3DLogMessage("(Creation): Attempting to create z-buffer");
    const bool bDeep = uiFlags & CREATE_DEEP_ZBUFFER;
    const bool bStencil = uiFlags & CREATE_STENCIL;
    ZCandidate aeOrder[3] = {Z_SHALLOW, Z_DEEP, Z_STENCIL};
    if (bStencil && bDeep)
        std::copy_n(std::initializer_list<ZCandidate>{Z_STENCIL, Z_DEEP, Z_SHALLOW}.begin(), 3, aeOrder);
    else if (bStencil)
        std::copy_n(std::initializer_list<ZCandidate>{Z_STENCIL, Z_SHALLOW, Z_DEEP}.begin(), 3, aeOrder);
    else if (bDeep)
        std::copy_n(std::initializer_list<ZCandidate>{Z_DEEP, Z_STENCIL, Z_SHALLOW}.begin(), 3, aeOrder);

    const bool bHardware = GetDriverRecord()->m_ucHardware != 0;
    for (ZCandidate eCandidate : aeOrder)
    {
        const DDPIXELFORMAT& kFormat = m_akZCandidates[eCandidate];
        if (!m_pkCurrentFramebuffer->AttachZBuffer(bHardware, kFormat))
            continue;
        D3DLogMessage("(Creation): Attempting to create Direct3D device");
        if (FAILED(m_pkDirect3D->CreateDevice(kDeviceType, pkBack, &m_pkDevice)) || !m_pkDevice)
        {
            m_pkDevice = nullptr;
            D3DLogWarning("(Creation): D3D device creation with attached z-buffer failed");
        }
        if (m_pkDevice)
        {
            if (m_pkCurrentFramebuffer->GetZBuffer())
            {
                D3DLogMessage("(Creation): Z-buffer creation successful");
                m_kZBufferFormat = kFormat;
            }
            return true;
        }
        D3DLogMessage("(Creation): Trying different Z-buffer format");
        if (!m_pkCurrentFramebuffer->DetachZBuffer())
        {
            D3DLogWarning("Creation failed: Error detaching ZBuffer surface from backbuffer");
            return false;
        }
    }
    return false;
}

bool NiD3DRender::InitialiseDevice(uint32_t uiFlags)
{
    const bool bMultitexture = !(uiFlags & CREATE_NO_MULTITEXTURE);
    const NiD3DDriverRecord* pkDriver = GetDriverRecord();
    EnumerateZBufferFormats(*pkDriver->m_pkDeviceType);
    if (!CreateDeviceWithZBuffer(uiFlags))
    {
        D3DLogError("Creation failed: Cannot create D3D device");
        return false;
    }
    D3DLogMessage("(Creation): Direct3D device creation successful");
    if (m_kZBufferFormat.dwFlags & DDPF_STENCILBUFFER)
    {
        m_uiFlags |= FLAG_STENCIL_BUFFER;
        D3DLogMessage("(Creation): Z-buffer format includes a Stencil buffer");
    }
    else
    {
        m_uiFlags &= ~FLAG_STENCIL_BUFFER;
        D3DLogMessage("(Creation): Z-buffer format does NOT include a Stencil buffer");
    }

    D3DDEVICEDESC7 kDesc;
    m_pkDevice->GetCaps(&kDesc);
    D3DLogMessage("(Creation): Checking Direct3D device for required capabilities");
    if (!HasRequiredCaps(kDesc))
    {
        D3DLogError("Creation failed: D3D device cannot support required capabilities");
        return false;
    }
    D3DLogMessage("(Creation): Direct3D device has all required capabilities");

    const bool bHardwareTransform = pkDriver->m_uiFlags & NiD3DDriverRecord::HARDWARE_TRANSFORM;
    m_pkVertexBuffers =
        std::make_unique<NiD3DVertexBufferCache>(m_pkDirect3D, m_pkDevice, !bHardwareTransform);
    if (kDesc.dpcTriCaps.dwRasterCaps & D3DPRASTERCAPS_WBUFFER)
    {
        m_uiFlags |= FLAG_W_BUFFER;
        D3DLogMessage("(Creation): Direct3D device supports w-buffering");
    }
    SetDefaultCameraFrame();

    const bool bTrueColor = m_pkCurrentFramebuffer->GetDevice()->GetDisplayBitsPerPixel() > 16;
    const bool bHardware = pkDriver->m_ucHardware != 0;
    m_spTextures = NiD3DTextureCache::GetShared(bMultitexture, bTrueColor, GetDirectDraw(), m_pkDevice, kDesc,
                                                bHardware);
    if (!m_spTextures)
        return false;
    m_spRenderStates = NiD3DRenderStateCache::Create(m_pkDevice, kDesc, bHardware,
                                                     m_pkCurrentFramebuffer->GetZBuffer() != nullptr,
                                                     (m_uiFlags & FLAG_STENCIL_BUFFER) != 0);
    if (!m_spRenderStates)
        return false;
    m_pkTexturePipeline.reset(
        NiD3DTexturePipeline::Create(m_pkDevice, kDesc, m_spRenderStates, m_spTextures, bHardware));
    if (!m_pkTexturePipeline)
        return false;

    if (bMultitexture)
    {
        D3DLogMessage("(Creation): Attempting to initialize multitexturing");
        if (!m_pkTexturePipeline->ValidateMultitexture(true))
            return false;
    }
    m_pkLights = std::make_unique<NiD3DLightCache>(m_pkDevice);
    m_uiFlags |= FLAG_INITIALISED;
    if (m_spTextures->GetFlags() & NiD3DTextureCache::SQUARE_ONLY)
    {
        D3DLogMessage("(Creation): D3D device requires square textures");
        m_uiFlags |= FLAG_SQUARE_TEXTURES;
    }
    if (m_spTextures->HasAlphaFormats())
    {
        D3DLogMessage("(Creation): D3D device supports alpha blending");
        m_uiFlags |= FLAG_ALPHA_BLENDING;
    }
    m_uiFlags |= FLAG_CREATED;
    if (bTrueColor)
    {
        D3DLogMessage("(Creation): D3D device is true color (24-32 bits)");
        m_uiFlags |= FLAG_TRUE_COLOR;
    }
    if (bHardware)
        m_uiFlags |= FLAG_HARDWARE;
    return true;
}

void NiD3DRender::SetDefaultCameraFrame()
{
    NiFrustum kFrustum;
    kFrustum.m_fLeft = -1.0f;
    kFrustum.m_fRight = 1.0f;
    kFrustum.m_fTop = 1.0f;
    kFrustum.m_fBottom = -1.0f;
    kFrustum.m_fNear = 0.1f;
    kFrustum.m_fFar = 1.0f;
    NiRect<float> kPort;
    kPort.m_left = 0.0f;
    kPort.m_right = 1.0f;
    kPort.m_top = 1.0f;
    kPort.m_bottom = 0.0f;
    SetCameraFrame(NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0), NiPoint3(0, 0, 1), kFrustum,
                   kPort);
}

//--- Shutdown and recovery -----------------------------------------------------------------------

NiD3DRender::~NiD3DRender()
{
    D3DLogMessage("(Shutdown): Shutting down D3D Renderer");
    m_pkLights.reset();
    m_pkTexturePipeline.reset();

    D3DLogMessage("(Shutdown): Destroying cached geometry data");
    ReleaseGeometryBuffers();
    D3DLogMessage("(Shutdown): Finished destroying cached geometry data");

    // The last holder destroys the shared texture cache; any other release purges it.
    D3DLogMessage("(Shutdown): Destroying texture manager");
    m_spTextures = nullptr;
    D3DLogMessage("(Shutdown): Finished destroying texture manager");
    m_spRenderStates = nullptr;

    if (m_pkDevice)
    {
        D3DLogMessage("(Shutdown): Releasing D3D device");
        m_pkDevice->Release();
        m_pkDevice = nullptr;
        D3DLogMessage("(Shutdown): Released D3D device");
    }
    if (m_pkDirect3D)
    {
        m_pkDirect3D->Release();
        m_pkDirect3D = nullptr;
    }
    m_pkVertexBuffers.reset();

    m_pkCurrentFramebuffer = nullptr;
    D3DLogMessage("(Shutdown): Destroying framebuffers");
    for (NiD3DFramebuffer*& pkFramebuffer : m_kFramebuffers)
    {
        if (pkFramebuffer)
            pkFramebuffer->DecRef();
        pkFramebuffer = nullptr;
    }
    D3DLogMessage("(Shutdown): Finished destroying framebuffers");
    D3DLogMessage("(Shutdown): Finished shutting down D3D Renderer");
}

void NiD3DRender::ReleaseGeometryBuffers()
{
    if (m_pkGeometryBuffers)
        m_pkGeometryBuffers->ReleaseAll();
}

bool NiD3DRender::RestoreLostSurfaces()
{
    if (!m_pkCurrentFramebuffer || !m_pkCurrentFramebuffer->IsLost())
        return true;
    ReleaseGeometryBuffers();
    if (!m_pkCurrentFramebuffer->Restore())
        return false;
    D3DLogMessage("(Runtime): Recovered from Alt-Tab or minimization of application");
    if (!m_pkDevice || FAILED(m_pkDevice->SetRenderTarget(m_pkCurrentFramebuffer->GetBackSurface(), 0)))
        return false;
    if (m_spTextures)
        m_spTextures->InvalidateAll();
    return true;
}

//--- Device and buffers --------------------------------------------------------------------------

const char* NiD3DRender::GetDriverDescription() const
{
    const NiD3DDriverRecord* pkRecord = GetDriverRecord();
    return pkRecord ? pkRecord->m_kName.c_str() : "";
}

IDirectDraw7* NiD3DRender::GetDirectDraw() const
{
    return m_pkCurrentFramebuffer ? m_pkCurrentFramebuffer->GetDevice()->GetDirectDraw() : nullptr;
}

const NiD3DDriverRecord* NiD3DRender::GetDriverRecord() const
{
    return m_kFramebuffers.empty() || !m_kFramebuffers[0]
               ? nullptr
               : m_kFramebuffers[0]->GetDevice()->GetDriverRecord();
}

bool NiD3DRender::IsTextureFormatSupported(uint32_t uiFormat) const
{
    return m_spTextures && m_spTextures->HasFormat(uiFormat);
}

uint32_t NiD3DRender::ValidatePropertyState(NiPropertyTable* pkTable, NiEffectLists* pkLists)
{
    const uint32_t uiTextures =
        m_pkTexturePipeline ? m_pkTexturePipeline->ComputeUnsupported(pkTable, pkLists) : 0;
    return uiTextures | ValidateRenderStates(pkTable);
}

uint32_t NiD3DRender::ValidateRenderStates(NiPropertyTable* pkTable)
{
    return m_spRenderStates ? m_spRenderStates->ComputeUnsupported(pkTable) : 0;
}

bool NiD3DRender::PresentFrame()
{
    return m_pkCurrentFramebuffer && m_pkCurrentFramebuffer->Swap();
}

bool NiD3DRender::ClearViewport(const NiRect<float>* pkPort, uint32_t uiFlags)
{
    if (!m_pkCurrentFramebuffer || !m_pkDevice)
        return false;
    if (m_pkCurrentFramebuffer->IsLost() && !RestoreLostSurfaces())
        return false;
    DWORD dwFlags = 0;
    if (uiFlags & CLEAR_BACKBUFFER)
        dwFlags |= D3DCLEAR_TARGET;
    if (uiFlags & CLEAR_ZBUFFER)
        dwFlags |= D3DCLEAR_ZBUFFER;
    if ((uiFlags & CLEAR_STENCIL) && (m_uiFlags & FLAG_STENCIL_BUFFER))
        dwFlags |= D3DCLEAR_STENCIL;
    const DWORD dwWidth = m_pkCurrentFramebuffer->GetWidth();
    const DWORD dwHeight = m_pkCurrentFramebuffer->GetHeight();
    const float fWidth = static_cast<float>(dwWidth);
    const float fHeight = static_cast<float>(dwHeight);
    D3DRECT kRect{0, 0, static_cast<LONG>(dwWidth), static_cast<LONG>(dwHeight)};
    // Corners outside the target, or not numbers at all (a camera's viewport comes from its
    // file), have no integer pixel; the device clips to the target in any case.
    if (pkPort)
    {
        kRect.x1 = static_cast<LONG>(ClampedPixels(fWidth * pkPort->m_left, dwWidth));
        kRect.y1 = static_cast<LONG>(ClampedPixels((1.0f - pkPort->m_top) * fHeight, dwHeight));
        kRect.x2 = static_cast<LONG>(ClampedPixels(fWidth * pkPort->m_right, dwWidth));
        kRect.y2 = static_cast<LONG>(ClampedPixels((1.0f - pkPort->m_bottom) * fHeight, dwHeight));
    }
    // The whole framebuffer, from its corner: a viewport left from the camera could reach past it.
    m_kViewport.dwX = 0;
    m_kViewport.dwY = 0;
    m_kViewport.dwWidth = m_pkCurrentFramebuffer->GetWidth();
    m_kViewport.dwHeight = m_pkCurrentFramebuffer->GetHeight();
    m_pkDevice->SetViewport(&m_kViewport);
    return SUCCEEDED(m_pkDevice->Clear(1, &kRect, dwFlags, m_uiBackgroundColor, 1.0f, m_uiBackgroundStencil));
}

uint32_t NiD3DRender::GetScreenWidth() const
{
    return m_pkCurrentFramebuffer ? m_pkCurrentFramebuffer->GetWidth() : 0;
}

uint32_t NiD3DRender::GetScreenHeight() const
{
    return m_pkCurrentFramebuffer ? m_pkCurrentFramebuffer->GetHeight() : 0;
}

uint32_t NiD3DRender::GetColorDepth() const
{
    return m_pkCurrentFramebuffer ? m_pkCurrentFramebuffer->GetPixelLayout().m_ucBitsPerPixel : 0;
}

NiImage* NiD3DRender::GetBuffer(uint32_t uiWhich)
{
    if (!m_pkCurrentFramebuffer)
        return nullptr;
    if (uiWhich == 1)
        return m_pkCurrentFramebuffer->GetBackImage();
    if (uiWhich == 2)
    {
        NiImage* pkFront = m_pkCurrentFramebuffer->GetFrontImage();
        return pkFront ? pkFront : m_pkCurrentFramebuffer->GetBackImage();
    }
    return nullptr;
}

NiRawImageData* NiD3DRender::GetFrontBufferImage()
{
    NiDDBufferImage* pkBack = m_pkCurrentFramebuffer ? m_pkCurrentFramebuffer->GetBackImage() : nullptr;
    if (!pkBack)
        return nullptr;
    auto* pkRaw = new NiRawImageData;
    if (!pkBack->CopyToRawImage(*pkRaw))
    {
        delete pkRaw;
        return nullptr;
    }
    return pkRaw;
}

bool NiD3DRender::BlitImage(NiImage* pkImage, const NiRect<uint32_t>* pkSource, uint32_t uiX, uint32_t uiY,
                            bool bColorKey)
{
    auto* pkDeviceImage = NiDynamicCast<NiDDImage>(pkImage);
    NiDDBufferImage* pkBackImage = m_pkCurrentFramebuffer ? m_pkCurrentFramebuffer->GetBackImage() : nullptr;
    if (!pkDeviceImage || !pkBackImage)
        return false;
    IDirectDrawSurface7* pkSurface = nullptr;
    IDirectDrawSurface7* pkBack = nullptr;
    if (!pkDeviceImage->GetDeviceSurface(GetDirectDraw(), m_pkCurrentFramebuffer->GetPixelLayout(),
                                         pkSurface) ||
        !pkBackImage->GetSurface(pkBack))
    {
        return false;
    }
    const uint32_t uiImageWidth = pkDeviceImage->GetWidth();
    const uint32_t uiImageHeight = pkDeviceImage->GetHeight();
    uint32_t uiLeft = 0, uiRight = uiImageWidth, uiTop = 0, uiBottom = uiImageHeight;
    if (pkSource)
    {
        uiLeft = std::min(pkSource->m_left, uiImageWidth);
        uiRight = std::min(pkSource->m_right, uiImageWidth);
        uiTop = std::min(pkSource->m_top, uiImageHeight);
        uiBottom = std::min(pkSource->m_bottom, uiImageHeight);
    }
    if (uiRight <= uiLeft || uiBottom <= uiTop)
        return false;
    const uint32_t uiTargetWidth = pkBackImage->GetWidth();
    const uint32_t uiTargetHeight = pkBackImage->GetHeight();
    if (uiX >= uiTargetWidth || uiY >= uiTargetHeight)
        return false;
    // Cut at the target's right and bottom edges.
    uiRight -= std::max<int64_t>(0, int64_t(uiX) + (uiRight - uiLeft) - uiTargetWidth);
    uiBottom -= std::max<int64_t>(0, int64_t(uiY) + (uiBottom - uiTop) - uiTargetHeight);
    RECT kSource{int32_t(uiLeft), int32_t(uiTop), int32_t(uiRight), int32_t(uiBottom)};
    RECT kDest{int32_t(uiX), int32_t(uiY), int32_t(uiX + uiRight - uiLeft), int32_t(uiY + uiBottom - uiTop)};
    DDBLTFX kFx;
    kFx.dwSize = sizeof(kFx);
    const DWORD dwFlags = DDBLT_WAIT | (bColorKey ? DDBLT_KEYSRC : 0);
    return SUCCEEDED(pkBack->Blt(&kDest, pkSurface, &kSource, dwFlags, &kFx));
}

bool NiD3DRender::SetBackgroundColor(const NiColor& kColor)
{
    // Truncated products, their low eight bits kept.
    const auto Byte = [](float fValue)
    { return static_cast<uint32_t>(static_cast<int64_t>(fValue * 255.0f)) & 0xFF; };
    m_uiBackgroundColor = (Byte(kColor.r) << 16) | (Byte(kColor.g) << 8) | Byte(kColor.b);
    return true;
}

float NiD3DRender::GetFogDepth() const
{
    return m_spRenderStates ? m_spRenderStates->GetFogDepth() : 0.0f;
}

void NiD3DRender::SetFogDepth(float fDepth)
{
    if (m_spRenderStates)
        m_spRenderStates->SetFogDepth(fDepth);
}

//--- Textures ------------------------------------------------------------------------------------

bool NiD3DRender::PrecacheTexture(NiImage* pkImage, bool bAllowEviction, bool bLock)
{
    return m_spTextures &&
           m_spTextures->Precache(NiDynamicCast<NiDDImage>(pkImage), bAllowEviction, bLock, -1);
}

bool NiD3DRender::PurgeAllTextures(bool bIncludeLocked)
{
    if (!m_spTextures)
        return false;
    m_spTextures->Purge(nullptr, bIncludeLocked, -1);
    return true;
}

bool NiD3DRender::PurgeTexture(NiImage* pkImage)
{
    if (!m_spTextures)
        return false;
    m_spTextures->Purge(pkImage, true, -1);
    return true;
}

bool NiD3DRender::GetTextureMemory(uint32_t& uiTotal, uint32_t& uiFree)
{
    uiTotal = uiFree = 0;
    IDirectDraw7* pkDirectDraw = GetDirectDraw();
    DDSCAPS2 kCaps;
    kCaps.dwCaps = DDSCAPS_TEXTURE;
    DWORD dwTotal = 0, dwFree = 0;
    if (!pkDirectDraw || FAILED(pkDirectDraw->GetAvailableVidMem(&kCaps, &dwTotal, &dwFree)))
        return false;
    uiTotal = dwTotal;
    uiFree = dwFree;
    return true;
}

bool NiD3DRender::GetTextureStats(uint32_t& uiLive, uint32_t& uiUsedThisFrame, uint32_t&,
                                  uint32_t& uiChangesThisFrame, uint32_t& uiFrameCounter)
{
    if (!m_spTextures)
        return false;
    uiLive = m_spTextures->GetLiveCount();
    uiUsedThisFrame = m_spTextures->GetUsedThisFrame();
    uiChangesThisFrame = m_spTextures->GetChangesThisFrame();
    uiFrameCounter = m_spTextures->GetExtraThisFrame();
    return true;
}

uint32_t NiD3DRender::GetTextureEvents()
{
    return m_spTextures ? m_spTextures->GetEvents() : 0;
}

bool NiD3DRender::SetTextureSkipLevels(uint32_t uiLevels)
{
    if (m_spTextures)
        m_spTextures->SetSkipLevels(uiLevels);
    return true;
}

uint32_t NiD3DRender::GetTextureSkipLevels() const
{
    return m_spTextures ? m_spTextures->GetSkipLevels() : 0;
}

void NiD3DRender::SetMaxTextureSize(uint32_t uiSize)
{
    if (!m_spTextures)
        return;
    const uint32_t uiWidth =
        uiSize <= m_spTextures->GetDeviceMaxTextureWidth() ? uiSize : m_spTextures->GetMaxTextureWidth();
    const uint32_t uiHeight =
        uiSize <= m_spTextures->GetDeviceMaxTextureHeight() ? uiSize : m_spTextures->GetMaxTextureHeight();
    m_spTextures->SetMaxTextureSize(uiWidth, uiHeight);
}

void NiD3DRender::GetMaxTextureSize(uint32_t& uiWidth, uint32_t& uiHeight) const
{
    uiWidth = uiHeight = 0;
    if (!m_spTextures)
        return;
    uiWidth = m_spTextures->GetMaxTextureWidth() ? m_spTextures->GetMaxTextureWidth()
                                                 : m_spTextures->GetDeviceMaxTextureWidth();
    uiHeight = m_spTextures->GetMaxTextureHeight() ? m_spTextures->GetMaxTextureHeight()
                                                   : m_spTextures->GetDeviceMaxTextureHeight();
}

//--- Scene and transforms ------------------------------------------------------------------------

bool NiD3DRender::OpenScene(NiCamera* pkCamera)
{
    NiRender::OpenScene(pkCamera);
    if (!m_pkDevice || !RestoreLostSurfaces())
        return false;
    if (m_spTextures)
        m_spTextures->BeginFrame();
    if (m_pkLights)
        m_pkLights->DisableAll();
    if (m_spRenderStates)
        m_spRenderStates->ResetPropertyCache();
    if (m_pkTexturePipeline)
        m_pkTexturePipeline->ClearEffects();
    if (FAILED(m_pkDevice->BeginScene()))
        return false;
    m_bInScene = true;
    return true;
}

void NiD3DRender::CloseScene()
{
    NiRender::CloseScene();
    if (!m_bInScene || FAILED(m_pkDevice->EndScene()))
        return;
    m_bInScene = false;
    if (NiDDBufferImage* pkBack = m_pkCurrentFramebuffer->GetBackImage())
        pkBack->IncrementRevision();
}

void NiD3DRender::PurgeEffect(NiDynamicEffect* pkEffect)
{
    auto* pkLight = NiDynamicCast<NiLight>(static_cast<NiObject*>(pkEffect));
    if (pkLight && m_pkLights)
        m_pkLights->PurgeLight(pkLight);
}

bool NiD3DRender::SetCameraFrame(const NiPoint3& kLocation, const NiPoint3& kDirection, const NiPoint3& kUp,
                                 const NiPoint3& kRight, const NiFrustum& kFrustum,
                                 const NiRect<float>& kPort)
{
    const float fRightMinusLeft = kFrustum.m_fRight - kFrustum.m_fLeft;
    const float fTopMinusBottom = kFrustum.m_fTop - kFrustum.m_fBottom;
    const float fFarMinusNear = kFrustum.m_fFar - kFrustum.m_fNear;
    // A degenerate frustum (an empty window) keeps the matrices of the last good frame.
    const bool bDegenerate = !(fRightMinusLeft != 0.0f && fTopMinusBottom != 0.0f && fFarMinusNear != 0.0f);

    m_kView = Rows({kRight.x, kUp.x, kDirection.x, 0, kRight.y, kUp.y, kDirection.y, 0, kRight.z, kUp.z,
                    kDirection.z, 0, -Dot(kLocation, kRight), -Dot(kLocation, kUp),
                    -Dot(kLocation, kDirection), 1});
    if (m_pkDevice)
        m_pkDevice->SetTransform(D3DTRANSFORMSTATE_VIEW, &m_kView);
    m_kCameraRight = m_kModelRight = kRight;
    m_kCameraUp = m_kModelUp = kUp;
    if (m_pkTexturePipeline)
        m_pkTexturePipeline->SetCameraFrame(kDirection, kUp, kRight, kLocation);

    if (!bDegenerate)
    {
        const float fNear = kFrustum.m_fNear;
        const float fFar = kFrustum.m_fFar;
        m_fNear = fNear;
        m_fDepthRange = fFarMinusNear;
        m_kProjection = D3DMATRIX();
        m_kProjection._11 = 2.0f / fRightMinusLeft;
        m_kProjection._22 = 2.0f / fTopMinusBottom;
        m_kProjection._31 = -(kFrustum.m_fRight + kFrustum.m_fLeft) / fRightMinusLeft;
        m_kProjection._32 = -(kFrustum.m_fTop + kFrustum.m_fBottom) / fTopMinusBottom;
        m_kProjection._33 = fFar / fFarMinusNear;
        m_kProjection._34 = 1.0f;
        m_kProjection._43 = -fNear * fFar / fFarMinusNear;
        m_kScreenProjection0._33 = m_kProjection._33;
        m_kScreenProjection0._43 = m_kProjection._43;
    }
    if (m_pkDevice)
        m_pkDevice->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &m_kProjection);

    // An inverted or oversized camera viewport is clamped to the target: a negative extent has
    // no unsigned pixel count, and the device takes no rectangle beyond its target.
    const DWORD dwWidth = GetScreenWidth();
    const DWORD dwHeight = GetScreenHeight();
    const float fWidth = static_cast<float>(dwWidth);
    const float fHeight = static_cast<float>(dwHeight);
    m_kViewport.dwX = ClampedPixels(fWidth * kPort.m_left, dwWidth);
    m_kViewport.dwY = ClampedPixels((1.0f - kPort.m_top) * fHeight, dwHeight);
    m_kViewport.dwWidth = ClampedPixels((kPort.m_right - kPort.m_left) * fWidth, dwWidth - m_kViewport.dwX);
    m_kViewport.dwHeight =
        ClampedPixels((kPort.m_top - kPort.m_bottom) * fHeight, dwHeight - m_kViewport.dwY);
    m_kViewport.dvMinZ = 0.0f;
    m_kViewport.dvMaxZ = 1.0f;
    if (m_spRenderStates)
        m_spRenderStates->SetFogRange(kFrustum.m_fNear, kFrustum.m_fFar);
    return m_pkDevice && SUCCEEDED(m_pkDevice->SetViewport(&m_kViewport));
}

void NiD3DRender::SetObjectTransform(const NiPoint3& kTranslate, const NiRotationMatrix& kRotate,
                                     float fScale)
{
    const auto M = [&](int r, int c) { return kRotate.GetEntry(r, c); };
    D3DMATRIX kWorld = Rows({fScale * M(0, 0), fScale * M(1, 0), fScale * M(2, 0), 0, //
                             fScale * M(0, 1), fScale * M(1, 1), fScale * M(2, 1), 0, //
                             fScale * M(0, 2), fScale * M(1, 2), fScale * M(2, 2), 0, //
                             kTranslate.x, kTranslate.y, kTranslate.z, 1});
    if (m_pkDevice)
        m_pkDevice->SetTransform(D3DTRANSFORMSTATE_WORLD, &kWorld);
    if (m_spRenderStates)
        m_spRenderStates->SetScale(fScale);
    // The camera axes in model space (M transposed applied to them). The world matrix scales
    // what is built on them, so they are not scaled here: particles grow with their model once.
    const auto ToModel = [&](const NiPoint3& kAxis)
    {
        return NiPoint3(M(0, 0) * kAxis.x + M(1, 0) * kAxis.y + M(2, 0) * kAxis.z,
                        M(0, 1) * kAxis.x + M(1, 1) * kAxis.y + M(2, 1) * kAxis.z,
                        M(0, 2) * kAxis.x + M(1, 2) * kAxis.y + M(2, 2) * kAxis.z);
    };
    m_kModelRight = ToModel(m_kCameraRight);
    m_kModelUp = ToModel(m_kCameraUp);
}

bool NiD3DRender::SetProjectionMode(int32_t iMode)
{
    if (!m_bInScene)
        return false;
    NiRender::SetProjectionMode(iMode);
    m_pkDevice->SetTransform(D3DTRANSFORMSTATE_VIEW, &m_kIdentity);
    m_pkDevice->SetTransform(D3DTRANSFORMSTATE_WORLD, &m_kIdentity);
    m_pkDevice->SetTransform(D3DTRANSFORMSTATE_PROJECTION,
                             iMode == 1 ? &m_kScreenProjection1 : &m_kScreenProjection0);
    return true;
}

void NiD3DRender::RestoreProjection()
{
    if (!m_pkDevice)
        return;
    m_pkDevice->SetTransform(D3DTRANSFORMSTATE_VIEW, &m_kView);
    m_pkDevice->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &m_kProjection);
}

//--- Draws ---------------------------------------------------------------------------------------

void NiD3DRender::ApplyObjectState(bool bHasNormals, uint32_t uiTextureSets)
{
    NiPropertyTable* pkTable = GetCurrentPropertyTable();
    NiEffectLists* pkLists = GetCurrentEffectLists();
    if (m_spRenderStates)
        m_spRenderStates->ApplyProperties(pkTable);
    if (m_pkTexturePipeline)
        m_pkTexturePipeline->BuildPasses(pkTable, pkLists, bHasNormals, uiTextureSets);
    if (m_pkLights)
    {
        NiTextureProperty* pkTexture = pkTable ? pkTable->GetTexture() : nullptr;
        m_pkLights->SetObjectLighting(pkLists, pkTexture && pkTexture->GetImageObject(),
                                      pkTable ? pkTable->GetTextureMode() : nullptr,
                                      pkTable ? pkTable->GetVertexColor() : nullptr);
    }
}

void NiD3DRender::DrawPrimitive(D3DPRIMITIVETYPE eType, uint32_t uiVertices, uint16_t* pusIndices,
                                uint32_t uiIndices, NiGeometryData* pkData, IDirect3DVertexBuffer7* pkBuffer,
                                uint32_t uiTextureSets, bool bHasNormals)
{
    if (!uiVertices)
        return;
    if (!pkBuffer && pkData)
    {
        uiTextureSets = pkData->GetTextures() ? pkData->GetTextureSets() : 0;
        bHasNormals = pkData->GetNormals() != nullptr;
    }
    uiTextureSets = std::min(uiTextureSets, 8u);
    ApplyObjectState(bHasNormals, uiTextureSets);
    if (!pkBuffer)
        pkBuffer = GetGeometryBuffer(pkData, true);
    if (!pkBuffer)
        return;
    bool bMore = true;
    while (bMore)
    {
        bMore = m_pkTexturePipeline ? m_pkTexturePipeline->SetupNextPass() : false;
        if (pusIndices)
            m_pkDevice->DrawIndexedPrimitiveVB(eType, pkBuffer, 0, uiVertices, pusIndices, uiIndices, 0);
        else
            m_pkDevice->DrawPrimitiveVB(eType, pkBuffer, 0, uiVertices, 0);
    }
}

IDirect3DVertexBuffer7* NiD3DRender::GetGeometryBuffer(NiGeometryData* pkData, bool bOptimize)
{
    if (!m_pkVertexBuffers || !pkData)
        return nullptr;
    return m_pkGeometryBuffers->GetBuffer(pkData, bOptimize, *m_pkVertexBuffers, m_pkDevice);
}

uint32_t NiD3DRender::GetGeometryBufferCount() const
{
    return m_pkGeometryBuffers->GetCount();
}

void NiD3DRender::DrawTriShape(NiTriShapeData* pkData, const NiBoundingSphere&)
{
    if (!m_bInScene || !pkData || !pkData->GetTriList())
        return;
    // Never more indices than the list holds.
    const uint32_t uiIndices =
        std::min<uint32_t>(3u * pkData->GetActiveTriangleCount(), pkData->GetTriListLength());
    if (!uiIndices)
        return;
    DrawPrimitive(D3DPT_TRIANGLELIST, pkData->GetVertexCount(), pkData->GetTriList(), uiIndices, pkData,
                  nullptr, 0, false);
}

void NiD3DRender::DrawTriangles(NiTrianglesData* pkData, const NiBoundingSphere&)
{
    if (!m_bInScene || !pkData)
        return;
    const uint32_t uiVertices = std::min<uint32_t>(3u * pkData->GetTriangleCount(), pkData->GetVertexCount());
    DrawPrimitive(D3DPT_TRIANGLELIST, uiVertices, nullptr, 0, pkData, nullptr, 0, false);
}

void NiD3DRender::DrawTriStrip(NiTriStripData* pkData, const NiBoundingSphere&)
{
    if (!m_bInScene || !pkData)
        return;
    DrawPrimitive(D3DPT_TRIANGLESTRIP, pkData->GetVertexCount(), nullptr, 0, pkData, nullptr, 0, false);
}

void NiD3DRender::DrawTriStrips(NiTriStripsData* pkData, const NiBoundingSphere&)
{
    if (!m_bInScene || !pkData || !pkData->GetStripLists() || !pkData->GetStripCount())
        return;
    const uint32_t uiSets = pkData->GetTextures() ? std::min<uint32_t>(pkData->GetTextureSets(), 8) : 0;
    ApplyObjectState(pkData->GetNormals() != nullptr, uiSets);
    IDirect3DVertexBuffer7* pkBuffer = GetGeometryBuffer(pkData, true);
    if (!pkBuffer)
        return;
    const uint16_t* pusLengths = pkData->GetStripLengths();
    const uint32_t uiListLength = pkData->GetStripListLength();
    bool bMore = true;
    while (bMore)
    {
        bMore = m_pkTexturePipeline ? m_pkTexturePipeline->SetupNextPass() : false;
        uint32_t uiStart = 0;
        for (uint32_t i = 0; i < pkData->GetStripCount(); ++i)
        {
            // A strip that runs past the list is not drawn.
            if (uiStart + pusLengths[i] > uiListLength)
                break;
            m_pkDevice->DrawIndexedPrimitiveVB(D3DPT_TRIANGLESTRIP, pkBuffer, 0, pkData->GetVertexCount(),
                                               const_cast<uint16_t*>(pkData->GetStripLists()) + uiStart,
                                               pusLengths[i], 0);
            uiStart += pusLengths[i];
        }
    }
}

void NiD3DRender::DrawParticles(NiParticlesData* pkData, const NiBoundingSphere&)
{
    if (!m_bInScene || !pkData || !m_pkVertexBuffers || !pkData->GetVertices())
        return;
    const uint32_t uiActive = std::min<uint32_t>(pkData->GetActiveCount(), pkData->GetVertexCount());
    if (!uiActive)
        return;
    const NiPoint3* pkNormals = pkData->GetNormals();
    const NiColorA* pkColors = pkData->GetColors();
    const float* pfSizes = pkData->GetSizes();
    ApplyObjectState(pkNormals != nullptr, 1);
    if (m_pkTexturePipeline)
        m_pkTexturePipeline->SetupNextPass();

    const float fRadius = pkData->GetRadius();
    const NiPoint3 kA = (m_kModelUp + m_kModelRight) * fRadius;
    const NiPoint3 kB = (m_kModelUp - m_kModelRight) * fRadius;
    const DWORD dwFVF = pkNormals ? 0x152 : 0x142;
    const NiPoint3* pkCentres = pkData->GetVertices();
    static constexpr float CORNER_UV[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    // Batches of at most as many quads as 16-bit indices can address.
    for (uint32_t uiFirst = 0; uiFirst < uiActive; uiFirst += NiD3DVertexBufferCache::MAX_QUADS)
    {
        const uint32_t uiQuads = std::min(uiActive - uiFirst, NiD3DVertexBufferCache::MAX_QUADS);
        const uint16_t* pusIndices = m_pkVertexBuffers->GetQuadIndices(uiQuads);
        IDirect3DVertexBuffer7* pkBuffer = m_pkVertexBuffers->GetBuffer(dwFVF, 4 * uiQuads);
        LPVOID pvData = nullptr;
        DWORD dwSize = 0;
        if (!pusIndices || !pkBuffer ||
            FAILED(pkBuffer->Lock(DDLOCK_WRITEONLY | DDLOCK_DISCARDCONTENTS, &pvData, &dwSize)) || !pvData)
        {
            return;
        }
        auto* pucOut = static_cast<uint8_t*>(pvData);
        for (uint32_t i = uiFirst; i < uiFirst + uiQuads; ++i)
        {
            const float fSize = pfSizes ? pfSizes[i] : 1.0f;
            const NiPoint3& kCentre = pkCentres[i];
            const NiPoint3 akCorners[4] = {kCentre - kA * fSize, kCentre - kB * fSize, kCentre + kA * fSize,
                                           kCentre + kB * fSize};
            const uint32_t uiColor = pkColors ? NiD3DVertexBufferCache::PackColor(pkColors[i]) : 0xFFFFFFFFu;
            for (int c = 0; c < 4; ++c)
            {
                const float afPosition[3] = {akCorners[c].x, akCorners[c].y, akCorners[c].z};
                std::memcpy(pucOut, afPosition, 12);
                pucOut += 12;
                if (pkNormals)
                {
                    const float afNormal[3] = {pkNormals[i].x, pkNormals[i].y, pkNormals[i].z};
                    std::memcpy(pucOut, afNormal, 12);
                    pucOut += 12;
                }
                std::memcpy(pucOut, &uiColor, 4);
                std::memcpy(pucOut + 4, CORNER_UV[c], 8);
                pucOut += 12;
            }
        }
        pkBuffer->Unlock();
        m_pkDevice->DrawIndexedPrimitiveVB(D3DPT_TRIANGLELIST, pkBuffer, 0, 4 * uiQuads,
                                           const_cast<uint16_t*>(pusIndices), 6 * uiQuads, 0);
    }
}

void NiD3DRender::DrawLines(NiLinesData* pkData, const NiBoundingSphere&)
{
    if (!m_bInScene || !pkData || !m_pkVertexBuffers)
        return;
    const uint32_t uiVertices = pkData->GetVertexCount();
    const uint8_t* pucFlags = pkData->GetFlags();
    if (!uiVertices || !pucFlags)
        return;
    uint16_t* pusIndices = m_pkVertexBuffers->GetLineIndices(2 * uiVertices);
    if (!pusIndices)
        return;
    uint32_t uiIndices = 0;
    for (uint32_t i = 0; i + 1 < uiVertices; ++i)
    {
        if (!pucFlags[i])
            continue;
        pusIndices[uiIndices++] = static_cast<uint16_t>(i);
        pusIndices[uiIndices++] = static_cast<uint16_t>(i + 1);
    }
    if (pucFlags[uiVertices - 1])
    {
        pusIndices[uiIndices++] = static_cast<uint16_t>(uiVertices - 1);
        pusIndices[uiIndices++] = 0;
    }
    DrawPrimitive(D3DPT_LINELIST, uiVertices, pusIndices, uiIndices, pkData, nullptr, 0, false);
}

void NiD3DRender::DrawScreenPolygon(uint16_t usVertices, const NiPoint3* pkVertex,
                                    const NiTexCoord* pkTexture, const NiColorA* pkColor)
{
    if (!m_bInScene || !m_pkVertexBuffers)
        return;
    IDirect3DVertexBuffer7* pkBuffer = m_pkVertexBuffers->BuildScreenPolygonBuffer(
        usVertices, pkVertex, pkTexture, pkColor, m_fNear, m_fDepthRange);
    if (!pkBuffer)
        return;
    DrawPrimitive(D3DPT_TRIANGLEFAN, usVertices, nullptr, 0, nullptr, pkBuffer, pkTexture ? 1 : 0, false);
}

//--- Clipping, images, geometry data -------------------------------------------------------------

bool NiD3DRender::SetClipPlanes(const NiPlane* const*, uint32_t uiCount, uint32_t, uint32_t)
{
    // The device clips to the view frustum itself.
    return uiCount != 0;
}

bool NiD3DRender::PrepareImage(NiImage* pkImage)
{
    return m_spTextures && m_spTextures->CanCreateSource(NiDynamicCast<NiDDImage>(pkImage));
}

void NiD3DRender::PurgeGeometryData(NiGeometryData* pkData)
{
    m_pkGeometryBuffers->Purge(pkData);
}

//--- Render targets and drivers ------------------------------------------------------------------

NiD3DFramebuffer* NiD3DRender::GetFramebuffer(uint32_t uiIndex) const
{
    return uiIndex < m_kFramebuffers.size() ? m_kFramebuffers[uiIndex] : nullptr;
}

uint32_t NiD3DRender::AddRenderTarget(uint32_t uiWidth, uint32_t uiHeight)
{
    if (m_kFramebuffers.empty() || !m_kFramebuffers[0])
        return 0;
    NiD3DFramebuffer* pkTarget =
        NiD3DFramebuffer::CreateOffscreen(m_kFramebuffers[0]->GetDevice(), uiWidth, uiHeight);
    if (!pkTarget)
        return 0;
    if (m_kFramebuffers[0]->GetZBuffer() &&
        !pkTarget->AttachZBuffer(GetDriverRecord()->m_ucHardware != 0, m_kZBufferFormat))
    {
        pkTarget->DecRef();
        return 0;
    }
    return TakeSlot(pkTarget);
}

uint32_t NiD3DRender::AddRenderTargetFromSurface(IDirectDrawSurface7* pkSurface)
{
    if (!pkSurface || m_kFramebuffers.empty() || !m_kFramebuffers[0])
        return 0;
    NiD3DFramebuffer* pkTarget = NiD3DFramebuffer::CreateFromSurfaces(m_kFramebuffers[0]->GetDevice(), false,
                                                                      nullptr, pkSurface, pkSurface);
    if (!pkTarget)
        return 0;
    return TakeSlot(pkTarget);
}

uint32_t NiD3DRender::TakeSlot(NiD3DFramebuffer* pkTarget)
{
    for (uint32_t i = 1; i < m_kFramebuffers.size(); ++i)
    {
        if (!m_kFramebuffers[i])
        {
            m_kFramebuffers[i] = pkTarget;
            return i;
        }
    }
    m_kFramebuffers.push_back(pkTarget);
    return static_cast<uint32_t>(m_kFramebuffers.size() - 1);
}

void NiD3DRender::RemoveRenderTarget(uint32_t uiIndex)
{
    if (uiIndex == 0 || uiIndex >= m_kFramebuffers.size() || !m_kFramebuffers[uiIndex])
        return;
    if (m_pkCurrentFramebuffer == m_kFramebuffers[uiIndex])
        SelectRenderTarget(0);
    m_kFramebuffers[uiIndex]->DecRef();
    m_kFramebuffers[uiIndex] = nullptr;
}

bool NiD3DRender::SelectRenderTarget(uint32_t uiIndex)
{
    NiD3DFramebuffer* pkTarget = GetFramebuffer(uiIndex);
    if (!pkTarget || !m_pkDevice)
        return false;
    NiD3DFramebuffer* pkPrevious = m_pkCurrentFramebuffer;
    m_pkCurrentFramebuffer = pkTarget;
    if (pkTarget->IsLost())
    {
        if (!RestoreLostSurfaces())
        {
            m_pkCurrentFramebuffer = pkPrevious;
            return false;
        }
    }
    else if (FAILED(m_pkDevice->SetRenderTarget(pkTarget->GetBackSurface(), 0)))
    {
        m_pkCurrentFramebuffer = pkPrevious;
        return false;
    }
    SetDefaultCameraFrame();
    return true;
}

void NiD3DRender::SetAntialiasing(bool bOn)
{
    if (m_spRenderStates)
        m_spRenderStates->SetAntialias(bOn);
}

void NiD3DRender::SetWBuffering(bool bOn)
{
    if (m_spRenderStates)
        m_spRenderStates->SetWBuffer(bOn);
}

void NiD3DRender::SetEnvironmentMapMode(bool bWorld)
{
    if (m_pkTexturePipeline)
        m_pkTexturePipeline->SetSphereMapWorldSpace(bWorld);
}

const std::list<NiD3DDriverRecord>& NiD3DRender::GetDriverList()
{
    return NiD3DDriverList::GetDriverList();
}

const NiD3DDriverRecord* NiD3DRender::GetDefaultWindowedDriver()
{
    return NiD3DDriverList::GetDefaultWindowedDriver();
}

const NiD3DDriverRecord* NiD3DRender::GetDefaultFullscreenDriver()
{
    return NiD3DDriverList::GetDefaultFullscreenDriver();
}

const NiD3DDriverRecord* NiD3DRender::GetSoftwareDriver()
{
    return NiD3DDriverList::GetSoftwareDriver();
}

uint32_t NiD3DRender::CheckDriverModes(IDirectDraw7* pkDirectDraw, uint32_t uiMode,
                                       IDirectDrawSurface7* pkSurface, uint32_t uiFlag, uint32_t uiDeviceKind,
                                       NiD3DDriverRecord& kRecord)
{
    return NiD3DDriverList::CheckDriverModes(pkDirectDraw, uiMode, pkSurface, uiFlag, uiDeviceKind, kRecord);
}
