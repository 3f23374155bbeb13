#include "scene/render/NiD3DRender.h"

#include "platform/d3d7/IDirect3D7.h"
#include "platform/d3d7/IDirect3DDevice7.h"
#include "platform/d3d7/IDirectDraw7.h"
#include "platform/d3d7/IDirectDrawSurface7.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/render/D3DLog.h"
#include "scene/render/NiD3DDriverList.h"
#include "scene/render/NiD3DFramebuffer.h"
#include "scene/render/NiD3DGeometryBufferMap.h"
#include "scene/render/NiD3DLightCache.h"
#include "scene/render/NiD3DRenderStateCache.h"
#include "scene/render/NiD3DTextureCache.h"
#include "scene/render/NiD3DTexturePipeline.h"
#include "scene/render/NiD3DVertexBufferCache.h"
#include "scene/render/NiDirectDrawDevice.h"

#include <algorithm>

// Creation and shut-down of the renderer: finding a driver, making the device and its z-buffer,
// the managers and framebuffer slot 0; recovery after lost surfaces; further render targets and
// the driver list. The frame and the camera are in NiD3DRenderFrame.cpp, the draws in
// NiD3DRenderDraw.cpp, images, textures and screenshots in NiD3DRenderImages.cpp.
//
// Contents: creation and device initialisation / shutdown and recovery / device /
// render targets and drivers.

NiImplementRTTI(NiD3DRender, NiRender);

namespace
{
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
    : m_pkGeometryBuffers(std::make_unique<NiD3DGeometryBufferMap>()), m_kScreenProjection0{2,  0,  0, 0,
                                                                                            0,  2,  0, 0,
                                                                                            -1, -1, 1, 1,
                                                                                            0,  0,  0, 0},
      m_kIdentity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, m_kScreenProjection1{2, 0, 0,  0,  0, 2,
                                                                                        0, 0, -1, -1, 1, 0,
                                                                                        0, 0, 0,  1}
{
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
