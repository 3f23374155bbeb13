#include "scene/render/NiD3DTexturePipeline.h"

#include "platform/d3d7/IDirectDrawSurface7.h"
#include "scene/graph/NiTextureEffect.h"
#include "scene/graph/NiTextureModeProperty.h"
#include "scene/render/D3DLog.h"
#include "scene/render/NiD3DRenderStateCache.h"
#include "scene/render/NiD3DTextureCache.h"

#include <cstdio>
#include <cstring>

// The start-up check of which two-stage combinations the device draws in one pass: test
// triangles with test textures for every blend kind and pair of texture formats, judged by the
// device's ValidateDevice.

namespace
{
using Stage = NiD3DTextureStage;
using Mode = NiTextureModeProperty;

constexpr uint32_t TEST_FORMATS = NiD3DTextureCache::FORMAT_COUNT;

// One pretransformed test vertex: position, rhw, diffuse, specular, one coordinate pair.
struct TestVertex
{
    float m_fX, m_fY, m_fZ, m_fRhw;
    uint32_t m_uiDiffuse, m_uiSpecular;
    float m_fU, m_fV;
};

struct Trial
{
    uint8_t m_aaaucTable[Stage::BLEND_KIND_COUNT][NiD3DTexturePipeline::FORMAT_SLOTS]
                        [NiD3DTexturePipeline::FORMAT_SLOTS] = {};
    uint32_t m_uiSinglePass = 0;
    uint32_t m_uiMultiPass = 0;
    uint32_t m_uiInvalid = 0;
};

void LogCount(const char* pcFormat, uint32_t uiCount)
{
    char acText[200];
    std::snprintf(acText, sizeof(acText), pcFormat, uiCount);
    D3DLogMessage(acText);
}

// The test textures of both stages, released when the check ends.
class TestTextures
{
public:
    TestTextures(NiD3DTextureCache& kCache, bool bTwoMemories)
    {
        for (uint32_t uiFormat = 0; uiFormat < TEST_FORMATS; ++uiFormat)
        {
            m_apkTexture[0][uiFormat] = kCache.CreateTestTexture(uiFormat, bTwoMemories ? 0 : -1);
            m_apkTexture[1][uiFormat] = kCache.CreateTestTexture(uiFormat, bTwoMemories ? 1 : -1);
        }
    }
    ~TestTextures()
    {
        for (auto& apkStage : m_apkTexture)
        {
            for (IDirectDrawSurface7* pkTexture : apkStage)
            {
                if (pkTexture)
                    pkTexture->Release();
            }
        }
    }
    TestTextures(const TestTextures&) = delete;
    TestTextures& operator=(const TestTextures&) = delete;

    IDirectDrawSurface7* Get(uint32_t uiStage, uint32_t uiFormat) const
    {
        return uiFormat < TEST_FORMATS ? m_apkTexture[uiStage][uiFormat] : nullptr;
    }

private:
    IDirectDrawSurface7* m_apkTexture[2][TEST_FORMATS] = {};
};
} // namespace

void NiD3DTexturePipeline::DrawTestTriangles()
{
    TestVertex akVertices[6] = {};
    const float afCorners[3][2] = {{0.0f, 0.0f}, {0.0f, 2.0f}, {2.0f, 0.0f}};
    for (uint32_t i = 0; i < 6; ++i)
    {
        akVertices[i].m_fX = afCorners[i % 3][0];
        akVertices[i].m_fY = afCorners[i % 3][1];
        akVertices[i].m_fZ = 0.5f;
        akVertices[i].m_fRhw = 0.5f;
    }
    m_pkDevice->BeginScene();
    m_pkDevice->DrawPrimitive(D3DPT_TRIANGLELIST,
                              D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1, akVertices, 6,
                              D3DDP_WAIT);
    m_pkDevice->EndScene();
}

bool NiD3DTexturePipeline::ValidatesInOnePass()
{
    DWORD dwPasses = 0;
    return SUCCEEDED(m_pkDevice->ValidateDevice(&dwPasses)) && dwPasses < 2;
}

bool NiD3DTexturePipeline::ValidateMultitexture(bool bFull)
{
    ResetStageStates();
    m_uiFlags &= ~(SEPARATE_MEMORIES | VERTEX_LAST);
    m_uiFlags |= TRILINEAR_MULTI | SEPARATE_FILTERS | SEPARATE_ADDRESSING;
    m_pkDevice->SetTexture(0, nullptr);
    m_pkDevice->SetTexture(1, nullptr);
    SetStageOps(0, D3DTOP_SELECTARG2, D3DTOP_SELECTARG2);

    if (!(m_kDesc.dwTextureOpCaps & D3DTEXOPCAPS_SELECTARG2))
    {
        DWORD dwPasses = 0;
        if (FAILED(m_pkDevice->ValidateDevice(&dwPasses)))
        {
            D3DLogWarning("(Creation): Device cannot support required SELECTARG2 mode");
            D3DLogError("Creation failed: 3D Device cannot support required capabilities");
            return false;
        }
    }

    // Without the test draws every pair is drawn in separate passes.
    for (uint32_t uiKind = 0; uiKind < Stage::BLEND_KIND_COUNT; ++uiKind)
        std::memset(m_aaaucValidity[uiKind], MultiPassCode(uiKind), sizeof(m_aaaucValidity[uiKind]));

    const bool bTwoStages = m_kDesc.wMaxTextureBlendStages > 1 && m_kDesc.wMaxSimultaneousTextures > 1;
    if (bTwoStages && (m_kDesc.dwDevCaps & D3DDEVCAPS_SEPARATETEXTUREMEMORIES))
        m_uiFlags |= SEPARATE_MEMORIES;
    if (!bTwoStages || !bFull)
    {
        ResetStageStates();
        return true;
    }

    TestTextures kTextures(*m_spTextures, m_spTextures->HasTwoMemories());
    SetStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    SetStageState(1, D3DTSS_TEXCOORDINDEX, 0);

    auto SetArrangement = [&](bool bVertexLast)
    {
        if (bVertexLast)
        {
            SetApplyRow(0, Mode::APPLY_REPLACE, true);
            SetStageState(2, D3DTSS_COLORARG1, D3DTA_CURRENT);
            SetStageState(2, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
            SetApplyRow(2, Mode::APPLY_MODULATE, true);
        }
        else
        {
            SetApplyRow(0, Mode::APPLY_MODULATE, true);
            SetStageOps(2, D3DTOP_DISABLE, D3DTOP_DISABLE);
        }
    };
    auto SetKindOp = [&](uint32_t uiKind)
    {
        if (m_akStageCache[1].m_auiState[CS_COLOROP] == D3DTOP_DISABLE)
            SetStageState(1, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
        SetStageState(1, D3DTSS_COLOROP, m_auiKindOp[uiKind]);
    };

    Trial akTrials[2];
    const bool bVertexLastTrial = m_kDesc.wMaxTextureBlendStages > m_kDesc.wMaxSimultaneousTextures;
    for (uint32_t uiTrial = 0; uiTrial < (bVertexLastTrial ? 2u : 1u); ++uiTrial)
    {
        const bool bVertexLast = uiTrial == 1;
        if (bVertexLast)
            D3DLogMessage("(Creation): - trying single-pass vertex-last");
        Trial& kTrial = akTrials[uiTrial];
        bool bFilterTested = false;
        for (uint32_t uiKind = 0; uiKind < Stage::BLEND_KIND_COUNT; ++uiKind)
        {
            SetKindOp(uiKind);
            const uint8_t ucCode = MultiPassCode(uiKind);
            for (uint32_t uiFirst = 0; uiFirst < FORMAT_SLOTS; ++uiFirst)
            {
                for (uint32_t uiSecond = 0; uiSecond < FORMAT_SLOTS; ++uiSecond)
                {
                    IDirectDrawSurface7* pkFirst = kTextures.Get(0, uiFirst);
                    IDirectDrawSurface7* pkSecond = kTextures.Get(1, uiSecond);
                    if (!pkFirst || !pkSecond)
                        continue;
                    m_pkDevice->SetTexture(0, pkFirst);
                    m_pkDevice->SetTexture(1, pkSecond);
                    SetArrangement(bVertexLast);
                    DrawTestTriangles();
                    uint8_t& ucEntry = kTrial.m_aaaucTable[uiKind][uiFirst][uiSecond];
                    if (ValidatesInOnePass())
                    {
                        ucEntry = ucCode | SINGLE_PASS;
                        ++kTrial.m_uiSinglePass;
                        if (!bFilterTested)
                        {
                            bFilterTested = true;
                            SetFilterStates(1, D3DTFN_LINEAR, D3DTFG_LINEAR, D3DTFP_LINEAR);
                            if (!ValidatesInOnePass())
                                m_uiFlags &= ~SEPARATE_FILTERS;
                            SetFilterStates(1, D3DTFN_POINT, D3DTFG_POINT, D3DTFP_NONE);
                        }
                    }
                    else
                    {
                        ucEntry = ucCode;
                        ++(ucCode ? kTrial.m_uiMultiPass : kTrial.m_uiInvalid);
                    }
                }
            }
        }
        if (kTrial.m_uiSinglePass > 0)
        {
            LogCount(bVertexLast
                         ? "(Creation): Device supports vertex-lastsingle pass multitexturing: %u modes"
                         : "(Creation): Device supports vertex-firstsingle pass multitexturing: %u modes",
                     kTrial.m_uiSinglePass);
        }
    }

    const uint32_t uiFirstCount = akTrials[0].m_uiSinglePass;
    const uint32_t uiLastCount = akTrials[1].m_uiSinglePass;
    uint32_t uiChosen = 0;
    if (uiFirstCount == 0 && uiLastCount == 0)
    {
        D3DLogMessage("(Creation): Device supports no single-pass modes");
    }
    else if (uiFirstCount > uiLastCount)
    {
        D3DLogMessage("(Creation): Device supports more single-pass vertex-first than vertex-last modes");
    }
    else if (uiFirstCount == uiLastCount)
    {
        D3DLogMessage(
            "(Creation): Device supports an equal number ofsingle-pass vertex-first and vertex-last modes");
    }
    else
    {
        D3DLogMessage("(Creation): Device supports more single-pass vertex-last than vertex-first modes");
        m_uiFlags |= VERTEX_LAST;
        uiChosen = 1;
    }
    const Trial& kChosen = akTrials[uiChosen];
    std::memcpy(m_aaaucValidity, kChosen.m_aaaucTable, sizeof(m_aaaucValidity));
    LogCount("(Creation): Number of available single-pass multitexture modes: %u", kChosen.m_uiSinglePass);
    LogCount("(Creation): Number of available multi-pass multitexture modes: %u", kChosen.m_uiMultiPass);
    LogCount("(Creation): Number of available invalid multitexture modes: %u", kChosen.m_uiInvalid);

    // Separate addressing, then trilinear filtering, with the 16-bit 5-6-5 test textures.
    IDirectDrawSurface7* pkFirst = kTextures.Get(0, NiD3DTextureCache::FORMAT_RGB565);
    IDirectDrawSurface7* pkSecond = kTextures.Get(1, NiD3DTextureCache::FORMAT_RGB565);
    if (pkFirst && pkSecond)
    {
        const bool bVertexLast = (m_uiFlags & VERTEX_LAST) != 0;
        m_pkDevice->SetTexture(0, pkFirst);
        m_pkDevice->SetTexture(1, pkSecond);
        SetApplyRow(0, bVertexLast ? Mode::APPLY_REPLACE : Mode::APPLY_MODULATE, true);
        SetStageOps(2, D3DTOP_DISABLE, D3DTOP_DISABLE);
        auto CheckKinds = [&](uint32_t uiFlag)
        {
            const uint32_t uiFormat = NiD3DTextureCache::FORMAT_RGB565;
            for (uint32_t uiKind = 0; uiKind < Stage::BLEND_KIND_COUNT; ++uiKind)
            {
                if (!(m_aaaucValidity[uiKind][uiFormat][uiFormat] & SINGLE_PASS))
                    continue;
                SetKindOp(uiKind);
                DrawTestTriangles();
                if (!ValidatesInOnePass())
                {
                    m_uiFlags &= ~uiFlag;
                    return;
                }
            }
        };
        m_pkDevice->SetTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_WRAP);
        m_pkDevice->SetTextureStageState(1, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP);
        CheckKinds(SEPARATE_ADDRESSING);
        m_pkDevice->SetTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_WRAP);
        m_pkDevice->SetTextureStageState(1, D3DTSS_ADDRESS, D3DTADDRESS_WRAP);

        if (m_kDesc.dpcTriCaps.dwTextureFilterCaps & D3DPTFILTERCAPS_MIPFLINEAR)
        {
            SetFilterStates(0, D3DTFN_LINEAR, D3DTFG_LINEAR, D3DTFP_LINEAR);
            SetFilterStates(1, D3DTFN_LINEAR, D3DTFG_LINEAR, D3DTFP_LINEAR);
            CheckKinds(TRILINEAR_MULTI);
        }
    }

    if (!(m_uiFlags & TRILINEAR_MULTI))
        D3DLogMessage("(Creation): Device cannot do trilerp in multitexture mode");
    if (!(m_uiFlags & SEPARATE_ADDRESSING))
    {
        D3DLogMessage("(Creation): Device cannot do independent texture addressing inmultitexture mode");
        D3DLogMessage("(Creation): NI D3D Renderer will multipass these cases");
    }
    m_pkDevice->SetTexture(0, nullptr);
    m_pkDevice->SetTexture(1, nullptr);
    ResetStageStates();
    return true;
}
