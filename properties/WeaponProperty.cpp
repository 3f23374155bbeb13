#include "properties/WeaponProperty.h"

#include "core/SKStream.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"

WeaponProperty* WeaponProperty::Create(const char* pcName)
{
    auto* pkProperty = new WeaponProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}

bool WeaponProperty::IsMemberOfGroup(int32_t iGroup) const
{
    if (iGroup == 0)
        return true;
    // Unsigned arithmetic: group -2^31 must not overflow on the way to its bit.
    const uint32_t uiBit = (static_cast<uint32_t>(iGroup) - 1u) & 31u;
    return (static_cast<uint32_t>(m_iGroups) >> uiBit & 1u) != 0;
}

bool WeaponProperty::SaveToStream(SKStream& kStream) const
{
    if (!SubsystemProperty::SaveToStream(kStream))
        return false;
    kStream.WriteBool(m_bDumbfire);
    kStream.WriteLong(m_iWeaponID);
    kStream.WriteLong(m_iGroups);
    kStream.WriteFloat(m_fDamageRadiusFactor);
    kStream.WriteInt(m_iIconNum);
    kStream.WriteFloat(m_fIconPositionX);
    kStream.WriteFloat(m_fIconPositionY);
    kStream.WriteBool(m_bIconAboveShip);
    return true;
}

bool WeaponProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!SubsystemProperty::LoadFromStream(kStream))
        return false;
    m_bDumbfire = kStream.ReadBool();
    m_iWeaponID = kStream.ReadLong();
    m_iGroups = kStream.ReadLong();
    m_fDamageRadiusFactor = kStream.ReadFloat();
    m_iIconNum = kStream.ReadInt();
    m_fIconPositionX = kStream.ReadFloat();
    m_fIconPositionY = kStream.ReadFloat();
    m_bIconAboveShip = kStream.ReadBool();
    return !kCheck.Failed();
}

void WeaponProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    SubsystemProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter kWriter(kStream);
    kWriter.Line(pcVariable, ".SetDumbfire(", m_bDumbfire, ")");
    kWriter.Line(pcVariable, ".SetWeaponID(", m_iWeaponID, ")");
    kWriter.Line(pcVariable, ".SetGroups(", m_iGroups, ")");
    kWriter.Line(pcVariable, ".SetDamageRadiusFactor(", m_fDamageRadiusFactor, ")");
    kWriter.Line(pcVariable, ".SetIconNum(", m_iIconNum, ")");
    kWriter.Line(pcVariable, ".SetIconPositionX(", m_fIconPositionX, ")");
    kWriter.Line(pcVariable, ".SetIconPositionY(", m_fIconPositionY, ")");
    kWriter.Line(pcVariable, ".SetIconAboveShip(", m_bIconAboveShip, ")");
}

bool WeaponProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const WeaponProperty*>(pkOther);
    if (!pkSource || !SubsystemProperty::CopyFrom(pkOther))
        return false;
    SetDumbfire(pkSource->IsDumbfire());
    SetWeaponID(pkSource->GetWeaponID());
    SetGroups(pkSource->GetGroups());
    SetDamageRadiusFactor(pkSource->GetDamageRadiusFactor());
    SetIconNum(pkSource->GetIconNum());
    SetIconPositionX(pkSource->GetIconPositionX());
    SetIconPositionY(pkSource->GetIconPositionY());
    SetIconAboveShip(pkSource->IsIconAboveShip());
    return true;
}
