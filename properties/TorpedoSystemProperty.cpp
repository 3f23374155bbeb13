#include "properties/TorpedoSystemProperty.h"

#include "core/SKStream.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"

#include <algorithm>

TorpedoSystemProperty::TorpedoSystemProperty(int32_t iID) : WeaponSystemProperty(iID)
{
    SetWeaponSystemType(WST_TORPEDO);
}

TorpedoSystemProperty* TorpedoSystemProperty::Create(const char* pcName)
{
    auto* pkProperty = new TorpedoSystemProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}

int32_t TorpedoSystemProperty::GetMaxTorpedoes(int32_t iIndex) const
{
    const TorpedoAmmoType* pkAmmo = GetAmmoType(iIndex);
    return pkAmmo ? pkAmmo->GetMaxTorpedoes() : 0;
}

void TorpedoSystemProperty::SetMaxTorpedoes(int32_t iIndex, int32_t iCount)
{
    if (TorpedoAmmoType* pkAmmo = GetAmmoType(iIndex))
        pkAmmo->SetMaxTorpedoes(iCount);
}

const char* TorpedoSystemProperty::GetTorpedoScript(int32_t iIndex) const
{
    const TorpedoAmmoType* pkAmmo = GetAmmoType(iIndex);
    return pkAmmo ? pkAmmo->GetTorpedoScript() : nullptr;
}

void TorpedoSystemProperty::SetTorpedoScript(int32_t iIndex, const char* pcModule)
{
    if (TorpedoAmmoType* pkAmmo = GetAmmoType(iIndex))
        pkAmmo->SetTorpedoScript(pcModule);
}

bool TorpedoSystemProperty::SaveToStream(SKStream& kStream) const
{
    if (!WeaponSystemProperty::SaveToStream(kStream))
        return false;
    kStream.WriteLong(m_iNumAmmoTypes);
    for (const TorpedoAmmoType& kAmmo : m_akAmmo)
        kAmmo.SaveToStream(kStream);
    return true;
}

bool TorpedoSystemProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!WeaponSystemProperty::LoadFromStream(kStream))
        return false;
    m_iNumAmmoTypes = kStream.ReadLong();
    for (TorpedoAmmoType& kAmmo : m_akAmmo)
    {
        if (!kAmmo.LoadFromStream(kStream))
            return false;
    }
    return !kCheck.Failed();
}

void TorpedoSystemProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    WeaponSystemProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter kWriter(kStream);
    const int32_t iUsed = std::min(m_iNumAmmoTypes, MAX_AMMO_TYPES);
    for (int32_t iIndex = 0; iIndex < iUsed; iIndex++)
    {
        const TorpedoAmmoType& kAmmo = m_akAmmo[iIndex];
        kWriter.Line(pcVariable, ".SetMaxTorpedoes(", iIndex, ", ", kAmmo.GetMaxTorpedoes(), ")");
        // A record without a module has no script line: a line would name a module to import.
        if (kAmmo.GetTorpedoScript())
            kWriter.Line(pcVariable, ".SetTorpedoScript(", iIndex, ", ",
                         SKScriptWriter::Quoted{kAmmo.GetTorpedoScript()}, ")");
    }
    kWriter.Line(pcVariable, ".SetNumAmmoTypes(", m_iNumAmmoTypes, ")");
}

bool TorpedoSystemProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const TorpedoSystemProperty*>(pkOther);
    if (!pkSource || !WeaponSystemProperty::CopyFrom(pkOther))
        return false;
    for (int32_t iIndex = 0; iIndex < MAX_AMMO_TYPES; iIndex++)
    {
        SetMaxTorpedoes(iIndex, pkSource->GetMaxTorpedoes(iIndex));
        SetTorpedoScript(iIndex, pkSource->GetTorpedoScript(iIndex));
    }
    SetNumAmmoTypes(pkSource->GetNumAmmoTypes());
    return true;
}
