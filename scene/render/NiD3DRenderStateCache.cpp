#include "scene/render/NiD3DRenderStateCache.h"

#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiCorrectionProperty.h"
#include "scene/graph/NiDitherProperty.h"
#include "scene/graph/NiFogProperty.h"
#include "scene/graph/NiMaterialProperty.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiShadeProperty.h"
#include "scene/graph/NiSpecularProperty.h"
#include "scene/graph/NiStencilProperty.h"
#include "scene/graph/NiTextureModeProperty.h"
#include "scene/graph/NiTransparentProperty.h"
#include "scene/graph/NiWireframeProperty.h"
#include "scene/graph/NiZBufferProperty.h"
#include "scene/render/D3DLog.h"
#include "scene/render/NiD3DColor.h"

#include <cstring>
#include <iterator>

// Contents: tables / creation / per-object steps / camera and renderer settings / feature report.

namespace
{
// Device blend value and caps bit of each alpha-property factor, in factor order.
struct BlendEntry
{
    uint32_t m_uiValue;
    uint32_t m_uiCapsBit;
};
constexpr BlendEntry BLEND_TABLE[] = {
    {D3DBLEND_ONE, D3DPBLENDCAPS_ONE},
    {D3DBLEND_ZERO, D3DPBLENDCAPS_ZERO},
    {D3DBLEND_SRCCOLOR, D3DPBLENDCAPS_SRCCOLOR},
    {D3DBLEND_INVSRCCOLOR, D3DPBLENDCAPS_INVSRCCOLOR},
    {D3DBLEND_DESTCOLOR, D3DPBLENDCAPS_DESTCOLOR},
    {D3DBLEND_INVDESTCOLOR, D3DPBLENDCAPS_INVDESTCOLOR},
    {D3DBLEND_SRCALPHA, D3DPBLENDCAPS_SRCALPHA},
    {D3DBLEND_INVSRCALPHA, D3DPBLENDCAPS_INVSRCALPHA},
    {D3DBLEND_DESTALPHA, D3DPBLENDCAPS_DESTALPHA},
    {D3DBLEND_INVDESTALPHA, D3DPBLENDCAPS_INVDESTALPHA},
    {D3DBLEND_SRCALPHASAT, D3DPBLENDCAPS_SRCALPHASAT},
};

// The alpha test numbers its functions from ALWAYS down to NEVER.
constexpr uint32_t ALPHA_TEST_TABLE[] = {
    D3DCMP_ALWAYS,  D3DCMP_LESS,     D3DCMP_EQUAL,        D3DCMP_LESSEQUAL,
    D3DCMP_GREATER, D3DCMP_NOTEQUAL, D3DCMP_GREATEREQUAL, D3DCMP_NEVER,
};

constexpr uint32_t STENCIL_TEST_TABLE[] = {
    D3DCMP_NEVER,   D3DCMP_LESS,     D3DCMP_EQUAL,        D3DCMP_LESSEQUAL,
    D3DCMP_GREATER, D3DCMP_NOTEQUAL, D3DCMP_GREATEREQUAL, D3DCMP_ALWAYS,
};

constexpr uint32_t STENCIL_ACTION_TABLE[] = {
    D3DSTENCILOP_KEEP,    D3DSTENCILOP_ZERO,    D3DSTENCILOP_REPLACE,
    D3DSTENCILOP_INCRSAT, D3DSTENCILOP_DECRSAT, D3DSTENCILOP_INVERT,
};

constexpr float MIN_FOG_DEPTH = 0.00001f;
constexpr float MIN_UNSCALED = 0.99f;
constexpr float MAX_UNSCALED = 1.01f;

template <size_t N> uint32_t Lookup(const uint32_t (&auiTable)[N], uint32_t uiIndex, uint32_t uiOutside)
{
    return uiIndex < N ? auiTable[uiIndex] : uiOutside;
}
} // namespace

//--- Tables ---

uint32_t NiD3DRenderStateCache::SrcBlendValue(uint32_t uiFactor)
{
    return uiFactor < std::size(BLEND_TABLE) ? BLEND_TABLE[uiFactor].m_uiValue : uint32_t(D3DBLEND_ONE);
}

uint32_t NiD3DRenderStateCache::DestBlendValue(uint32_t uiFactor)
{
    return uiFactor < std::size(BLEND_TABLE) ? BLEND_TABLE[uiFactor].m_uiValue : uint32_t(D3DBLEND_ZERO);
}

uint32_t NiD3DRenderStateCache::AlphaTestValue(uint32_t uiFunction)
{
    return Lookup(ALPHA_TEST_TABLE, uiFunction, D3DCMP_ALWAYS);
}

uint32_t NiD3DRenderStateCache::StencilTestValue(uint32_t uiTest)
{
    return Lookup(STENCIL_TEST_TABLE, uiTest, D3DCMP_ALWAYS);
}

uint32_t NiD3DRenderStateCache::StencilActionValue(uint32_t uiAction)
{
    return Lookup(STENCIL_ACTION_TABLE, uiAction, D3DSTENCILOP_KEEP);
}

bool NiD3DRenderStateCache::IsBlendSupported(uint32_t uiSrcFactor, uint32_t uiDestFactor) const
{
    // Factors 11-15 have no caps bit, so they are never supported.
    return uiSrcFactor < 32 && uiDestFactor < 32 && (m_uiSrcBlendMask >> uiSrcFactor & 1) &&
           (m_uiDestBlendMask >> uiDestFactor & 1);
}

//--- Creation ---

NiD3DRenderStateCache* NiD3DRenderStateCache::Create(IDirect3DDevice7* pkDevice, const D3DDEVICEDESC7& kDesc,
                                                     bool bHardware, bool bZBuffer, bool bStencil)
{
    if (!pkDevice)
        return nullptr;
    D3DLogMessage("(Creation): Attempting to create render state manager");
    auto* pkCache = new NiD3DRenderStateCache(pkDevice, kDesc);
    if (bHardware)
        pkCache->m_uiFlags |= HARDWARE;
    pkCache->CheckCaps();
    if (bStencil)
        pkCache->m_uiFlags |= HAS_STENCIL;
    if (bZBuffer)
        pkCache->m_uiFlags |= HAS_ZBUFFER;
    pkCache->SetInitialStates();
    D3DLogMessage("(Creation): Render state manager creation succeeded");
    return pkCache;
}

NiD3DRenderStateCache::NiD3DRenderStateCache(IDirect3DDevice7* pkDevice, const D3DDEVICEDESC7& kDesc)
    : m_pkDevice(pkDevice), m_kDesc(kDesc)
{
    m_pkDevice->AddRef();
}

NiD3DRenderStateCache::~NiD3DRenderStateCache()
{
    m_pkDevice->Release();
}

int32_t NiD3DRenderStateCache::DecRef()
{
    const int32_t iCount = --m_iRefCount;
    if (iCount <= 0)
        delete this;
    return iCount;
}

void NiD3DRenderStateCache::CheckCaps()
{
    const D3DPRIMCAPS& kCaps = m_kDesc.dpcTriCaps;
    if ((kCaps.dwRasterCaps & D3DPRASTERCAPS_FOGTABLE) && (kCaps.dwRasterCaps & D3DPRASTERCAPS_WFOG))
    {
        m_uiFlags |= PER_PIXEL_FOG;
        D3DLogMessage("(Creation): Device supports per-pixel z-based fog");
    }
    for (uint32_t i = 0; i < std::size(BLEND_TABLE); ++i)
    {
        if (kCaps.dwSrcBlendCaps & BLEND_TABLE[i].m_uiCapsBit)
            m_uiSrcBlendMask |= 1u << i;
        if (kCaps.dwDestBlendCaps & BLEND_TABLE[i].m_uiCapsBit)
            m_uiDestBlendMask |= 1u << i;
    }
    if (kCaps.dwRasterCaps & D3DPRASTERCAPS_WBUFFER)
        m_uiFlags |= CAN_WBUFFER;
}

void NiD3DRenderStateCache::SetInitialStates()
{
    struct Start
    {
        D3DRENDERSTATETYPE m_eState;
        uint32_t m_uiValue;
    };
    const Start akStart[] = {
        {D3DRENDERSTATE_CULLMODE, D3DCULL_CW},
        {D3DRENDERSTATE_MONOENABLE, 0},
        {D3DRENDERSTATE_LASTPIXEL, 0},
        {D3DRENDERSTATE_STIPPLEENABLE, 0},
        {D3DRENDERSTATE_STIPPLEDALPHA, 0},
        {D3DRENDERSTATE_ANTIALIAS, 0},
        {D3DRENDERSTATE_FILLMODE, D3DFILL_SOLID},
        {D3DRENDERSTATE_TEXTUREPERSPECTIVE, TRUE},
        {D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD},
        {D3DRENDERSTATE_COLORKEYENABLE, FALSE},
        {D3DRENDERSTATE_ALPHABLENDENABLE, FALSE},
        {D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA},
        {D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA},
        {D3DRENDERSTATE_ALPHATESTENABLE, FALSE},
        {D3DRENDERSTATE_ALPHAFUNC, D3DCMP_ALWAYS},
        {D3DRENDERSTATE_ALPHAREF, 0},
        {D3DRENDERSTATE_ZFUNC, D3DCMP_ALWAYS},
        {D3DRENDERSTATE_ZWRITEENABLE, FALSE},
        {D3DRENDERSTATE_DITHERENABLE, FALSE},
        {D3DRENDERSTATE_SPECULARENABLE, FALSE},
        {D3DRENDERSTATE_FOGENABLE, FALSE},
        {D3DRENDERSTATE_FOGTABLEMODE, (m_uiFlags & PER_PIXEL_FOG) ? uint32_t(D3DFOG_LINEAR) : D3DFOG_NONE},
        {D3DRENDERSTATE_FOGVERTEXMODE, D3DFOG_LINEAR},
        {D3DRENDERSTATE_RANGEFOGENABLE, FALSE},
        {D3DRENDERSTATE_FOGCOLOR, 0},
        {D3DRENDERSTATE_NORMALIZENORMALS, FALSE},
        {D3DRENDERSTATE_ZENABLE, (m_uiFlags & CAN_WBUFFER) ? uint32_t(D3DZB_USEW) : D3DZB_TRUE},
    };
    for (const Start& kStart : akStart)
        Send(kStart.m_eState, kStart.m_uiValue);

    m_uiSrcBlend = D3DBLEND_SRCALPHA;
    m_uiDestBlend = D3DBLEND_INVSRCALPHA;
    m_uiAlphaFunc = D3DCMP_ALWAYS;
    m_uiAlphaRef = 0;
    m_uiFogColor = 0;
    m_bFog = false;
    m_bRangeFog = false;
    m_pkLastAlpha = nullptr;
    m_pkLastFog = nullptr;
}

void NiD3DRenderStateCache::Send(D3DRENDERSTATETYPE eState, uint32_t uiValue)
{
    m_pkDevice->SetRenderState(eState, uiValue);
}

void NiD3DRenderStateCache::SendFloat(D3DRENDERSTATETYPE eState, float fValue)
{
    // Float states travel as their bit pattern.
    uint32_t uiBits;
    std::memcpy(&uiBits, &fValue, sizeof(uiBits));
    Send(eState, uiBits);
}

void NiD3DRenderStateCache::SendBool(D3DRENDERSTATETYPE eState, bool bOn, bool& bCached)
{
    if (bOn == bCached)
        return;
    bCached = bOn;
    Send(eState, bOn ? TRUE : FALSE);
}

void NiD3DRenderStateCache::SendValue(D3DRENDERSTATETYPE eState, uint32_t uiValue, uint32_t& uiCached)
{
    if (uiValue == uiCached)
        return;
    uiCached = uiValue;
    Send(eState, uiValue);
}

//--- Per-object steps ---

void NiD3DRenderStateCache::ApplyProperties(NiPropertyTable* pkTable)
{
    if (!pkTable)
        return;
    SetWireframe(pkTable->GetWireframe());
    SetCorrection(pkTable->GetCorrection());
    SetShade(pkTable->GetShade());
    SetTransparent(pkTable->GetTransparent());
    SetAlpha(pkTable->GetAlpha());
    SetZBuffer(pkTable->GetZBuffer());
    SetFog(pkTable->GetFog());
    SetFogColor(pkTable->GetFog());
    SetDither(pkTable->GetDither());
    SetSpecular(pkTable->GetSpecular());
    SetStencil(pkTable->GetStencil());
    // Taking the material from the table hands its pending change over as a new revision.
    SetMaterial(pkTable->GetMaterial());
}

void NiD3DRenderStateCache::SetWireframe(NiWireframeProperty* pkWireframe)
{
    if (!pkWireframe)
        return;
    const bool bOn = pkWireframe->GetWireframe();
    if (bOn == m_bWireframe)
        return;
    m_bWireframe = bOn;
    Send(D3DRENDERSTATE_FILLMODE, bOn ? D3DFILL_WIREFRAME : D3DFILL_SOLID);
}

void NiD3DRenderStateCache::SetCorrection(NiCorrectionProperty* pkCorrection)
{
    if (pkCorrection)
        SendBool(D3DRENDERSTATE_TEXTUREPERSPECTIVE, pkCorrection->GetCorrect(), m_bPerspective);
}

void NiD3DRenderStateCache::SetShade(NiShadeProperty* pkShade)
{
    if (!pkShade)
        return;
    const bool bSmooth = pkShade->GetSmooth();
    if (bSmooth == m_bGouraud)
        return;
    m_bGouraud = bSmooth;
    Send(D3DRENDERSTATE_SHADEMODE, bSmooth ? D3DSHADE_GOURAUD : D3DSHADE_FLAT);
}

void NiD3DRenderStateCache::SetTransparent(NiTransparentProperty* pkTransparent)
{
    if (pkTransparent)
        SendBool(D3DRENDERSTATE_COLORKEYENABLE, pkTransparent->GetTransparent(), m_bColorKey);
}

void NiD3DRenderStateCache::SetAlpha(NiAlphaProperty* pkAlpha)
{
    if (!pkAlpha || pkAlpha == m_pkLastAlpha)
        return;
    m_pkLastAlpha = pkAlpha;
    SendBool(D3DRENDERSTATE_ALPHABLENDENABLE, pkAlpha->GetAlphaBlending(), m_bAlphaBlend);
    if (m_bAlphaBlend)
    {
        SendValue(D3DRENDERSTATE_SRCBLEND, SrcBlendValue(pkAlpha->GetSrcBlendMode()), m_uiSrcBlend);
        SendValue(D3DRENDERSTATE_DESTBLEND, DestBlendValue(pkAlpha->GetDestBlendMode()), m_uiDestBlend);
    }
    SendBool(D3DRENDERSTATE_ALPHATESTENABLE, pkAlpha->GetAlphaTesting(), m_bAlphaTest);
    if (m_bAlphaTest)
    {
        SendValue(D3DRENDERSTATE_ALPHAFUNC, AlphaTestValue(pkAlpha->GetTestMode()), m_uiAlphaFunc);
        SendValue(D3DRENDERSTATE_ALPHAREF, pkAlpha->GetTestRef(), m_uiAlphaRef);
    }
}

void NiD3DRenderStateCache::SetZBuffer(NiZBufferProperty* pkZBuffer)
{
    if (!pkZBuffer)
        return;
    const bool bTest = pkZBuffer->GetZBufferTest();
    if (bTest != m_bZTest)
    {
        m_bZTest = bTest;
        Send(D3DRENDERSTATE_ZFUNC, bTest ? D3DCMP_LESSEQUAL : D3DCMP_ALWAYS);
    }
    SendBool(D3DRENDERSTATE_ZWRITEENABLE, pkZBuffer->GetZBufferWrite(), m_bZWrite);
}

void NiD3DRenderStateCache::SetFog(NiFogProperty* pkFog)
{
    if (!pkFog || pkFog == m_pkLastFog)
        return;
    m_pkLastFog = pkFog;
    if (!pkFog->GetFog())
    {
        SendBool(D3DRENDERSTATE_FOGENABLE, false, m_bFog);
        return;
    }
    SendBool(D3DRENDERSTATE_FOGENABLE, true, m_bFog);

    const float fDepth = pkFog->GetDepth();
    const float fStart = m_fFar - fDepth * m_fRange;
    const float fEnd = m_fFar + fDepth * m_fRange * m_fFogEndFactor;
    if (fStart != m_fFogStart)
    {
        m_fFogStart = fStart;
        SendFloat(D3DRENDERSTATE_FOGSTART, fStart);
    }
    if (fEnd != m_fFogEnd)
    {
        m_fFogEnd = fEnd;
        SendFloat(D3DRENDERSTATE_FOGEND, fEnd);
    }

    switch (pkFog->GetFogFunction())
    {
    case NiFogProperty::FOG_Z_LINEAR:
        if (!m_bRangeFog)
            break;
        if (m_uiFlags & PER_PIXEL_FOG)
        {
            Send(D3DRENDERSTATE_FOGTABLEMODE, D3DFOG_LINEAR);
            Send(D3DRENDERSTATE_FOGVERTEXMODE, D3DFOG_NONE);
        }
        else
        {
            Send(D3DRENDERSTATE_FOGVERTEXMODE, D3DFOG_LINEAR);
        }
        Send(D3DRENDERSTATE_RANGEFOGENABLE, FALSE);
        m_bRangeFog = false;
        break;
    case NiFogProperty::FOG_RANGE_SQ:
        if (m_bRangeFog)
            break;
        if (m_uiFlags & PER_PIXEL_FOG)
        {
            Send(D3DRENDERSTATE_FOGTABLEMODE, D3DFOG_NONE);
            Send(D3DRENDERSTATE_FOGVERTEXMODE, D3DFOG_LINEAR);
        }
        Send(D3DRENDERSTATE_RANGEFOGENABLE, TRUE);
        m_bRangeFog = true;
        break;
    default:
        // Vertex-alpha fog and values without meaning are not drawn.
        SendBool(D3DRENDERSTATE_FOGENABLE, false, m_bFog);
        break;
    }
}

void NiD3DRenderStateCache::SetFogColor(NiFogProperty* pkFog)
{
    if (!pkFog)
        return;
    const NiColor& kColor = pkFog->GetFogColor();
    SendValue(D3DRENDERSTATE_FOGCOLOR, NiD3DColor::Pack(kColor.r, kColor.g, kColor.b, 0), m_uiFogColor);
}

void NiD3DRenderStateCache::SetDither(NiDitherProperty* pkDither)
{
    if (pkDither)
        SendBool(D3DRENDERSTATE_DITHERENABLE, pkDither->GetDither(), m_bDither);
}

void NiD3DRenderStateCache::SetSpecular(NiSpecularProperty* pkSpecular)
{
    if (pkSpecular)
        SendBool(D3DRENDERSTATE_SPECULARENABLE, pkSpecular->GetSpecular(), m_bSpecular);
}

void NiD3DRenderStateCache::SetStencil(NiStencilProperty* pkStencil)
{
    if (!pkStencil)
        return;
    if (!pkStencil->GetStencilOn())
    {
        SendBool(D3DRENDERSTATE_STENCILENABLE, false, m_bStencil);
        return;
    }
    // The stencil states have no cache of their own: every enabled object sends them all.
    m_bStencil = true;
    Send(D3DRENDERSTATE_STENCILENABLE, TRUE);
    Send(D3DRENDERSTATE_STENCILFUNC, StencilTestValue(pkStencil->GetStencilFunction()));
    Send(D3DRENDERSTATE_STENCILREF, pkStencil->GetStencilReference());
    Send(D3DRENDERSTATE_STENCILMASK, pkStencil->GetStencilMask());
    Send(D3DRENDERSTATE_STENCILFAIL, StencilActionValue(pkStencil->GetStencilFailAction()));
    Send(D3DRENDERSTATE_STENCILZFAIL, StencilActionValue(pkStencil->GetStencilPassZFailAction()));
    Send(D3DRENDERSTATE_STENCILPASS, StencilActionValue(pkStencil->GetStencilPassAction()));
}

void NiD3DRenderStateCache::SetMaterial(NiMaterialProperty* pkMaterial)
{
    m_kMaterials.Select(pkMaterial);
    m_kMaterials.Commit(m_pkDevice);
}

void NiD3DRenderStateCache::ResetPropertyCache()
{
    m_pkLastAlpha = nullptr;
    m_pkLastFog = nullptr;
}

void NiD3DRenderStateCache::SetScale(float fScale)
{
    const bool bNormalize = fScale < MIN_UNSCALED || fScale > MAX_UNSCALED;
    SendBool(D3DRENDERSTATE_NORMALIZENORMALS, bNormalize, m_bNormalize);
}

//--- Camera and renderer settings ---

void NiD3DRenderStateCache::SetFogRange(float fNear, float fFar)
{
    m_fNear = fNear;
    m_fFar = fFar;
    m_fRange = fFar - fNear;
}

void NiD3DRenderStateCache::SetFogDepth(float fDepth)
{
    if (!(fDepth > 0.0f))
        fDepth = MIN_FOG_DEPTH;
    m_fFogDepth = fDepth;
    m_fFogEndFactor = 1.0f / fDepth - 1.0f;
}

void NiD3DRenderStateCache::SetAntialias(bool bOn)
{
    const bool bCan = (m_kDesc.dpcTriCaps.dwRasterCaps & D3DPRASTERCAPS_ANTIALIASSORTINDEPENDENT) != 0;
    Send(D3DRENDERSTATE_ANTIALIAS, bOn && bCan ? uint32_t(D3DANTIALIAS_SORTDEPENDENT) : 0u);
}

void NiD3DRenderStateCache::SetWBuffer(bool bOn)
{
    Send(D3DRENDERSTATE_ZENABLE, bOn && (m_uiFlags & CAN_WBUFFER) ? uint32_t(D3DZB_USEW) : D3DZB_TRUE);
}

//--- Feature report ---

uint32_t NiD3DRenderStateCache::ComputeUnsupported(NiPropertyTable* pkTable) const
{
    if (!pkTable)
        return 0;
    uint32_t uiUnsupported = 0;

    const NiAlphaProperty* pkAlpha = pkTable->GetAlpha();
    if (pkAlpha && pkAlpha->GetAlphaBlending() &&
        !IsBlendSupported(pkAlpha->GetSrcBlendMode(), pkAlpha->GetDestBlendMode()))
    {
        uiUnsupported |= UNSUPPORTED_BLEND;
    }

    if (const NiTextureModeProperty* pkMode = pkTable->GetTextureMode())
    {
        const uint32_t uiApply = pkMode->GetApplyMode();
        const bool bModulateAlpha =
            (m_kDesc.dpcTriCaps.dwTextureBlendCaps & D3DPTBLENDCAPS_MODULATEALPHA) != 0;
        if ((uiApply == NiTextureModeProperty::APPLY_MODULATE && !bModulateAlpha) ||
            uiApply == NiTextureModeProperty::APPLY_HILIGHT ||
            uiApply == NiTextureModeProperty::APPLY_HILIGHT2)
        {
            uiUnsupported |= UNSUPPORTED_APPLY;
        }
    }

    const NiStencilProperty* pkStencil = pkTable->GetStencil();
    if (pkStencil && pkStencil->GetStencilOn() && !(m_uiFlags & HAS_STENCIL))
        uiUnsupported |= UNSUPPORTED_STENCIL;

    return uiUnsupported;
}
