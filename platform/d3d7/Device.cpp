// Device: state kept as given, scenes, clears and the checked draw calls.
#include "platform/d3d7/Device.h"

#include "platform/d3d7/DirectDrawCore.h"
#include "platform/d3d7/GLContext.h"
#include "platform/d3d7/GLRenderer.h"
#include "platform/d3d7/Surface.h"
#include "platform/d3d7/VertexBuffer.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace d3d7
{
namespace
{
uint64_t Bits(float fValue)
{
    return std::bit_cast<uint32_t>(fValue);
}

uint64_t Address(const void* pvObject)
{
    return reinterpret_cast<uintptr_t>(pvObject);
}

bool ValidLight(const D3DLIGHT7& kLight)
{
    if (kLight.dltType < D3DLIGHT_POINT || kLight.dltType > D3DLIGHT_DIRECTIONAL)
        return false;
    if (kLight.dltType == D3DLIGHT_SPOT)
    {
        const float fPi = 3.14159265358979f;
        if (!(kLight.dvTheta >= 0.0f && kLight.dvTheta <= kLight.dvPhi && kLight.dvPhi <= fPi + 1e-5f))
            return false;
    }
    return kLight.dvRange >= 0.0f && kLight.dvAttenuation0 >= 0.0f && kLight.dvAttenuation1 >= 0.0f &&
           kLight.dvAttenuation2 >= 0.0f;
}
} // namespace

D3DMATRIX DeviceState::Identity()
{
    D3DMATRIX kMatrix;
    kMatrix._11 = kMatrix._22 = kMatrix._33 = kMatrix._44 = 1.0f;
    return kMatrix;
}

void DeviceState::Reset(bool bZBuffer)
{
    kRenderStates.fill(0);
    auto fnSet = [&](D3DRENDERSTATETYPE eState, DWORD dwValue) { kRenderStates[eState] = dwValue; };
    fnSet(D3DRENDERSTATE_TEXTUREPERSPECTIVE, TRUE);
    fnSet(D3DRENDERSTATE_ZENABLE, bZBuffer ? D3DZB_TRUE : D3DZB_FALSE);
    fnSet(D3DRENDERSTATE_FILLMODE, D3DFILL_SOLID);
    fnSet(D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD);
    fnSet(D3DRENDERSTATE_ZWRITEENABLE, TRUE);
    fnSet(D3DRENDERSTATE_LASTPIXEL, TRUE);
    fnSet(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
    fnSet(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ZERO);
    fnSet(D3DRENDERSTATE_CULLMODE, D3DCULL_CCW);
    fnSet(D3DRENDERSTATE_ZFUNC, D3DCMP_LESSEQUAL);
    fnSet(D3DRENDERSTATE_ALPHAFUNC, D3DCMP_ALWAYS);
    fnSet(D3DRENDERSTATE_FOGSTART, static_cast<DWORD>(Bits(0.0f)));
    fnSet(D3DRENDERSTATE_FOGEND, static_cast<DWORD>(Bits(1.0f)));
    fnSet(D3DRENDERSTATE_FOGDENSITY, static_cast<DWORD>(Bits(1.0f)));
    fnSet(D3DRENDERSTATE_STENCILFAIL, D3DSTENCILOP_KEEP);
    fnSet(D3DRENDERSTATE_STENCILZFAIL, D3DSTENCILOP_KEEP);
    fnSet(D3DRENDERSTATE_STENCILPASS, D3DSTENCILOP_KEEP);
    fnSet(D3DRENDERSTATE_STENCILFUNC, D3DCMP_ALWAYS);
    fnSet(D3DRENDERSTATE_STENCILMASK, 0xffffffffu);
    fnSet(D3DRENDERSTATE_STENCILWRITEMASK, 0xffffffffu);
    fnSet(D3DRENDERSTATE_TEXTUREFACTOR, 0xffffffffu);
    fnSet(D3DRENDERSTATE_CLIPPING, TRUE);
    fnSet(D3DRENDERSTATE_LIGHTING, TRUE);
    fnSet(D3DRENDERSTATE_COLORVERTEX, TRUE);
    fnSet(D3DRENDERSTATE_LOCALVIEWER, TRUE);
    fnSet(D3DRENDERSTATE_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1);
    fnSet(D3DRENDERSTATE_SPECULARMATERIALSOURCE, D3DMCS_COLOR2);
    fnSet(D3DRENDERSTATE_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL);
    fnSet(D3DRENDERSTATE_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL);

    for (DWORD dwStage = 0; dwStage < D3D_MAXTEXTURESTAGES; ++dwStage)
    {
        auto& kStage = kStageStates[dwStage];
        kStage.fill(0);
        kStage[D3DTSS_COLOROP] = dwStage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        kStage[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        kStage[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        kStage[D3DTSS_ALPHAOP] = dwStage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        kStage[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        kStage[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        kStage[D3DTSS_TEXCOORDINDEX] = dwStage;
        kStage[D3DTSS_ADDRESS] = D3DTADDRESS_WRAP;
        kStage[D3DTSS_ADDRESSU] = D3DTADDRESS_WRAP;
        kStage[D3DTSS_ADDRESSV] = D3DTADDRESS_WRAP;
        kStage[D3DTSS_MAGFILTER] = D3DTFG_POINT;
        kStage[D3DTSS_MINFILTER] = D3DTFN_POINT;
        kStage[D3DTSS_MIPFILTER] = D3DTFP_NONE;
        kStage[D3DTSS_MAXANISOTROPY] = 1;
        kStage[D3DTSS_TEXTURETRANSFORMFLAGS] = D3DTTFF_DISABLE;
    }
    kWorld = kView = kProjection = Identity();
    kTextureMatrices.fill(Identity());
    kMaterial = D3DMATERIAL7{};
}

Device::Device(std::shared_ptr<DirectDrawCore> pkCore, const D3DDEVICEDESC7& kCaps, Surface* pkTarget)
    : ComObject(IID_IDirect3DDevice7), m_pkCore(std::move(pkCore)), m_kCaps(kCaps), m_kTarget(pkTarget)
{
    m_kState.Reset(pkTarget->GetZBuffer() != nullptr);
    m_kState.kViewport = D3DVIEWPORT7{0, 0, pkTarget->GetWidth(), pkTarget->GetHeight(), 0.0f, 1.0f};
    if (m_pkCore->IsGL())
    {
        m_pkGL = std::make_unique<GLRenderer>(*m_pkCore);
        // GL's limits bound what the device can promise.
        if (GLContext* pkGL = m_pkCore->GL())
        {
            const auto wUnits = static_cast<WORD>(std::clamp(pkGL->MaxTextureUnits(), 1, 8));
            m_kCaps.wMaxTextureBlendStages = std::min(m_kCaps.wMaxTextureBlendStages, wUnits);
            m_kCaps.wMaxSimultaneousTextures = std::min(m_kCaps.wMaxSimultaneousTextures, wUnits);
            const auto dwSize = static_cast<DWORD>(std::max(pkGL->MaxTextureSize(), 1));
            m_kCaps.dwMaxTextureWidth = std::min(m_kCaps.dwMaxTextureWidth, dwSize);
            m_kCaps.dwMaxTextureHeight = std::min(m_kCaps.dwMaxTextureHeight, dwSize);
        }
    }
}

Device::~Device()
{
    for (Surface*& pkTexture : m_kState.kTextures)
    {
        if (pkTexture != nullptr)
            pkTexture->Release();
        pkTexture = nullptr;
    }
}

bool Device::IsReady() const
{
    return !m_pkCore->IsGL() || (m_pkGL && m_pkGL->IsReady());
}

HRESULT Device::GetCaps(D3DDEVICEDESC7* pkDesc)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("Device::GetCaps");
    if (HRESULT hr = kWorld.Injected("Device::GetCaps"); FAILED(hr))
        return hr;
    if (pkDesc == nullptr)
        return DDERR_INVALIDPARAMS;
    *pkDesc = m_kCaps;
    return D3D_OK;
}

HRESULT Device::EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK pfnCallback, LPVOID pvContext)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("EnumTextureFormats");
    if (HRESULT hr = kWorld.Injected("EnumTextureFormats"); FAILED(hr))
        return hr;
    if (pfnCallback == nullptr)
        return DDERR_INVALIDPARAMS;
    for (const DDPIXELFORMAT& kFormat : kWorld.kTextureFormats)
    {
        DDPIXELFORMAT kCopy = kFormat;
        if (pfnCallback(&kCopy, pvContext) == D3DENUMRET_CANCEL)
            break;
    }
    return D3D_OK;
}

HRESULT Device::BeginScene()
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("BeginScene");
    if (kWorld.NextSceneLosesSurfaces())
        kWorld.LoseAllSurfaces();
    if (HRESULT hr = kWorld.Injected("BeginScene"); FAILED(hr))
        return hr;
    if (m_bInScene)
        return D3DERR_SCENE_IN_SCENE;
    if (m_kTarget->IsLostFlag())
        return DDERR_SURFACELOST;
    m_bInScene = true;
    return D3D_OK;
}

HRESULT Device::EndScene()
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("EndScene");
    if (HRESULT hr = kWorld.Injected("EndScene"); FAILED(hr))
        return hr;
    if (!m_bInScene)
        return D3DERR_SCENE_NOT_IN_SCENE;
    m_bInScene = false;
    return D3D_OK;
}

HRESULT Device::Clear(DWORD dwCount, D3DRECT* pkRects, DWORD dwFlags, D3DCOLOR dwColor, D3DVALUE dvZ,
                      DWORD dwStencil)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("Clear", {dwCount, dwFlags, dwColor, Bits(dvZ), dwStencil});
    if (HRESULT hr = kWorld.Injected("Clear"); FAILED(hr))
        return hr;
    if (dwCount != 0 && pkRects == nullptr)
        return DDERR_INVALIDPARAMS;
    Surface& kTarget = *m_kTarget.Get();
    if (kTarget.IsLostFlag())
        return DDERR_SURFACELOST;

    // Rectangles are clipped to the viewport; none means the whole viewport.
    const D3DVIEWPORT7& kPort = m_kState.kViewport;
    const RECT kPortRect{static_cast<int32_t>(kPort.dwX), static_cast<int32_t>(kPort.dwY),
                         static_cast<int32_t>(kPort.dwX + kPort.dwWidth),
                         static_cast<int32_t>(kPort.dwY + kPort.dwHeight)};
    std::vector<RECT> kRects;
    if (dwCount == 0)
        kRects.push_back(kPortRect);
    for (DWORD i = 0; i < dwCount; ++i)
    {
        RECT kRect{std::max(pkRects[i].x1, kPortRect.left), std::max(pkRects[i].y1, kPortRect.top),
                   std::min(pkRects[i].x2, kPortRect.right), std::min(pkRects[i].y2, kPortRect.bottom)};
        if (kRect.left < kRect.right && kRect.top < kRect.bottom)
            kRects.push_back(kRect);
    }

    if (m_pkCore->IsGL())
    {
        GLContext* pkGL = m_pkCore->GL();
        if (pkGL == nullptr)
            return DDERR_GENERIC;
        pkGL->Clear(kTarget, kRects, dwFlags, dwColor, dvZ, dwStencil);
        return D3D_OK;
    }
    // Recording targets keep a picture too, so clears and blits can be read back.
    if ((dwFlags & D3DCLEAR_TARGET) != 0)
    {
        for (const RECT& kRect : kRects)
            kTarget.FillMemory(kRect, dwColor);
    }
    return D3D_OK;
}

HRESULT Device::SetViewport(D3DVIEWPORT7* pkViewport)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("SetViewport",
               {pkViewport != nullptr ? pkViewport->dwX : 0u, pkViewport != nullptr ? pkViewport->dwY : 0u,
                pkViewport != nullptr ? pkViewport->dwWidth : 0u,
                pkViewport != nullptr ? pkViewport->dwHeight : 0u});
    if (HRESULT hr = kWorld.Injected("SetViewport"); FAILED(hr))
        return hr;
    if (pkViewport == nullptr)
        return DDERR_INVALIDPARAMS;
    const uint64_t uiRight = uint64_t{pkViewport->dwX} + pkViewport->dwWidth;
    const uint64_t uiBottom = uint64_t{pkViewport->dwY} + pkViewport->dwHeight;
    // A viewport must lie inside its render target.
    if (pkViewport->dwWidth == 0 || pkViewport->dwHeight == 0 || uiRight > m_kTarget->GetWidth() ||
        uiBottom > m_kTarget->GetHeight() || !(pkViewport->dvMinZ >= 0.0f && pkViewport->dvMaxZ <= 1.0f))
        return DDERR_INVALIDPARAMS;
    m_kState.kViewport = *pkViewport;
    return D3D_OK;
}

HRESULT Device::GetViewport(D3DVIEWPORT7* pkViewport)
{
    if (pkViewport == nullptr)
        return DDERR_INVALIDPARAMS;
    *pkViewport = m_kState.kViewport;
    return D3D_OK;
}

D3DMATRIX* Device::Matrix(D3DTRANSFORMSTATETYPE eState)
{
    switch (eState)
    {
    case D3DTRANSFORMSTATE_WORLD:
        return &m_kState.kWorld;
    case D3DTRANSFORMSTATE_VIEW:
        return &m_kState.kView;
    case D3DTRANSFORMSTATE_PROJECTION:
        return &m_kState.kProjection;
    default:
        if (eState >= D3DTRANSFORMSTATE_TEXTURE0 && eState <= D3DTRANSFORMSTATE_TEXTURE7)
            return &m_kState.kTextureMatrices[eState - D3DTRANSFORMSTATE_TEXTURE0];
        return nullptr;
    }
}

HRESULT Device::SetTransform(D3DTRANSFORMSTATETYPE eState, D3DMATRIX* pkMatrix)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("SetTransform", {eState});
    if (HRESULT hr = kWorld.Injected("SetTransform"); FAILED(hr))
        return hr;
    D3DMATRIX* pkSlot = Matrix(eState);
    if (pkSlot == nullptr || pkMatrix == nullptr)
        return DDERR_INVALIDPARAMS;
    *pkSlot = *pkMatrix;
    if (eState == D3DTRANSFORMSTATE_VIEW)
        ++m_kState.uiLightRevision; // lights are placed in the new view
    return D3D_OK;
}

HRESULT Device::GetTransform(D3DTRANSFORMSTATETYPE eState, D3DMATRIX* pkMatrix)
{
    const D3DMATRIX* pkSlot = Matrix(eState);
    if (pkSlot == nullptr || pkMatrix == nullptr)
        return DDERR_INVALIDPARAMS;
    *pkMatrix = *pkSlot;
    return D3D_OK;
}

HRESULT Device::SetRenderTarget(IDirectDrawSurface7* pkSurface, DWORD dwFlags)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("SetRenderTarget", {Address(pkSurface), dwFlags});
    if (HRESULT hr = kWorld.Injected("SetRenderTarget"); FAILED(hr))
        return hr;
    auto* pkTarget = static_cast<Surface*>(pkSurface);
    if (pkTarget == nullptr || pkTarget->GetKind() != Surface::Kind::RenderTarget ||
        &pkTarget->GetCore() != m_pkCore.get())
        return DDERR_INVALIDPARAMS;
    if (pkTarget->IsLostFlag())
        return DDERR_SURFACELOST;
    m_kTarget.Reset(pkTarget);
    // The viewport covers the new target; every other state stays.
    m_kState.kViewport = D3DVIEWPORT7{0, 0, pkTarget->GetWidth(), pkTarget->GetHeight(), 0.0f, 1.0f};
    return D3D_OK;
}

HRESULT Device::GetRenderTarget(IDirectDrawSurface7** ppkSurface)
{
    if (ppkSurface == nullptr)
        return DDERR_INVALIDPARAMS;
    m_kTarget->AddRef();
    *ppkSurface = m_kTarget.Get();
    return D3D_OK;
}

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE eState, DWORD dwValue)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("SetRenderState", {eState, dwValue});
    if (HRESULT hr = kWorld.Injected("SetRenderState"); FAILED(hr))
        return hr;
    if (eState == 0 || eState >= D3D_MAXRENDERSTATES)
        return DDERR_INVALIDPARAMS;
    m_kState.kRenderStates[eState] = dwValue;
    if (eState == D3DRENDERSTATE_AMBIENT)
        ++m_kState.uiLightRevision;
    return D3D_OK;
}

HRESULT Device::GetRenderState(D3DRENDERSTATETYPE eState, DWORD* pdwValue)
{
    if (eState == 0 || eState >= D3D_MAXRENDERSTATES || pdwValue == nullptr)
        return DDERR_INVALIDPARAMS;
    *pdwValue = m_kState.kRenderStates[eState];
    return D3D_OK;
}

HRESULT Device::SetTextureStageState(DWORD dwStage, D3DTEXTURESTAGESTATETYPE eType, DWORD dwValue)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("SetTextureStageState", {dwStage, eType, dwValue});
    if (HRESULT hr = kWorld.Injected("SetTextureStageState"); FAILED(hr))
        return hr;
    if (dwStage >= D3D_MAXTEXTURESTAGES || eType == 0 || eType >= D3D_MAXTEXTURESTAGESTATES)
        return DDERR_INVALIDPARAMS;
    auto& kStage = m_kState.kStageStates[dwStage];
    kStage[eType] = dwValue;
    // The one-call address sets both directions.
    if (eType == D3DTSS_ADDRESS)
        kStage[D3DTSS_ADDRESSU] = kStage[D3DTSS_ADDRESSV] = dwValue;
    return D3D_OK;
}

HRESULT Device::GetTextureStageState(DWORD dwStage, D3DTEXTURESTAGESTATETYPE eType, DWORD* pdwValue)
{
    if (dwStage >= D3D_MAXTEXTURESTAGES || eType == 0 || eType >= D3D_MAXTEXTURESTAGESTATES ||
        pdwValue == nullptr)
        return DDERR_INVALIDPARAMS;
    *pdwValue = m_kState.kStageStates[dwStage][eType];
    return D3D_OK;
}

HRESULT Device::SetTexture(DWORD dwStage, IDirectDrawSurface7* pkTexture)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("SetTexture", {dwStage, Address(pkTexture)});
    if (HRESULT hr = kWorld.Injected("SetTexture"); FAILED(hr))
        return hr;
    auto* pkSurface = static_cast<Surface*>(pkTexture);
    if (dwStage >= D3D_MAXTEXTURESTAGES)
        return DDERR_INVALIDPARAMS;
    if (pkSurface != nullptr && (!pkSurface->IsTexture() || &pkSurface->GetCore() != m_pkCore.get()))
        return DDERR_INVALIDPARAMS;
    if (pkSurface != nullptr)
        pkSurface->AddRef();
    if (m_kState.kTextures[dwStage] != nullptr)
        m_kState.kTextures[dwStage]->Release();
    m_kState.kTextures[dwStage] = pkSurface;
    return D3D_OK;
}

HRESULT Device::GetTexture(DWORD dwStage, IDirectDrawSurface7** ppkTexture)
{
    if (dwStage >= D3D_MAXTEXTURESTAGES || ppkTexture == nullptr)
        return DDERR_INVALIDPARAMS;
    *ppkTexture = m_kState.kTextures[dwStage];
    if (*ppkTexture != nullptr)
        (*ppkTexture)->AddRef();
    return D3D_OK;
}

HRESULT Device::SetLight(DWORD dwIndex, D3DLIGHT7* pkLight)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("SetLight", {dwIndex, pkLight != nullptr ? uint64_t{pkLight->dltType} : 0u});
    if (HRESULT hr = kWorld.Injected("SetLight"); FAILED(hr))
        return hr;
    if (pkLight == nullptr || !ValidLight(*pkLight))
        return DDERR_INVALIDPARAMS;
    m_kState.kLights[dwIndex].kLight = *pkLight;
    ++m_kState.uiLightRevision;
    return D3D_OK;
}

HRESULT Device::GetLight(DWORD dwIndex, D3DLIGHT7* pkLight)
{
    const auto kFound = m_kState.kLights.find(dwIndex);
    if (pkLight == nullptr || kFound == m_kState.kLights.end())
        return DDERR_INVALIDPARAMS;
    *pkLight = kFound->second.kLight;
    return D3D_OK;
}

HRESULT Device::LightEnable(DWORD dwIndex, BOOL bEnable)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("LightEnable", {dwIndex, static_cast<uint64_t>(bEnable != FALSE)});
    if (HRESULT hr = kWorld.Injected("LightEnable"); FAILED(hr))
        return hr;
    auto kFound = m_kState.kLights.find(dwIndex);
    if (kFound == m_kState.kLights.end())
    {
        // Enabling a light never set makes a white directional light along +z.
        DeviceState::LightSlot kSlot;
        kSlot.kLight.dltType = D3DLIGHT_DIRECTIONAL;
        kSlot.kLight.dcvDiffuse = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 0.0f};
        kSlot.kLight.dvDirection = D3DVECTOR{0.0f, 0.0f, 1.0f};
        kFound = m_kState.kLights.emplace(dwIndex, kSlot).first;
    }
    const bool bOn = bEnable != FALSE;
    if (kFound->second.bEnabled != bOn)
    {
        kFound->second.bEnabled = bOn;
        std::erase(m_kState.kEnabledLights, dwIndex);
        if (bOn)
            m_kState.kEnabledLights.push_back(dwIndex);
        ++m_kState.uiLightRevision;
    }
    return D3D_OK;
}

HRESULT Device::GetLightEnable(DWORD dwIndex, BOOL* pbEnable)
{
    const auto kFound = m_kState.kLights.find(dwIndex);
    if (pbEnable == nullptr || kFound == m_kState.kLights.end())
        return DDERR_INVALIDPARAMS;
    *pbEnable = kFound->second.bEnabled ? TRUE : FALSE;
    return D3D_OK;
}

HRESULT Device::SetMaterial(D3DMATERIAL7* pkMaterial)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("SetMaterial");
    if (HRESULT hr = kWorld.Injected("SetMaterial"); FAILED(hr))
        return hr;
    if (pkMaterial == nullptr)
        return DDERR_INVALIDPARAMS;
    m_kState.kMaterial = *pkMaterial;
    ++m_kState.uiMaterialRevision;
    return D3D_OK;
}

HRESULT Device::GetMaterial(D3DMATERIAL7* pkMaterial)
{
    if (pkMaterial == nullptr)
        return DDERR_INVALIDPARAMS;
    *pkMaterial = m_kState.kMaterial;
    return D3D_OK;
}

HRESULT Device::CheckDraw(D3DPRIMITIVETYPE eType) const
{
    if (eType < D3DPT_POINTLIST || eType > D3DPT_TRIANGLEFAN)
        return D3DERR_INVALIDCALL;
    if (!m_bInScene)
        return D3DERR_SCENE_NOT_IN_SCENE;
    if (m_kTarget->IsLostFlag())
        return DDERR_SURFACELOST;
    return D3D_OK;
}

HRESULT Device::DrawPrimitive(D3DPRIMITIVETYPE eType, DWORD dwFVF, LPVOID pvVertices, DWORD dwVertexCount,
                              DWORD dwFlags)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("DrawPrimitive", {eType, dwFVF, dwVertexCount, dwFlags});
    if (HRESULT hr = kWorld.Injected("DrawPrimitive"); FAILED(hr))
        return hr;
    if (HRESULT hr = CheckDraw(eType); FAILED(hr))
        return hr;
    D3DVERTEXBUFFERDESC kDesc{sizeof(D3DVERTEXBUFFERDESC), 0, dwFVF, dwVertexCount};
    if (pvVertices == nullptr || !VertexBuffer::ValidDesc(kDesc))
        return D3DERR_INVALIDCALL;
    if (m_pkGL)
        m_pkGL->Draw(m_kState, *m_kTarget.Get(), eType, dwFVF, static_cast<const uint8_t*>(pvVertices),
                     dwVertexCount, nullptr, 0);
    return D3D_OK;
}

HRESULT Device::DrawPrimitiveVB(D3DPRIMITIVETYPE eType, IDirect3DVertexBuffer7* pkBuffer, DWORD dwStartVertex,
                                DWORD dwNumVertices, DWORD dwFlags)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("DrawPrimitiveVB", {eType, Address(pkBuffer), dwStartVertex, dwNumVertices, dwFlags});
    if (HRESULT hr = kWorld.Injected("DrawPrimitiveVB"); FAILED(hr))
        return hr;
    if (HRESULT hr = CheckDraw(eType); FAILED(hr))
        return hr;
    auto* pkVB = static_cast<VertexBuffer*>(pkBuffer);
    if (pkVB == nullptr || dwNumVertices == 0 ||
        uint64_t{dwStartVertex} + dwNumVertices > pkVB->GetVertexCount())
        return D3DERR_INVALIDCALL;
    if (pkVB->IsLocked())
        return D3DERR_VERTEXBUFFERLOCKED;
    if (m_pkGL)
        m_pkGL->Draw(m_kState, *m_kTarget.Get(), eType, pkVB->GetFVF(),
                     pkVB->Data() + static_cast<size_t>(dwStartVertex) * VertexBuffer::Stride(pkVB->GetFVF()),
                     dwNumVertices, nullptr, 0);
    return D3D_OK;
}

HRESULT Device::DrawIndexedPrimitiveVB(D3DPRIMITIVETYPE eType, IDirect3DVertexBuffer7* pkBuffer,
                                       DWORD dwStartVertex, DWORD dwNumVertices, WORD* pwIndices,
                                       DWORD dwIndexCount, DWORD dwFlags)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("DrawIndexedPrimitiveVB",
               {eType, Address(pkBuffer), dwStartVertex, dwNumVertices, dwIndexCount, dwFlags});
    if (HRESULT hr = kWorld.Injected("DrawIndexedPrimitiveVB"); FAILED(hr))
        return hr;
    if (HRESULT hr = CheckDraw(eType); FAILED(hr))
        return hr;
    auto* pkVB = static_cast<VertexBuffer*>(pkBuffer);
    if (pkVB == nullptr || dwNumVertices == 0 ||
        uint64_t{dwStartVertex} + dwNumVertices > pkVB->GetVertexCount() ||
        (dwIndexCount != 0 && pwIndices == nullptr))
        return D3DERR_INVALIDCALL;
    // An index beyond the named vertex range would read another object's vertices.
    if (std::any_of(pwIndices, pwIndices + dwIndexCount,
                    [&](WORD wIndex) { return wIndex >= dwNumVertices; }))
        return D3DERR_INVALIDCALL;
    if (pkVB->IsLocked())
        return D3DERR_VERTEXBUFFERLOCKED;
    if (m_pkGL && dwIndexCount > 0)
        m_pkGL->Draw(m_kState, *m_kTarget.Get(), eType, pkVB->GetFVF(),
                     pkVB->Data() + static_cast<size_t>(dwStartVertex) * VertexBuffer::Stride(pkVB->GetFVF()),
                     dwNumVertices, pwIndices, dwIndexCount);
    return D3D_OK;
}

HRESULT Device::ValidateDevice(DWORD* pdwPasses)
{
    World& kWorld = m_pkCore->GetWorld();
    kWorld.Log("ValidateDevice");
    if (HRESULT hr = kWorld.Injected("ValidateDevice"); FAILED(hr))
        return hr;
    if (pdwPasses == nullptr)
        return DDERR_INVALIDPARAMS;
    *pdwPasses = 0;
    if (kWorld.kValidateDevice)
        return kWorld.kValidateDevice(this, pdwPasses);
    // Every stage set-up made of the offered operations runs in one pass.
    const DWORD dwOffered = m_kCaps.dwTextureOpCaps;
    for (DWORD dwStage = 0; dwStage < D3D_MAXTEXTURESTAGES; ++dwStage)
    {
        const DWORD dwColorOp = m_kState.kStageStates[dwStage][D3DTSS_COLOROP];
        if (dwColorOp == D3DTOP_DISABLE)
            break;
        if (dwStage >= m_kCaps.wMaxTextureBlendStages)
            return D3DERR_TOOMANYOPERATIONS;
        for (DWORD dwOp : {dwColorOp, m_kState.kStageStates[dwStage][D3DTSS_ALPHAOP]})
        {
            if (dwOp == 0 || dwOp > 31 || (dwOffered & (1u << (dwOp - 1))) == 0)
                return D3DERR_UNSUPPORTEDCOLOROPERATION;
        }
    }
    *pdwPasses = 1;
    return D3D_OK;
}
} // namespace d3d7
