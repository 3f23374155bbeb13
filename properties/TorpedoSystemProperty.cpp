#include "properties/TorpedoSystemProperty.h"

#include "core/SKStream.h"
#include "properties/SKScriptWriter.h"

#include <algorithm>
#include <string_view>

TorpedoSystemProperty::TorpedoSystemProperty(int32_t iID) : WeaponSystemProperty(iID)
{
    SetWeaponSystemType(WST_TORPEDO);
}

const SKFieldSet& TorpedoSystemProperty::GetFieldSet()
{
    using F = SKPropertyField;
    // The ammo records are written by hand: their lines depend on the number in use, and setting
    // a script asks its module for values.
    static const F FIELDS[] = {
        F::Member<&TorpedoSystemProperty::m_iNumAmmoTypes>("NumAmmoTypes")
            .Record(0)
            .Script(0, "SetNumAmmoTypes")
            .Page(F::AS_STORED, 0.0f, static_cast<float>(MAX_AMMO_TYPES)),
    };
    static const SKFieldSet s_kSet({FIELDS});
    return s_kSet;
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
    GetFieldSet().Save(*this, kStream);
    for (const TorpedoAmmoType& kAmmo : m_akAmmo)
        kAmmo.SaveToStream(kStream);
    return true;
}

bool TorpedoSystemProperty::LoadFromStream(SKStream& kStream)
{
    if (!WeaponSystemProperty::LoadFromStream(kStream) || !GetFieldSet().Load(*this, kStream))
        return false;
    for (TorpedoAmmoType& kAmmo : m_akAmmo)
    {
        if (!kAmmo.LoadFromStream(kStream))
            return false;
    }
    return true;
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
        // A record without a module writes "", which sets no module when the script runs.
        kWriter.Line(pcVariable, ".SetTorpedoScript(", iIndex, ", ",
                     SKScriptWriter::Quoted{kAmmo.GetTorpedoScript()}, ")");
    }
    GetFieldSet().WriteLines(*this, kWriter, pcVariable);
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
    GetFieldSet().Copy(*this, *pkOther);
    return true;
}

bool TorpedoSystemProperty::HasEqualFields(const SKModelProperty& kOther) const
{
    const auto* pkOther = dynamic_cast<const TorpedoSystemProperty*>(&kOther);
    if (!pkOther || !WeaponSystemProperty::HasEqualFields(kOther) || !GetFieldSet().Equal(*this, kOther))
        return false;
    auto kSame = [](const char* pcA, const char* pcB)
    { return pcA == pcB || (pcA && pcB && std::string_view(pcA) == pcB); };
    for (int32_t iIndex = 0; iIndex < MAX_AMMO_TYPES; iIndex++)
    {
        const TorpedoAmmoType& kMine = m_akAmmo[iIndex];
        const TorpedoAmmoType& kTheirs = pkOther->m_akAmmo[iIndex];
        if (kMine.GetMaxTorpedoes() != kTheirs.GetMaxTorpedoes() ||
            !kSame(kMine.GetTorpedoScript(), kTheirs.GetTorpedoScript()) ||
            kMine.GetLaunchSpeed() != kTheirs.GetLaunchSpeed() ||
            !kSame(kMine.GetLaunchSound(), kTheirs.GetLaunchSound()))
            return false;
    }
    return true;
}
