#include "scene/render/NiD3DMaterialCache.h"

#include "scene/graph/NiMaterialProperty.h"

namespace
{
D3DCOLORVALUE ColorValue(const NiColor& kColor, float fAlpha)
{
    return D3DCOLORVALUE{kColor.r, kColor.g, kColor.b, fAlpha};
}
} // namespace

NiD3DMaterialCache::NiD3DMaterialCache()
{
    Select(nullptr);
    m_bChanged = true;
}

NiD3DMaterialCache::~NiD3DMaterialCache() = default;

bool NiD3DMaterialCache::Record::Fill(const NiMaterialProperty& kMaterial)
{
    if (kMaterial.GetRevision() == m_uiRevision)
        return false;
    m_uiRevision = kMaterial.GetRevision();
    // The one material alpha goes into all four colours: the device takes the lit alpha from
    // the diffuse colour, the others only have to agree with it.
    const float fAlpha = kMaterial.GetAlpha();
    m_kMaterial.dcvDiffuse = ColorValue(kMaterial.GetDiffuseColor(), fAlpha);
    m_kMaterial.dcvAmbient = ColorValue(kMaterial.GetAmbientColor(), fAlpha);
    m_kMaterial.dcvSpecular = ColorValue(kMaterial.GetSpecularColor(), fAlpha);
    m_kMaterial.dcvEmissive = ColorValue(kMaterial.GetEmittance(), fAlpha);
    m_kMaterial.dvPower = kMaterial.GetShineness();
    return true;
}

bool NiD3DMaterialCache::Select(NiMaterialProperty* pkMaterial)
{
    NiRefPtr<NiMaterialProperty> spDefault;
    if (!pkMaterial)
    {
        spDefault = NiMaterialProperty::GetDefault();
        pkMaterial = spDefault;
    }

    Record* pkRecord = nullptr;
    if (std::unique_ptr<Record>* pspFound = m_kRecords.Find(pkMaterial->GetSerial()))
    {
        pkRecord = pspFound->get();
    }
    else
    {
        auto spRecord = std::make_unique<Record>();
        pkRecord = spRecord.get();
        m_kRecords.SetAt(pkMaterial->GetSerial(), std::move(spRecord));
    }

    const bool bRebuilt = pkRecord->Fill(*pkMaterial);
    if (bRebuilt || pkRecord != m_pkCurrent)
        m_bChanged = true;
    m_pkCurrent = pkRecord;
    return bRebuilt;
}

void NiD3DMaterialCache::Commit(IDirect3DDevice7* pkDevice)
{
    if (!m_bChanged || !pkDevice)
        return;
    m_bChanged = false;
    pkDevice->SetMaterial(&m_pkCurrent->m_kMaterial);
}

const D3DMATERIAL7* NiD3DMaterialCache::GetCurrent() const
{
    return &m_pkCurrent->m_kMaterial;
}
