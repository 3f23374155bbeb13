#include "scene/render/NiD3DLightCache.h"

#include "scene/graph/NiDirectionalLight.h"
#include "scene/graph/NiEffectLists.h"
#include "scene/graph/NiSpotLight.h"
#include "scene/graph/NiTextureEffect.h"
#include "scene/graph/NiTextureModeProperty.h"
#include "scene/graph/NiVertexColorProperty.h"
#include "scene/render/NiD3DColor.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float MIN_DIMMER = 0.01f;

// Material sources by vertex-colour source: emissive, ambient, diffuse.
struct MaterialSources
{
    uint32_t m_uiEmissive;
    uint32_t m_uiAmbient;
    uint32_t m_uiDiffuse;
};
constexpr MaterialSources SOURCE_TABLE[] = {
    {D3DMCS_MATERIAL, D3DMCS_MATERIAL, D3DMCS_MATERIAL},
    {D3DMCS_COLOR1, D3DMCS_MATERIAL, D3DMCS_MATERIAL},
    {D3DMCS_MATERIAL, D3DMCS_COLOR1, D3DMCS_COLOR1},
};

D3DCOLORVALUE Dimmed(const NiColor& kColor, float fDimmer)
{
    return D3DCOLORVALUE{fDimmer * kColor.r, fDimmer * kColor.g, fDimmer * kColor.b, 0.0f};
}

D3DVECTOR Vector(const NiPoint3& kPoint)
{
    return D3DVECTOR{kPoint.x, kPoint.y, kPoint.z};
}
} // namespace

NiD3DLightCache::NiD3DLightCache(IDirect3DDevice7* pkDevice) : m_pkDevice(pkDevice)
{
    m_pkDevice->AddRef();
    D3DDEVICEDESC7 kDesc{};
    if (SUCCEEDED(m_pkDevice->GetCaps(&kDesc)))
        m_uiMaxActive = kDesc.dwMaxActiveLights;
    m_pkDevice->SetRenderState(D3DRENDERSTATE_AMBIENT, 0);
    m_pkDevice->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
    m_pkDevice->SetRenderState(D3DRENDERSTATE_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL);
    m_pkDevice->SetRenderState(D3DRENDERSTATE_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL);
    m_pkDevice->SetRenderState(D3DRENDERSTATE_DIFFUSEMATERIALSOURCE, D3DMCS_MATERIAL);
}

NiD3DLightCache::~NiD3DLightCache()
{
    DisableAll();
    m_pkDevice->Release();
}

bool NiD3DLightCache::Entry::Fill(const NiLight& kLight)
{
    if (kLight.GetRevisionID() == m_iRevision)
        return false;
    m_iRevision = kLight.GetRevisionID();
    m_kLight = D3DLIGHT7{};

    switch (kLight.GetEffectKind())
    {
    case NiDynamicEffect::DIR_LIGHT:
        m_kLight.dltType = D3DLIGHT_DIRECTIONAL;
        m_kLight.dvDirection = Vector(static_cast<const NiDirectionalLight&>(kLight).GetWorldDirection());
        break;
    case NiDynamicEffect::POINT_LIGHT:
    case NiDynamicEffect::SPOT_LIGHT:
    {
        const auto& kPoint = static_cast<const NiPointLight&>(kLight);
        m_kLight.dltType = D3DLIGHT_POINT;
        m_kLight.dvPosition = Vector(kLight.GetWorldTranslate());
        m_kLight.dvAttenuation0 = kPoint.GetConstantAttenuation();
        m_kLight.dvAttenuation1 = kPoint.GetLinearAttenuation();
        m_kLight.dvAttenuation2 = kPoint.GetQuadraticAttenuation();
        m_kLight.dvRange = std::sqrt(3.4028235e38f);
        if (kLight.GetEffectKind() != NiDynamicEffect::SPOT_LIGHT)
            break;
        const auto& kSpot = static_cast<const NiSpotLight&>(kLight);
        m_kLight.dltType = D3DLIGHT_SPOT;
        m_kLight.dvDirection = Vector(kSpot.GetWorldDirection());
        // The half angle in degrees becomes the full cone in radians; the device takes no cone
        // wider than a half sphere.
        const float fPi = 4.0f * std::atan(1.0f);
        const float fCone = std::clamp(kSpot.GetSpotAngle() * fPi / 90.0f, 0.0f, fPi);
        m_kLight.dvTheta = fCone;
        m_kLight.dvPhi = fCone;
        m_kLight.dvFalloff = kSpot.GetSpotExponent();
        break;
    }
    default:
        // Ambient lights are summed, never given to the device.
        break;
    }

    const float fDimmer = kLight.GetDimmer();
    m_kLight.dcvDiffuse = Dimmed(kLight.GetDiffuseColor(), fDimmer);
    m_kLight.dcvSpecular = Dimmed(kLight.GetSpecularColor(), fDimmer);
    m_kLight.dcvAmbient = Dimmed(kLight.GetAmbientColor(), fDimmer);
    return true;
}

void NiD3DLightCache::SetLighting(bool bOn)
{
    if (bOn == m_bLightingOn)
        return;
    m_bLightingOn = bOn;
    m_pkDevice->SetRenderState(D3DRENDERSTATE_LIGHTING, bOn ? TRUE : FALSE);
}

void NiD3DLightCache::SetMaterialSource(uint32_t uiSource)
{
    const MaterialSources& kSources = SOURCE_TABLE[uiSource];
    m_pkDevice->SetRenderState(D3DRENDERSTATE_EMISSIVEMATERIALSOURCE, kSources.m_uiEmissive);
    m_pkDevice->SetRenderState(D3DRENDERSTATE_AMBIENTMATERIALSOURCE, kSources.m_uiAmbient);
    m_pkDevice->SetRenderState(D3DRENDERSTATE_DIFFUSEMATERIALSOURCE, kSources.m_uiDiffuse);
    m_uiMaterialSource = uiSource;
}

void NiD3DLightCache::SetObjectLighting(NiEffectLists* pkLists, bool bHasBaseTexture,
                                        NiTextureModeProperty* pkTextureMode,
                                        NiVertexColorProperty* pkVertexColor)
{
    m_uiApplyMode = pkTextureMode ? pkTextureMode->GetApplyMode() : NiTextureModeProperty::APPLY_MODULATE;
    if (bHasBaseTexture && m_uiApplyMode == NiTextureModeProperty::APPLY_REPLACE)
    {
        SetLighting(false);
        return;
    }

    const uint32_t uiLighting =
        pkVertexColor ? pkVertexColor->GetLightingMode() : uint32_t(NiVertexColorProperty::LIGHTING_E_A_D);
    uint32_t uiSource =
        pkVertexColor ? pkVertexColor->GetSourceMode() : uint32_t(NiVertexColorProperty::SOURCE_IGNORE);
    if (uiLighting == NiVertexColorProperty::LIGHTING_E_A_D)
    {
        // A source from a file outside the table takes no colours from the vertices.
        if (uiSource >= NiVertexColorProperty::SOURCE_MAX)
            uiSource = NiVertexColorProperty::SOURCE_IGNORE;
        if (uiSource != m_uiMaterialSource)
            SetMaterialSource(uiSource);
        m_bLightsWanted = true;
    }
    else if (uiSource == NiVertexColorProperty::SOURCE_IGNORE ||
             uiSource == NiVertexColorProperty::SOURCE_AMB_DIFF)
    {
        m_bLightsWanted = false;
        if (m_uiMaterialSource == NiVertexColorProperty::SOURCE_EMISSIVE)
        {
            m_pkDevice->SetRenderState(D3DRENDERSTATE_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL);
            m_uiMaterialSource = NiVertexColorProperty::SOURCE_IGNORE;
        }
    }
    else
    {
        SetLighting(false);
        return;
    }

    SetLighting(true);
    if (pkLists != m_spLastLists || m_bLightsWanted != m_bLastWanted)
    {
        UpdateLights(pkLists);
        m_spLastLists = pkLists;
        m_bLastWanted = m_bLightsWanted;
    }
}

void NiD3DLightCache::DisableEnabled()
{
    // The list is emptied before its references go: a light held only here dies on the way
    // out and purges itself from this cache.
    std::vector<NiRefPtr<NiLight>> kEnabled;
    kEnabled.swap(m_kEnabled);
    for (const NiRefPtr<NiLight>& spLight : kEnabled)
        m_pkDevice->LightEnable(static_cast<uint32_t>(spLight->GetIndex()), FALSE);
}

void NiD3DLightCache::UpdateLights(NiEffectLists* pkLists)
{
    DisableEnabled();

    NiColor kAmbient(0.0f, 0.0f, 0.0f);
    if (m_bLightsWanted && pkLists)
    {
        for (const NiRefPtr<NiDynamicEffect>& spEffect : pkLists->GetLights())
        {
            NiLight* pkLight = NiDynamicCast<NiLight>(spEffect.Get());
            if (!pkLight || !pkLight->GetSwitch() || !(pkLight->GetDimmer() >= MIN_DIMMER))
                continue;
            if (pkLight->GetEffectKind() == NiDynamicEffect::AMBIENT_LIGHT)
            {
                const float fDimmer = pkLight->GetDimmer();
                const NiColor& kColor = pkLight->GetAmbientColor();
                kAmbient.r += fDimmer * kColor.r;
                kAmbient.g += fDimmer * kColor.g;
                kAmbient.b += fDimmer * kColor.b;
                continue;
            }
            EnableLight(pkLight);
        }
    }

    const uint32_t uiAmbient = NiD3DColor::Pack(kAmbient.r, kAmbient.g, kAmbient.b, 0xFF);
    if (uiAmbient != m_uiAmbient)
    {
        m_uiAmbient = uiAmbient;
        m_pkDevice->SetRenderState(D3DRENDERSTATE_AMBIENT, uiAmbient);
    }
}

void NiD3DLightCache::EnableLight(NiLight* pkLight)
{
    // Lights beyond what the device can switch on at once are left out, in list order.
    if (m_uiMaxActive != 0 && m_kEnabled.size() >= m_uiMaxActive)
        return;

    const uint32_t uiIndex = static_cast<uint32_t>(pkLight->GetIndex());
    Entry* pkEntry = nullptr;
    if (std::unique_ptr<Entry>* pspFound = m_kEntries.Find(uiIndex))
    {
        pkEntry = pspFound->get();
    }
    else
    {
        auto spEntry = std::make_unique<Entry>();
        pkEntry = spEntry.get();
        m_kEntries.SetAt(uiIndex, std::move(spEntry));
    }
    if (pkEntry->Fill(*pkLight))
        m_pkDevice->SetLight(uiIndex, &pkEntry->m_kLight);
    m_pkDevice->LightEnable(uiIndex, TRUE);
    m_kEnabled.emplace_back(pkLight);
}

void NiD3DLightCache::DisableAll()
{
    DisableEnabled();
    m_spLastLists = nullptr;
}

void NiD3DLightCache::PurgeLight(NiLight* pkLight)
{
    if (!pkLight)
        return;
    const uint32_t uiIndex = static_cast<uint32_t>(pkLight->GetIndex());
    m_kEntries.RemoveAt(uiIndex);
    m_pkDevice->LightEnable(uiIndex, FALSE);
    auto kAt = std::find(m_kEnabled.begin(), m_kEnabled.end(), pkLight);
    if (kAt != m_kEnabled.end())
        m_kEnabled.erase(kAt);
}

const D3DLIGHT7* NiD3DLightCache::GetRecord(uint32_t uiIndex) const
{
    const std::unique_ptr<Entry>* pspFound = m_kEntries.Find(uiIndex);
    return pspFound ? &(*pspFound)->m_kLight : nullptr;
}
