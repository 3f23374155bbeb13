#include "scene/render/NiD3DTexturePipeline.h"

#include "platform/d3d7/IDirectDrawSurface7.h"
#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiMultiTextureMap.h"
#include "scene/graph/NiMultiTextureProperty.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiRawImageData.h"
#include "scene/graph/NiTextureEffect.h"
#include "scene/graph/NiTextureModeProperty.h"
#include "scene/graph/NiTextureProperty.h"
#include "scene/render/D3DLog.h"
#include "scene/render/NiD3DRenderStateCache.h"
#include "scene/render/NiD3DTextureCache.h"

// Contents: creation and tables / stage-state cache / planning / pass setup.

namespace
{
using Stage = NiD3DTextureStage;

// (U, V) addressing by the texture-mode clamp mode.
constexpr uint32_t ADDRESS_TABLE[4][2] = {
    {D3DTADDRESS_CLAMP, D3DTADDRESS_CLAMP},
    {D3DTADDRESS_CLAMP, D3DTADDRESS_WRAP},
    {D3DTADDRESS_WRAP, D3DTADDRESS_CLAMP},
    {D3DTADDRESS_WRAP, D3DTADDRESS_WRAP},
};

// The filter table's columns.
enum FilterColumn : uint32_t
{
    FILTER_MIN = 0,
    FILTER_MAG = 1,
    FILTER_MIP = 2
};

// Frame-buffer blend of each kind: source and destination factor, blending on.
struct KindBlend
{
    uint16_t m_usSrc;
    uint16_t m_usDest;
    bool m_bOn;
};
constexpr KindBlend KIND_BLEND[Stage::BLEND_KIND_COUNT] = {
    {NiAlphaProperty::ALPHA_ONE, NiAlphaProperty::ALPHA_ONE, true},
    {NiAlphaProperty::ALPHA_SRCALPHA, NiAlphaProperty::ALPHA_ONE, true},
    {NiAlphaProperty::ALPHA_SRCALPHA, NiAlphaProperty::ALPHA_INVSRCALPHA, true},
    {NiAlphaProperty::ALPHA_ZERO, NiAlphaProperty::ALPHA_SRCCOLOR, true},
    {NiAlphaProperty::ALPHA_SRCALPHA, NiAlphaProperty::ALPHA_INVSRCALPHA, false},
};

// Filter caps that only newer drivers report; their presence means the per-stage bits are valid.
constexpr uint32_t FILTERCAPS_MINFANISOTROPIC = 0x00000400;
constexpr uint32_t FILTERCAPS_MAGFANISOTROPIC = 0x04000000;
constexpr uint32_t FILTERCAPS_MAGFAFLATCUBIC = 0x08000000;
constexpr uint32_t FILTERCAPS_MAGFGAUSSIANCUBIC = 0x10000000;
constexpr uint32_t NEWER_FILTER_CAPS = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR |
                                       FILTERCAPS_MINFANISOTROPIC | D3DPTFILTERCAPS_MIPFPOINT |
                                       D3DPTFILTERCAPS_MIPFLINEAR | D3DPTFILTERCAPS_MAGFPOINT |
                                       D3DPTFILTERCAPS_MAGFLINEAR | FILTERCAPS_MAGFANISOTROPIC |
                                       FILTERCAPS_MAGFAFLATCUBIC | FILTERCAPS_MAGFGAUSSIANCUBIC;

constexpr D3DTEXTURESTAGESTATETYPE CACHED_STATE_TYPE[] = {
    D3DTSS_COLOROP,   D3DTSS_COLORARG1,     D3DTSS_COLORARG2, D3DTSS_ALPHAOP,  D3DTSS_ALPHAARG1,
    D3DTSS_ALPHAARG2, D3DTSS_TEXCOORDINDEX, D3DTSS_ADDRESSU,  D3DTSS_ADDRESSV, D3DTSS_TEXTURETRANSFORMFLAGS,
};

// A filter mode the cache has never sent.
constexpr uint32_t NO_FILTER = 0xFFFFFFFF;
// Coordinates the device generates carry one of these flags.
constexpr uint32_t GENERATED_COORDINATES = 0xFFFF0000;
} // namespace

//--- Creation and tables ---

uint32_t NiD3DTexturePipeline::ClampApplyMode(uint32_t uiApply)
{
    return uiApply <= NiTextureModeProperty::APPLY_HILIGHT2 ? uiApply
                                                            : uint32_t(NiTextureModeProperty::APPLY_MODULATE);
}

uint32_t NiD3DTexturePipeline::ClampFilterMode(uint32_t uiFilter)
{
    return uiFilter <= NiTextureModeProperty::FILTER_BILERP_MIPNEAREST
               ? uiFilter
               : uint32_t(NiTextureModeProperty::FILTER_NEAREST);
}

uint32_t NiD3DTexturePipeline::ClampAddressMode(uint32_t uiClamp)
{
    return uiClamp <= NiTextureModeProperty::WRAP_S_WRAP_T ? uiClamp
                                                           : uint32_t(NiTextureModeProperty::WRAP_S_WRAP_T);
}

NiD3DTexturePipeline* NiD3DTexturePipeline::Create(IDirect3DDevice7* pkDevice, const D3DDEVICEDESC7& kDesc,
                                                   NiD3DRenderStateCache* pkRenderStates,
                                                   NiD3DTextureCache* pkTextures, bool bHardware)
{
    if (!pkDevice || !pkRenderStates || !pkTextures)
        return nullptr;
    D3DLogMessage("(Creation): Attempting to create texture pipeline manager");
    auto* pkPipeline = new NiD3DTexturePipeline(pkDevice, kDesc, pkRenderStates, pkTextures);
    if (bHardware)
        pkPipeline->m_uiFlags |= HARDWARE;
    pkPipeline->BuildTables();
    if (!pkPipeline->ValidateMultitexture(false))
    {
        delete pkPipeline;
        return nullptr;
    }
    D3DLogMessage("(Creation): Texture pipeline manager creation succeeded");
    return pkPipeline;
}

NiD3DTexturePipeline::NiD3DTexturePipeline(IDirect3DDevice7* pkDevice, const D3DDEVICEDESC7& kDesc,
                                           NiD3DRenderStateCache* pkRenderStates,
                                           NiD3DTextureCache* pkTextures)
    : m_pkDevice(pkDevice), m_kDesc(kDesc), m_spRenderStates(pkRenderStates), m_spTextures(pkTextures)
{
    m_pkDevice->AddRef();
    m_kUntextured.m_pkOwner = nullptr;
    m_kUntextured.m_uiBlendKind = Stage::STAGE_MODULATE;
    BuildBlendProperties();
    BuildPlaneMask();
}

NiD3DTexturePipeline::~NiD3DTexturePipeline()
{
    m_pkDevice->SetTexture(0, nullptr);
    m_pkDevice->SetTexture(1, nullptr);
    for (StageCache& kCache : m_akStageCache)
        kCache.m_spImage = nullptr;
    m_pkDevice->Release();
}

void NiD3DTexturePipeline::BuildBlendProperties()
{
    for (uint32_t uiKind = 0; uiKind < Stage::BLEND_KIND_COUNT; ++uiKind)
    {
        NiRefPtr<NiAlphaProperty> spBlend = new NiAlphaProperty;
        spBlend->SetAlphaBlending(KIND_BLEND[uiKind].m_bOn);
        spBlend->SetSrcBlendMode(NiAlphaProperty::AlphaFunction(KIND_BLEND[uiKind].m_usSrc));
        spBlend->SetDestBlendMode(NiAlphaProperty::AlphaFunction(KIND_BLEND[uiKind].m_usDest));
        m_aspBlend[uiKind] = spBlend;
    }
}

void NiD3DTexturePipeline::BuildPlaneMask()
{
    // Texel 0 black, texel 1 white: clamped coordinates below 0.5 mask, above it pass.
    NiRefPtr<NiRawImageData> spRaw = new NiRawImageData(NiRawImageData::FORMAT_RGB, 2, 1);
    uint8_t* pucPixels = spRaw->GetPixels();
    if (!pucPixels)
        return;
    const uint8_t aucTexels[6] = {0, 0, 0, 255, 255, 255};
    std::copy(std::begin(aucTexels), std::end(aucTexels), pucPixels);
    m_spPlaneMask =
        NiImage::CreateFromRawData(spRaw, NiImage::MODE_OFF, NiImage::TEX_DEFAULT, NiImage::MODE_OFF);
}

void NiD3DTexturePipeline::BuildTables()
{
    const D3DPRIMCAPS& kCaps = m_kDesc.dpcTriCaps;
    const uint32_t uiFilterCaps = kCaps.dwTextureFilterCaps;
    for (auto& auiEntry : m_auiFilterTable)
    {
        auiEntry[FILTER_MIN] = D3DTFN_POINT;
        auiEntry[FILTER_MAG] = D3DTFG_POINT;
        auiEntry[FILTER_MIP] = D3DTFP_NONE;
    }
    // The modes that filter bilinearly within a level.
    constexpr uint32_t auiLinearModes[] = {NiTextureModeProperty::FILTER_BILERP,
                                           NiTextureModeProperty::FILTER_TRILERP,
                                           NiTextureModeProperty::FILTER_BILERP_MIPNEAREST};
    auto SetLinear =
        [&](uint32_t uiColumn, bool bLinear, bool bPoint, uint32_t uiLinear, uint32_t uiPointValue)
    {
        if (!bLinear && !bPoint)
            D3DLogMessage("(Creation): Device does not support texture filtering");
        for (uint32_t uiMode : auiLinearModes)
            m_auiFilterTable[uiMode][uiColumn] = bLinear ? uiLinear : uiPointValue;
    };

    if (uiFilterCaps & NEWER_FILTER_CAPS)
    {
        SetLinear(FILTER_MAG, uiFilterCaps & D3DPTFILTERCAPS_MAGFLINEAR,
                  uiFilterCaps & D3DPTFILTERCAPS_MAGFPOINT, D3DTFG_LINEAR, D3DTFG_POINT);
        SetLinear(FILTER_MIN, uiFilterCaps & D3DPTFILTERCAPS_MINFLINEAR,
                  uiFilterCaps & D3DPTFILTERCAPS_MINFPOINT, D3DTFN_LINEAR, D3DTFN_POINT);
        if (uiFilterCaps & D3DPTFILTERCAPS_MIPFLINEAR)
        {
            m_auiFilterTable[NiTextureModeProperty::FILTER_TRILERP][FILTER_MIP] = D3DTFP_LINEAR;
            m_auiFilterTable[NiTextureModeProperty::FILTER_NEAREST_MIPLERP][FILTER_MIP] = D3DTFP_LINEAR;
            m_auiFilterTable[NiTextureModeProperty::FILTER_NEAREST_MIPNEAREST][FILTER_MIP] = D3DTFP_POINT;
            m_auiFilterTable[NiTextureModeProperty::FILTER_BILERP_MIPNEAREST][FILTER_MIP] = D3DTFP_POINT;
        }
        else
        {
            const uint32_t uiMip = (uiFilterCaps & D3DPTFILTERCAPS_MIPFPOINT) ? D3DTFP_POINT : D3DTFP_NONE;
            for (uint32_t uiMode = 2; uiMode <= 5; ++uiMode)
                m_auiFilterTable[uiMode][FILTER_MIP] = uiMip;
        }
    }
    else
    {
        const bool bLinear = uiFilterCaps & D3DPTFILTERCAPS_LINEAR;
        const bool bPoint = uiFilterCaps & D3DPTFILTERCAPS_NEAREST;
        SetLinear(FILTER_MAG, bLinear, bPoint, D3DTFG_LINEAR, D3DTFG_POINT);
        SetLinear(FILTER_MIN, bLinear, bPoint, D3DTFN_LINEAR, D3DTFN_POINT);
        auto& akTable = m_auiFilterTable;
        akTable[3][FILTER_MIP] = (uiFilterCaps & D3DPTFILTERCAPS_MIPNEAREST) ? D3DTFP_POINT : D3DTFP_NONE;
        akTable[5][FILTER_MIP] = (uiFilterCaps & D3DPTFILTERCAPS_MIPLINEAR) ? D3DTFP_POINT : D3DTFP_NONE;
        akTable[4][FILTER_MIP] = (uiFilterCaps & D3DPTFILTERCAPS_LINEARMIPNEAREST) ? uint32_t(D3DTFP_LINEAR)
                                                                                   : akTable[5][FILTER_MIP];
        akTable[2][FILTER_MIP] = (uiFilterCaps & D3DPTFILTERCAPS_LINEARMIPLINEAR) ? uint32_t(D3DTFP_LINEAR)
                                                                                  : akTable[5][FILTER_MIP];
    }

    if (kCaps.dwTextureAddressCaps & D3DPTADDRESSCAPS_INDEPENDENTUV)
        m_uiFlags |= INDEPENDENT_UV;
    if (kCaps.dwTextureAddressCaps & D3DPTADDRESSCAPS_CLAMP)
        m_uiFlags |= CLAMP_ADDRESSING;
    if (kCaps.dwTextureCaps & D3DPTEXTURECAPS_PROJECTED)
    {
        m_uiFlags |= PROJECTED_TRANSFORMS;
        m_uiProjectedFlags = D3DTTFF_COUNT3 | D3DTTFF_PROJECTED;
    }

    const uint32_t uiBlendCaps = kCaps.dwTextureBlendCaps;
    const uint32_t auiApply[6][2] = {
        {D3DTOP_SELECTARG1, D3DTOP_SELECTARG1},
        {(uiBlendCaps & D3DPTBLENDCAPS_DECALALPHA) ? uint32_t(D3DTOP_BLENDTEXTUREALPHA) : D3DTOP_SELECTARG1,
         D3DTOP_SELECTARG1},
        {D3DTOP_MODULATE,
         (uiBlendCaps & D3DPTBLENDCAPS_MODULATEALPHA) ? uint32_t(D3DTOP_MODULATE) : D3DTOP_SELECTARG1},
        {D3DTOP_MODULATE, D3DTOP_SELECTARG2},
        {D3DTOP_MODULATE, D3DTOP_SELECTARG1},
        {D3DTOP_MODULATE, D3DTOP_SELECTARG1},
    };
    std::copy(&auiApply[0][0], &auiApply[0][0] + 12, &m_auiApplyTable[0][0]);
    const uint32_t auiKindOp[Stage::BLEND_KIND_COUNT] = {
        D3DTOP_ADD, D3DTOP_BLENDTEXTUREALPHA, D3DTOP_BLENDTEXTUREALPHA, D3DTOP_MODULATE, D3DTOP_MODULATE2X};
    std::copy(std::begin(auiKindOp), std::end(auiKindOp), m_auiKindOp);
}

uint8_t NiD3DTexturePipeline::MultiPassCode(uint32_t uiKind) const
{
    if (uiKind >= Stage::STAGE_MODULATE2X)
        return 0;
    return m_spRenderStates->IsBlendSupported(KIND_BLEND[uiKind].m_usSrc, KIND_BLEND[uiKind].m_usDest) ? 2
                                                                                                       : 0;
}

uint8_t NiD3DTexturePipeline::GetValidity(uint32_t uiKind, uint32_t uiFirstFormat,
                                          uint32_t uiSecondFormat) const
{
    if (uiKind >= Stage::BLEND_KIND_COUNT || uiFirstFormat >= FORMAT_SLOTS || uiSecondFormat >= FORMAT_SLOTS)
        return 0;
    return m_aaaucValidity[uiKind][uiFirstFormat][uiSecondFormat];
}

const NiD3DTextureStage* NiD3DTexturePipeline::GetPlannedStage(uint32_t uiIndex) const
{
    return uiIndex < m_uiStageCount ? m_apkPlan[uiIndex] : nullptr;
}

//--- Stage-state cache ---

void NiD3DTexturePipeline::SetStageState(uint32_t uiStage, D3DTEXTURESTAGESTATETYPE eType, uint32_t uiValue)
{
    if (uiStage < 3)
    {
        for (uint32_t i = 0; i < CS_COUNT; ++i)
        {
            if (CACHED_STATE_TYPE[i] != eType)
                continue;
            uint32_t& uiCached = m_akStageCache[uiStage].m_auiState[i];
            if (uiCached == uiValue)
                return;
            uiCached = uiValue;
            break;
        }
    }
    m_pkDevice->SetTextureStageState(uiStage, eType, uiValue);
}

void NiD3DTexturePipeline::ResetStageStates()
{
    struct Start
    {
        uint32_t m_uiStage;
        D3DTEXTURESTAGESTATETYPE m_eType;
        uint32_t m_uiValue;
    };
    const Start akStart[] = {
        {0, D3DTSS_COLOROP, D3DTOP_SELECTARG1}, {0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
        {0, D3DTSS_COLORARG2, D3DTA_DIFFUSE},   {0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1},
        {0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE},   {0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},
        {0, D3DTSS_TEXCOORDINDEX, 0},           {0, D3DTSS_ADDRESS, D3DTADDRESS_WRAP},
        {1, D3DTSS_COLOROP, D3DTOP_DISABLE},    {1, D3DTSS_COLORARG1, D3DTA_TEXTURE},
        {1, D3DTSS_COLORARG2, D3DTA_CURRENT},   {1, D3DTSS_ALPHAOP, D3DTOP_DISABLE},
        {1, D3DTSS_ALPHAARG1, D3DTA_TEXTURE},   {1, D3DTSS_ALPHAARG2, D3DTA_CURRENT},
        {1, D3DTSS_TEXCOORDINDEX, 1},           {1, D3DTSS_ADDRESS, D3DTADDRESS_WRAP},
        {2, D3DTSS_COLOROP, D3DTOP_DISABLE},    {2, D3DTSS_ALPHAOP, D3DTOP_DISABLE},
        {2, D3DTSS_COLORARG1, D3DTA_CURRENT},   {2, D3DTSS_ALPHAARG1, D3DTA_CURRENT},
        {2, D3DTSS_COLORARG2, D3DTA_DIFFUSE},   {2, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},
        {3, D3DTSS_COLOROP, D3DTOP_DISABLE},    {3, D3DTSS_ALPHAOP, D3DTOP_DISABLE},
    };
    for (const Start& kStart : akStart)
        m_pkDevice->SetTextureStageState(kStart.m_uiStage, kStart.m_eType, kStart.m_uiValue);
    for (uint32_t uiStage = 0; uiStage < 2; ++uiStage)
    {
        // The ADDRESS state sets both directions; the filter mode 0 is point sampling.
        SetFilterStates(uiStage, D3DTFN_POINT, D3DTFG_POINT, D3DTFP_NONE);
        m_pkDevice->SetTextureStageState(uiStage, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    }
    m_pkDevice->SetTextureStageState(2, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    m_pkDevice->SetRenderState(D3DRENDERSTATE_WRAP0, 0);
    m_pkDevice->SetRenderState(D3DRENDERSTATE_WRAP1, 0);

    for (uint32_t uiStage = 0; uiStage < 3; ++uiStage)
    {
        StageCache& kCache = m_akStageCache[uiStage];
        for (const Start& kStart : akStart)
        {
            if (kStart.m_uiStage != uiStage)
                continue;
            for (uint32_t i = 0; i < CS_COUNT; ++i)
            {
                if (CACHED_STATE_TYPE[i] == kStart.m_eType)
                    kCache.m_auiState[i] = kStart.m_uiValue;
            }
            if (kStart.m_eType == D3DTSS_ADDRESS)
                kCache.m_auiState[CS_ADDRESSU] = kCache.m_auiState[CS_ADDRESSV] = kStart.m_uiValue;
        }
        kCache.m_auiState[CS_TRANSFORMFLAGS] = D3DTTFF_DISABLE;
        kCache.m_uiFilter = uiStage < 2 ? 0 : NO_FILTER;
        if (kCache.m_spImage)
            m_pkDevice->SetTexture(uiStage, nullptr);
        kCache.m_spImage = nullptr;
    }
}

void NiD3DTexturePipeline::UnbindStage(uint32_t uiStage)
{
    StageCache& kCache = m_akStageCache[uiStage];
    if (!kCache.m_spImage)
        return;
    kCache.m_spImage = nullptr;
    m_pkDevice->SetTexture(uiStage, nullptr);
}

void NiD3DTexturePipeline::SetStageOps(uint32_t uiStage, uint32_t uiColorOp, uint32_t uiAlphaOp)
{
    SetStageState(uiStage, D3DTSS_COLOROP, uiColorOp);
    SetStageState(uiStage, D3DTSS_ALPHAOP, uiAlphaOp);
}

void NiD3DTexturePipeline::SetApplyRow(uint32_t uiStage, uint32_t uiApply, bool bCarriesApply)
{
    if (bCarriesApply)
        SetStageOps(uiStage, m_auiApplyTable[uiApply][0], m_auiApplyTable[uiApply][1]);
    else
        SetStageOps(uiStage, D3DTOP_SELECTARG1, D3DTOP_SELECTARG1);
}

void NiD3DTexturePipeline::SetStage0Ops(uint32_t uiApply, bool bHasImage, bool bCarriesApply)
{
    if (!bHasImage)
    {
        SetStageOps(0, D3DTOP_SELECTARG2, D3DTOP_SELECTARG2);
        UnbindStage(0);
        return;
    }
    if (bCarriesApply)
        SetStageOps(0, m_auiApplyTable[uiApply][0], m_auiApplyTable[uiApply][1]);
    else if (uiApply == NiTextureModeProperty::APPLY_MODULATE_VERTEX)
        SetStageOps(0, D3DTOP_SELECTARG1, D3DTOP_MODULATE);
    else
        SetStageOps(0, D3DTOP_SELECTARG1, D3DTOP_SELECTARG1);
}

void NiD3DTexturePipeline::SetTexCoord(uint32_t uiStage, const Stage& kStage)
{
    if (kStage.m_uiTexCoordIndex & GENERATED_COORDINATES)
    {
        // The transform follows the camera, so it is sent every time.
        D3DMATRIX kTransform = kStage.m_kTransform;
        m_pkDevice->SetTransform(D3DTRANSFORMSTATETYPE(D3DTRANSFORMSTATE_TEXTURE0 + uiStage), &kTransform);
        SetStageState(uiStage, D3DTSS_TEXTURETRANSFORMFLAGS,
                      kStage.m_bProjected ? m_uiProjectedFlags : uint32_t(D3DTTFF_COUNT2));
    }
    else
    {
        SetStageState(uiStage, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    }
    SetStageState(uiStage, D3DTSS_TEXCOORDINDEX, kStage.m_uiTexCoordIndex);
}

void NiD3DTexturePipeline::SetFilterStates(uint32_t uiStage, uint32_t uiMin, uint32_t uiMag, uint32_t uiMip)
{
    m_pkDevice->SetTextureStageState(uiStage, D3DTSS_MAGFILTER, uiMag);
    m_pkDevice->SetTextureStageState(uiStage, D3DTSS_MINFILTER, uiMin);
    m_pkDevice->SetTextureStageState(uiStage, D3DTSS_MIPFILTER, uiMip);
}

void NiD3DTexturePipeline::SetFilter(uint32_t uiStage, uint32_t uiFilter, bool bMipmapped, bool bTrilinear)
{
    using Mode = NiTextureModeProperty;
    uiFilter = ClampFilterMode(uiFilter);
    if (bMipmapped && !bTrilinear)
    {
        if (uiFilter == Mode::FILTER_TRILERP)
            uiFilter = Mode::FILTER_BILERP_MIPNEAREST;
        else if (uiFilter == Mode::FILTER_NEAREST_MIPLERP)
            uiFilter = Mode::FILTER_NEAREST_MIPNEAREST;
    }
    if (!bMipmapped)
    {
        if (uiFilter == Mode::FILTER_TRILERP || uiFilter == Mode::FILTER_BILERP_MIPNEAREST)
            uiFilter = Mode::FILTER_BILERP;
        else if (uiFilter == Mode::FILTER_NEAREST_MIPNEAREST || uiFilter == Mode::FILTER_NEAREST_MIPLERP)
            uiFilter = Mode::FILTER_NEAREST;
    }
    if (uiStage < 3)
    {
        if (m_akStageCache[uiStage].m_uiFilter == uiFilter)
            return;
        m_akStageCache[uiStage].m_uiFilter = uiFilter;
    }
    const uint32_t* puiEntry = m_auiFilterTable[uiFilter];
    SetFilterStates(uiStage, puiEntry[FILTER_MIN], puiEntry[FILTER_MAG], puiEntry[FILTER_MIP]);
}

void NiD3DTexturePipeline::SetAddress(uint32_t uiStage, const Stage& kStage)
{
    if (m_uiFlags & INDEPENDENT_UV)
    {
        SetStageState(uiStage, D3DTSS_ADDRESSU, kStage.m_uiAddressU);
        SetStageState(uiStage, D3DTSS_ADDRESSV, kStage.m_uiAddressV);
        return;
    }
    // One state for both directions, taken from U.
    StageCache& kCache = m_akStageCache[uiStage < 3 ? uiStage : 0];
    if (uiStage < 3 && kCache.m_auiState[CS_ADDRESSU] == kStage.m_uiAddressU &&
        kCache.m_auiState[CS_ADDRESSV] == kStage.m_uiAddressU)
    {
        return;
    }
    if (uiStage < 3)
        kCache.m_auiState[CS_ADDRESSU] = kCache.m_auiState[CS_ADDRESSV] = kStage.m_uiAddressU;
    m_pkDevice->SetTextureStageState(uiStage, D3DTSS_ADDRESS, kStage.m_uiAddressU);
}

bool NiD3DTexturePipeline::BindTexture(uint32_t uiStage, int32_t iMemory, const Stage& kStage,
                                       bool& bMipmapped)
{
    StageCache& kCache = m_akStageCache[uiStage];
    const bool bWasBound = kCache.m_spImage != nullptr;
    IDirectDrawSurface7* pkTexture = nullptr;
    bool bChanged = false;
    bMipmapped = false;
    if (m_spTextures->GetTexture(iMemory, kStage.m_spImage, kCache.m_spImage, pkTexture, bChanged,
                                 bMipmapped) &&
        pkTexture)
    {
        if (bChanged)
            m_pkDevice->SetTexture(uiStage, pkTexture);
        return true;
    }
    // The stage draws without a texture, and binds one again once it has it.
    kCache.m_spImage = nullptr;
    if (bWasBound)
        m_pkDevice->SetTexture(uiStage, nullptr);
    return false;
}

//--- Planning ---

NiD3DTextureStage* NiD3DTexturePipeline::MakeStage(NiImage* pkImage, uint32_t uiClamp, uint32_t uiFilter,
                                                   uint32_t uiKind, uint32_t uiTexCoord, const void* pkOwner)
{
    // The internal records are few; an object asking for more stages gets none beyond them.
    if (!pkImage || m_uiInternalCount >= MAX_STAGES)
        return nullptr;
    const uint32_t uiFormat = m_spTextures->GetFormat(pkImage);
    if (uiFormat >= NiD3DTextureStage::NO_FORMAT)
        return nullptr;
    Stage& kStage = m_akInternal[m_uiInternalCount++];
    kStage.Reset();
    kStage.m_spImage = pkImage;
    kStage.m_uiFormat = uiFormat;
    const uint32_t uiAddress = ClampAddressMode(uiClamp);
    kStage.m_uiAddressU = ADDRESS_TABLE[uiAddress][0];
    kStage.m_uiAddressV = ADDRESS_TABLE[uiAddress][1];
    kStage.m_uiFilter = ClampFilterMode(uiFilter);
    kStage.m_uiBlendKind = uiKind;
    kStage.m_uiTexCoordIndex = uiTexCoord;
    kStage.m_pkOwner = pkOwner;
    kStage.m_bApply = false;
    kStage.m_bProjected = false;
    return &kStage;
}

bool NiD3DTexturePipeline::AddSingle(Stage* pkStage)
{
    if (!pkStage || m_uiStageCount + 1 > m_uiStageLimit)
        return false;
    m_apkPlan[m_uiStageCount++] = pkStage;
    m_auiPassSize[m_uiPassCount++] = 1;
    return true;
}

bool NiD3DTexturePipeline::AddPair(Stage* pkFirst, Stage* pkSecond)
{
    if (m_uiStageCount + 2 > m_uiStageLimit)
        return false;
    m_apkPlan[m_uiStageCount++] = pkFirst;
    m_apkPlan[m_uiStageCount++] = pkSecond;
    m_auiPassSize[m_uiPassCount++] = 2;
    return true;
}

bool NiD3DTexturePipeline::CanPair(const Stage& kFirst, const Stage& kSecond) const
{
    if ((m_uiFlags & SEPARATE_MEMORIES) && (NiD3DTextureCache::IsBufferImage(kFirst.m_spImage) ||
                                            NiD3DTextureCache::IsBufferImage(kSecond.m_spImage)))
    {
        return false;
    }
    if (!(GetValidity(kSecond.m_uiBlendKind, kFirst.m_uiFormat, kSecond.m_uiFormat) & SINGLE_PASS))
        return false;
    return (m_uiFlags & SEPARATE_ADDRESSING) ||
           (kFirst.m_uiAddressU == kSecond.m_uiAddressU && kFirst.m_uiAddressV == kSecond.m_uiAddressV);
}

uint32_t NiD3DTexturePipeline::PairStages(Stage* pkFirst, Stage* pkSecond, bool bKeepSecondApart)
{
    if (!pkSecond)
        return AddSingle(pkFirst) ? 1 : 0;
    if (!pkFirst)
        return !bKeepSecondApart && AddSingle(pkSecond) ? 2 : 0;
    if (m_uiStageCount + 2 <= m_uiStageLimit)
    {
        if (CanPair(*pkFirst, *pkSecond) && AddPair(pkFirst, pkSecond))
            return 3;
        uint32_t uiAdded = AddSingle(pkFirst) ? 1 : 0;
        if (!bKeepSecondApart && AddSingle(pkSecond))
            uiAdded |= 2;
        return uiAdded;
    }
    return AddSingle(pkFirst) ? 1 : 0;
}

void NiD3DTexturePipeline::AddStagePair(Stage* pkFirst, Stage* pkSecond)
{
    PairStages(pkFirst, pkSecond, false);
}

void NiD3DTexturePipeline::AddEffectPairs(EffectList& kList)
{
    uint32_t i = 0;
    for (; i + 1 < kList.m_uiCount; i += 2)
        AddStagePair(&kList.m_akStages[i], &kList.m_akStages[i + 1]);
    if (i < kList.m_uiCount)
        AddSingle(&kList.m_akStages[i]);
}

void NiD3DTexturePipeline::AddPlaneEffects(EffectList& kEffects, EffectList& kMasks)
{
    for (uint32_t i = 0; i < kEffects.m_uiCount; ++i)
        AddStagePair(&kEffects.m_akStages[i], i < kMasks.m_uiCount ? &kMasks.m_akStages[i] : nullptr);
}

void NiD3DTexturePipeline::BuildPasses(NiPropertyTable* pkTable, NiEffectLists* pkLists, bool bHasNormals,
                                       uint32_t uiTextureSets)
{
    CollectEffects(pkLists);
    m_uiStageCount = m_uiNextStage = m_uiPassCount = m_uiPassesSetUp = m_uiTotalPasses = 0;
    m_uiInternalCount = 0;
    m_uiStageLimit = MAX_STAGES;
    uiTextureSets = std::min<uint32_t>(uiTextureSets, MAX_STAGES);

    NiTextureModeProperty* pkMode = pkTable ? pkTable->GetTextureMode() : nullptr;
    NiTextureProperty* pkTexture = pkTable ? pkTable->GetTexture() : nullptr;
    NiMultiTextureProperty* pkMulti = pkTable ? pkTable->GetMultiTexture() : nullptr;
    const uint32_t uiFlags = pkMode ? pkMode->GetFlags() : 0;
    m_uiApplyMode = ClampApplyMode(uiFlags & 7);
    m_bObjectApply = m_uiApplyMode != NiTextureModeProperty::APPLY_REPLACE;

    Stage* pkBase = pkTexture ? MakeStage(pkTexture->GetImage(), (uiFlags >> 6) & 3, (uiFlags >> 3) & 7,
                                          Stage::STAGE_MODULATE, 0, pkTexture)
                              : nullptr;
    if (pkBase)
        pkBase->m_bApply = m_bObjectApply;

    const bool bDefaultMulti = !pkMulti || pkMulti == NiMultiTextureProperty::GetDefault();
    if (m_uiEffectStages == 0 && bDefaultMulti)
    {
        AddSingle(pkBase ? pkBase : &m_kUntextured);
        m_uiTotalPasses = m_uiPassCount;
        return;
    }

    // The multi-texture maps; a set beyond the geometry's uses its last set.
    auto MakeMap = [&](uint32_t uiSlot, uint32_t uiKind) -> Stage*
    {
        if (bDefaultMulti || uiTextureSets == 0)
            return nullptr;
        const NiMultiTextureMap* pkMap = pkMulti->GetMap(uiSlot);
        if (!pkMap)
            return nullptr;
        const uint32_t uiSet = std::min(pkMap->GetTextureCoordinateSet(), uiTextureSets - 1);
        return MakeStage(pkMap->GetImage(), pkMap->GetClampMode(), pkMap->GetFilterMode(), uiKind, uiSet,
                         pkMap);
    };
    Stage* pkDark = MakeMap(NiMultiTextureProperty::DARK_MAP, Stage::STAGE_MODULATE);
    Stage* pkDetail = MakeMap(NiMultiTextureProperty::DETAIL_MAP, Stage::STAGE_MODULATE2X);
    Stage* pkGlow = MakeMap(NiMultiTextureProperty::GLOW_MAP, Stage::STAGE_ADD);
    Stage* pkGlowAlpha = MakeMap(NiMultiTextureProperty::GLOW_ALPHA_MAP, Stage::STAGE_ADD_ALPHA);

    if (m_kProjectedLights.m_uiCount + m_kPlaneLights.m_uiCount > 0)
    {
        m_uiStageLimit = MAX_STAGES - 1;
        EffectList& kLights = m_kProjectedLights;
        if (kLights.m_uiCount > 0)
        {
            uint32_t i = 0;
            if (pkDark)
            {
                pkDark->m_uiBlendKind = Stage::STAGE_ADD;
                AddStagePair(pkDark, &kLights.m_akStages[0]);
                i = 1;
            }
            for (; i + 1 < kLights.m_uiCount; i += 2)
                AddStagePair(&kLights.m_akStages[i], &kLights.m_akStages[i + 1]);
            if (i < kLights.m_uiCount)
                AddSingle(&kLights.m_akStages[i]);
        }
        else if (pkDark)
        {
            pkDark->m_uiBlendKind = Stage::STAGE_ADD;
            AddSingle(pkDark);
        }
        AddPlaneEffects(m_kPlaneLights, m_kLightMasks);
        m_uiStageLimit = MAX_STAGES;
        const uint32_t uiAdded = PairStages(pkBase, pkDetail, false);
        if (!(uiAdded & 1))
            AddSingle(&m_kUntextured);
    }
    else if (pkGlowAlpha)
    {
        if (pkDark)
            AddSingle(pkDark);
        // Without a base the glow alpha map goes with the untextured stage instead.
        if (PairStages(pkBase, pkGlowAlpha, !pkBase) == 0)
            PairStages(&m_kUntextured, pkGlowAlpha, false);
    }
    else if (pkDetail)
    {
        if (pkDark)
            AddSingle(pkDark);
        // A detail map has nothing to detail without a base: the untextured stage is drawn.
        if (PairStages(pkBase, pkDetail, !pkBase) == 0)
            AddSingle(&m_kUntextured);
    }
    else
    {
        const uint32_t uiAdded = PairStages(pkBase, pkDark, false);
        if (uiAdded == 2)
            pkDark->m_bApply = m_bObjectApply;
        else if (uiAdded == 0)
            AddSingle(&m_kUntextured);
    }

    if (!bDefaultMulti)
    {
        for (uint32_t uiSlot = NiMultiTextureProperty::DECAL_MAP; uiSlot < pkMulti->GetMapCount(); ++uiSlot)
        {
            if (Stage* pkDecal = MakeMap(uiSlot, Stage::STAGE_BLEND_ALPHA))
            {
                pkDecal->m_bApply = m_bObjectApply;
                AddSingle(pkDecal);
            }
        }
    }

    AddEffectPairs(m_kProjectedShadows);
    AddPlaneEffects(m_kPlaneShadows, m_kShadowMasks);

    if (m_bEnvironment && bHasNormals)
    {
        Stage* pkGloss = MakeMap(NiMultiTextureProperty::GLOSS_MAP, Stage::STAGE_MODULATE);
        if (pkGloss)
        {
            AddStagePair(&m_kEnvironment, pkGloss);
            AddSingle(pkGlow);
        }
        else if (pkGlow)
        {
            AddStagePair(pkGlow, &m_kEnvironment);
        }
        else
        {
            AddSingle(&m_kEnvironment);
        }
    }
    else
    {
        AddSingle(pkGlow);
    }

    if (m_bFogMap)
        AddSingle(&m_kFog);
    if (m_uiPassCount == 0)
        AddSingle(&m_kUntextured);
    m_uiTotalPasses = m_uiPassCount;
}

//--- Pass setup ---

bool NiD3DTexturePipeline::SetupNextPass()
{
    if (m_uiNextStage >= m_uiStageCount || m_uiPassesSetUp >= m_uiPassCount)
        return false;
    const bool bFirstPass = m_uiPassesSetUp == 0;
    const uint32_t uiSize = m_auiPassSize[m_uiPassesSetUp];
    Stage& kFirst = *m_apkPlan[m_uiNextStage];

    if (!bFirstPass)
        m_spRenderStates->SetAlpha(
            m_aspBlend[std::min<uint32_t>(kFirst.m_uiBlendKind, Stage::STAGE_MODULATE2X)]);

    if (uiSize == 1)
    {
        if (m_akStageCache[1].m_auiState[CS_COLOROP] != D3DTOP_DISABLE)
        {
            SetStageOps(1, D3DTOP_DISABLE, D3DTOP_DISABLE);
            SetStageOps(2, D3DTOP_DISABLE, D3DTOP_DISABLE);
            UnbindStage(1);
        }
        bool bMipmapped = false;
        const bool bTextured = kFirst.m_spImage && BindTexture(0, -1, kFirst, bMipmapped);
        if (bTextured)
        {
            SetTexCoord(0, kFirst);
            SetFilter(0, kFirst.m_uiFilter, bMipmapped, true);
            SetAddress(0, kFirst);
        }
        SetStage0Ops(m_uiApplyMode, bTextured, kFirst.m_bApply);
    }
    else
    {
        Stage& kSecond = *m_apkPlan[m_uiNextStage + 1];
        const bool bApply = kFirst.m_bApply || kSecond.m_bApply;
        if (m_akStageCache[1].m_auiState[CS_COLOROP] == D3DTOP_DISABLE)
            SetStageState(1, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
        SetStageState(1, D3DTSS_COLOROP, m_auiKindOp[std::min<uint32_t>(kSecond.m_uiBlendKind, 4)]);

        const bool bTrilinear = (m_uiFlags & TRILINEAR_MULTI) != 0;
        bool bMipmapped = false;
        const bool bFirstTextured = kFirst.m_spImage && BindTexture(0, 0, kFirst, bMipmapped);
        if (bFirstTextured)
        {
            SetTexCoord(0, kFirst);
            SetFilter(0, kFirst.m_uiFilter, bMipmapped, bTrilinear);
            SetAddress(0, kFirst);
        }
        if (kSecond.m_spImage && BindTexture(1, m_spTextures->HasTwoMemories() ? 1 : 0, kSecond, bMipmapped))
        {
            SetTexCoord(1, kSecond);
            const uint32_t uiFilter = (m_uiFlags & SEPARATE_FILTERS) ? kSecond.m_uiFilter : kFirst.m_uiFilter;
            SetFilter(1, uiFilter, bMipmapped, bTrilinear);
            SetAddress(1, kSecond);
        }
        else
        {
            UnbindStage(1);
        }

        if (m_uiFlags & VERTEX_LAST)
        {
            SetApplyRow(0, NiTextureModeProperty::APPLY_REPLACE, true);
            SetStageState(2, D3DTSS_COLORARG1, D3DTA_CURRENT);
            SetStageState(2, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
            SetApplyRow(2, m_uiApplyMode, bApply);
        }
        else
        {
            SetStageOps(2, D3DTOP_DISABLE, D3DTOP_DISABLE);
            SetStage0Ops(m_uiApplyMode, bFirstTextured, bApply);
        }
    }

    m_uiNextStage += uiSize;
    ++m_uiPassesSetUp;
    return m_uiPassesSetUp < m_uiPassCount;
}
