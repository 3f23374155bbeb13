#include "scene/render/NiD3DTexturePipeline.h"

#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiFogProperty.h"
#include "scene/graph/NiMultiTextureMap.h"
#include "scene/graph/NiMultiTextureProperty.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiTextureEffect.h"
#include "scene/render/NiD3DTextureCache.h"

// The texture effects of the pipeline: effect stages with device-generated coordinates,
// clipping-plane masks, and the report of features the device cannot draw.

namespace
{
using Stage = NiD3DTextureStage;

// The texture matrix of (P R)^T with translation row (tx, ty, tz): a world projection applied to
// camera-space vectors.
void SetProjection(D3DMATRIX& kT, const NiRotationMatrix& kPR, const NiPoint3& kTranslate)
{
    kT = D3DMATRIX{};
    kT._11 = kPR.GetEntry(0, 0);
    kT._12 = kPR.GetEntry(1, 0);
    kT._13 = kPR.GetEntry(2, 0);
    kT._21 = kPR.GetEntry(0, 1);
    kT._22 = kPR.GetEntry(1, 1);
    kT._23 = kPR.GetEntry(2, 1);
    kT._31 = kPR.GetEntry(0, 2);
    kT._32 = kPR.GetEntry(1, 2);
    kT._33 = kPR.GetEntry(2, 2);
    kT._41 = kTranslate.x;
    kT._42 = kTranslate.y;
    kT._43 = kTranslate.z;
    kT._44 = 1.0f;
}

bool IsDrawable(const NiTextureEffect* pkEffect)
{
    return pkEffect && pkEffect->GetSwitch() && pkEffect->GetImage();
}
} // namespace

bool NiD3DTexturePipeline::InList(const Stage& kStage, const EffectList& kList)
{
    for (uint32_t i = 0; i < kList.m_uiCount; ++i)
    {
        if (&kList.m_akStages[i] == &kStage)
            return true;
    }
    return false;
}

bool NiD3DTexturePipeline::IsEffectStage(const Stage& kStage) const
{
    return InList(kStage, m_kProjectedLights) || InList(kStage, m_kPlaneLights) ||
           InList(kStage, m_kProjectedShadows) || InList(kStage, m_kPlaneShadows) ||
           (m_bEnvironment && &kStage == &m_kEnvironment) || (m_bFogMap && &kStage == &m_kFog);
}

void NiD3DTexturePipeline::SetCameraFrame(const NiPoint3& kDirection, const NiPoint3& kUp,
                                          const NiPoint3& kRight, const NiPoint3& kLocation)
{
    // The device's camera space has x along the right axis, y up and z forward (the view
    // matrix's columns), so the rotation back to world space takes the axes in that order.
    m_kCameraRotation.SetColumns(kRight, kUp, kDirection);
    m_kCameraLocation = kLocation;
}

void NiD3DTexturePipeline::ClearEffects()
{
    m_kProjectedLights.m_uiCount = m_kPlaneLights.m_uiCount = m_kLightMasks.m_uiCount = 0;
    m_kProjectedShadows.m_uiCount = m_kPlaneShadows.m_uiCount = m_kShadowMasks.m_uiCount = 0;
    m_bEnvironment = m_bFogMap = false;
    m_uiEffectStages = 0;
    m_spLastLists = nullptr;
    m_bEffectsCollected = false;
}

void NiD3DTexturePipeline::WorldProjection(const NiTextureEffect& kEffect, D3DMATRIX& kTransform) const
{
    const NiRotationMatrix& kP = kEffect.GetWorldProjectionMatrix();
    SetProjection(kTransform, kP * m_kCameraRotation,
                  kP * m_kCameraLocation + kEffect.GetWorldProjectionTranslation());
}

bool NiD3DTexturePipeline::GenerateCoordinates(const NiTextureEffect& kEffect, Stage& kStage) const
{
    switch (kEffect.GetCoordMode())
    {
    case NiTextureEffect::WORLD_PARALLEL:
    case NiTextureEffect::WORLD_PERSPECTIVE:
        kStage.m_uiTexCoordIndex = D3DTSS_TCI_CAMERASPACEPOSITION;
        WorldProjection(kEffect, kStage.m_kTransform);
        kStage.m_bProjected = kEffect.GetCoordMode() == NiTextureEffect::WORLD_PERSPECTIVE;
        return true;
    case NiTextureEffect::SPHERE_MAP:
        kStage.m_uiTexCoordIndex = D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR;
        kStage.m_bProjected = false;
        if (m_bSphereMapWorld)
        {
            const NiRotationMatrix& kP = kEffect.GetWorldProjectionMatrix();
            SetProjection(kStage.m_kTransform, kP * m_kCameraRotation,
                          kEffect.GetWorldProjectionTranslation());
        }
        else
        {
            kStage.m_kTransform = D3DMATRIX{};
            kStage.m_kTransform._22 = 0.5f;
            kStage.m_kTransform._31 = 0.5f;
            kStage.m_kTransform._41 = 0.5f;
            kStage.m_kTransform._42 = 0.5f;
            kStage.m_kTransform._44 = 1.0f;
        }
        return true;
    default:
        // A coordinate mode from a file without a generator: the effect is not drawn.
        return false;
    }
}

void NiD3DTexturePipeline::MakePlaneMask(const NiTextureEffect& kEffect, bool bShadow, Stage& kMask) const
{
    kMask.Reset();
    kMask.m_spImage = m_spPlaneMask;
    kMask.m_uiFormat = m_uiPlaneMaskFormat;
    kMask.m_uiFilter = 0;
    kMask.m_uiAddressU = kMask.m_uiAddressV = D3DTADDRESS_CLAMP;
    kMask.m_uiTexCoordIndex = D3DTSS_TCI_CAMERASPACEPOSITION;
    kMask.m_bProjected = false;
    kMask.m_bApply = false;
    kMask.m_pkOwner = nullptr;
    kMask.m_uiBlendKind = bShadow ? Stage::STAGE_ADD : Stage::STAGE_MODULATE;

    // u = n.p - d + 0.5 for the world point p: the light shows where n.p >= d; a shadow's
    // plane is turned round, so that white is added where it must not fall.
    const NiPlane& kPlane = kEffect.GetWorldClippingPlane();
    const float fSign = bShadow ? -1.0f : 1.0f;
    const NiPoint3 kNormal = kPlane.m_kNormal * fSign;
    const NiPoint3 kCameraNormal = m_kCameraRotation.TransposeTimes(kNormal);
    D3DMATRIX& kT = kMask.m_kTransform;
    kT = D3DMATRIX{};
    kT._11 = kCameraNormal.x;
    kT._21 = kCameraNormal.y;
    kT._31 = kCameraNormal.z;
    kT._41 = kNormal.DotProduct(m_kCameraLocation) + 0.5f - fSign * kPlane.m_fConstant;
}

NiD3DTextureStage* NiD3DTexturePipeline::MakeEffectStage(NiTextureEffect* pkEffect, EffectList& kList,
                                                         uint32_t uiKind)
{
    if (m_uiEffectStages >= MAX_EFFECTS || kList.m_uiCount >= MAX_EFFECTS || !IsDrawable(pkEffect))
        return nullptr;
    NiImage* pkImage = pkEffect->GetImage();
    const uint32_t uiFormat = m_spTextures->GetFormat(pkImage);
    if (uiFormat >= Stage::NO_FORMAT)
        return nullptr;
    Stage& kStage = kList.m_akStages[kList.m_uiCount];
    kStage.Reset();
    if (!GenerateCoordinates(*pkEffect, kStage))
        return nullptr;
    kStage.m_spImage = pkImage;
    kStage.m_uiFormat = uiFormat;
    kStage.m_uiFilter = ClampFilterMode(pkEffect->GetFilter());
    const uint32_t uiAddress = ClampAddressMode(pkEffect->GetClamp());
    static constexpr uint32_t s_auiAddress[4][2] = {
        {D3DTADDRESS_CLAMP, D3DTADDRESS_CLAMP},
        {D3DTADDRESS_CLAMP, D3DTADDRESS_WRAP},
        {D3DTADDRESS_WRAP, D3DTADDRESS_CLAMP},
        {D3DTADDRESS_WRAP, D3DTADDRESS_WRAP},
    };
    kStage.m_uiAddressU = s_auiAddress[uiAddress][0];
    kStage.m_uiAddressV = s_auiAddress[uiAddress][1];
    kStage.m_bApply = false;
    kStage.m_uiBlendKind = uiKind;
    kStage.m_pkOwner = pkEffect;
    ++kList.m_uiCount;
    ++m_uiEffectStages;
    return &kStage;
}

void NiD3DTexturePipeline::CollectEffects(NiEffectLists* pkLists)
{
    if (m_bEffectsCollected && pkLists == m_spLastLists)
        return;
    ClearEffects();
    m_spLastLists = pkLists;
    m_bEffectsCollected = true;
    if (!pkLists)
        return;
    if (m_uiPlaneMaskFormat >= Stage::NO_FORMAT && m_spPlaneMask)
        m_uiPlaneMaskFormat = m_spTextures->GetFormat(m_spPlaneMask);

    auto Collect = [&](const NiEffectLists::TextureEffectList& kEffects, EffectList& kPlain,
                       EffectList& kPlane, EffectList& kMasks, uint32_t uiKind, bool bShadow)
    {
        for (const NiRefPtr<NiTextureEffect>& spEffect : kEffects)
        {
            if (!spEffect->GetClippingPlaneEnable())
            {
                MakeEffectStage(spEffect, kPlain, uiKind);
                continue;
            }
            if (MakeEffectStage(spEffect, kPlane, uiKind))
                MakePlaneMask(*spEffect, bShadow, kMasks.m_akStages[kMasks.m_uiCount++]);
        }
    };
    Collect(pkLists->GetProjectedLights(), m_kProjectedLights, m_kPlaneLights, m_kLightMasks,
            Stage::STAGE_ADD, false);
    Collect(pkLists->GetProjectedShadows(), m_kProjectedShadows, m_kPlaneShadows, m_kShadowMasks,
            Stage::STAGE_MODULATE, true);

    EffectList kOne;
    if (Stage* pkStage = MakeEffectStage(pkLists->GetEnvironmentMap(), kOne, Stage::STAGE_ADD))
    {
        m_kEnvironment = *pkStage;
        m_bEnvironment = true;
    }
    kOne.m_uiCount = 0;
    if (Stage* pkStage = MakeEffectStage(pkLists->GetFogMap(), kOne, Stage::STAGE_BLEND_ALPHA))
    {
        m_kFog = *pkStage;
        m_bFogMap = true;
    }
}

uint32_t NiD3DTexturePipeline::ComputeUnsupported(NiPropertyTable* pkTable, NiEffectLists* pkLists)
{
    ClearEffects();
    BuildPasses(pkTable, pkLists, true, 16);

    auto Planned = [&](const void* pkOwner)
    {
        for (uint32_t i = 0; i < m_uiStageCount; ++i)
        {
            if (m_apkPlan[i]->m_pkOwner == pkOwner)
                return true;
        }
        return false;
    };
    auto MapMissing = [&](const NiMultiTextureProperty* pkMulti, uint32_t uiSlot)
    {
        const NiMultiTextureMap* pkMap = pkMulti ? pkMulti->GetMap(uiSlot) : nullptr;
        return pkMap && pkMap->GetImageObject() && !Planned(pkMap);
    };
    auto EffectMissing = [&](const NiTextureEffect* pkEffect)
    { return IsDrawable(pkEffect) && !Planned(pkEffect); };

    uint32_t uiUnsupported = 0;
    NiMultiTextureProperty* pkMulti = pkTable ? pkTable->GetMultiTexture() : nullptr;
    if (pkMulti == NiMultiTextureProperty::GetDefault())
        pkMulti = nullptr;
    if (MapMissing(pkMulti, NiMultiTextureProperty::DARK_MAP))
        uiUnsupported |= UNSUPPORTED_DARK_MAP;
    if (MapMissing(pkMulti, NiMultiTextureProperty::DETAIL_MAP))
        uiUnsupported |= UNSUPPORTED_DETAIL_MAP;
    if (MapMissing(pkMulti, NiMultiTextureProperty::GLOSS_MAP))
        uiUnsupported |= UNSUPPORTED_GLOSS_MAP;
    if (MapMissing(pkMulti, NiMultiTextureProperty::GLOW_MAP))
        uiUnsupported |= UNSUPPORTED_GLOW_OR_DECAL;
    for (uint32_t uiSlot = NiMultiTextureProperty::DECAL_MAP; pkMulti && uiSlot < pkMulti->GetMapCount();
         ++uiSlot)
    {
        if (MapMissing(pkMulti, uiSlot))
            uiUnsupported |= UNSUPPORTED_GLOW_OR_DECAL;
    }

    if (pkLists)
    {
        if (EffectMissing(pkLists->GetEnvironmentMap()))
            uiUnsupported |= UNSUPPORTED_ENVIRONMENT_MAP;
        if (EffectMissing(pkLists->GetFogMap()))
            uiUnsupported |= UNSUPPORTED_FOG_MAP;
        for (const NiRefPtr<NiTextureEffect>& spEffect : pkLists->GetProjectedLights())
        {
            if (EffectMissing(spEffect))
                uiUnsupported |= UNSUPPORTED_PROJECTED_LIGHT;
        }
        for (const NiRefPtr<NiTextureEffect>& spEffect : pkLists->GetProjectedShadows())
        {
            if (EffectMissing(spEffect))
                uiUnsupported |= UNSUPPORTED_PROJECTED_SHADOW;
        }
    }

    bool bUnequalUV = false;
    bool bClamp = false;
    bool bOwnerless = false;
    for (uint32_t i = 0; i < m_uiStageCount; ++i)
    {
        const Stage& kStage = *m_apkPlan[i];
        bUnequalUV |= kStage.m_uiAddressU != kStage.m_uiAddressV;
        bClamp |= kStage.m_uiAddressU == D3DTADDRESS_CLAMP || kStage.m_uiAddressV == D3DTADDRESS_CLAMP;
        bOwnerless |= kStage.m_pkOwner == nullptr;

        if (!kStage.m_pkOwner || !IsEffectStage(kStage))
            continue;
        const auto* pkEffect = static_cast<const NiTextureEffect*>(kStage.m_pkOwner);
        if (pkEffect->GetCoordMode() == NiTextureEffect::WORLD_PERSPECTIVE &&
            !(m_uiFlags & PROJECTED_TRANSFORMS))
            uiUnsupported |= UNSUPPORTED_PERSPECTIVE;
        if (pkEffect->GetClippingPlaneEnable())
        {
            const Stage* pkNext = i + 1 < m_uiStageCount ? m_apkPlan[i + 1] : nullptr;
            const EffectList& kMasks = pkEffect->GetTextureMode() == NiTextureEffect::PROJECTED_SHADOW
                                           ? m_kShadowMasks
                                           : m_kLightMasks;
            if (!pkNext || !InList(*pkNext, kMasks))
                uiUnsupported |= UNSUPPORTED_PLANE_MASK;
        }
    }
    if (!(m_uiFlags & INDEPENDENT_UV) && bUnequalUV)
        uiUnsupported |= UNSUPPORTED_SEPARATE_UV;
    if (!(m_uiFlags & CLAMP_ADDRESSING) && bClamp)
        uiUnsupported |= UNSUPPORTED_CLAMP;
    if (m_uiPassCount > 1)
    {
        uiUnsupported |= UNSUPPORTED_MULTIPASS;
        const NiAlphaProperty* pkAlpha = pkTable ? pkTable->GetAlpha() : nullptr;
        if (pkAlpha && pkAlpha->GetAlphaBlending())
            uiUnsupported |= UNSUPPORTED_MULTIPASS_ALPHA;
        const NiFogProperty* pkFog = pkTable ? pkTable->GetFog() : nullptr;
        if (pkFog && pkFog->GetFog())
            uiUnsupported |= UNSUPPORTED_MULTIPASS_FOG;
    }
    if (bOwnerless)
        uiUnsupported |= UNSUPPORTED_OWNERLESS_STAGE;
    if ((uiUnsupported & 0x77600) && m_uiStageCount > MAX_STAGES - 1)
        uiUnsupported |= UNSUPPORTED_STAGE_LIMIT;

    ClearEffects();
    return uiUnsupported;
}
