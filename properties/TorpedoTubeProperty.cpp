#include "properties/TorpedoTubeProperty.h"

#include "core/SKStream.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"

TorpedoTubeProperty::TorpedoTubeProperty(int32_t iID) : WeaponProperty(iID)
{
    SetDumbfire(true);
    SetDamageRadiusFactor(0.6f);
}

TorpedoTubeProperty* TorpedoTubeProperty::Create(const char* pcName)
{
    auto* pkProperty = new TorpedoTubeProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}

bool TorpedoTubeProperty::SaveToStream(SKStream& kStream) const
{
    if (!WeaponProperty::SaveToStream(kStream))
        return false;
    for (const NiPoint3* pkVector : {&m_kDirection, &m_kRight})
    {
        kStream.WriteFloat(pkVector->x);
        kStream.WriteFloat(pkVector->y);
        kStream.WriteFloat(pkVector->z);
    }
    kStream.WriteFloat(m_fImmediateDelay);
    kStream.WriteFloat(m_fReloadDelay);
    kStream.WriteLong(m_iMaxReady);
    return true;
}

bool TorpedoTubeProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!WeaponProperty::LoadFromStream(kStream))
        return false;
    for (NiPoint3* pkVector : {&m_kDirection, &m_kRight})
    {
        pkVector->x = kStream.ReadFloat();
        pkVector->y = kStream.ReadFloat();
        pkVector->z = kStream.ReadFloat();
    }
    m_fImmediateDelay = kStream.ReadFloat();
    m_fReloadDelay = kStream.ReadFloat();
    m_iMaxReady = kStream.ReadLong();
    return !kCheck.Failed();
}

void TorpedoTubeProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    WeaponProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter kWriter(kStream);
    kWriter.Line(pcVariable, ".SetImmediateDelay(", m_fImmediateDelay, ")");
    kWriter.Line(pcVariable, ".SetReloadDelay(", m_fReloadDelay, ")");
    kWriter.Line(pcVariable, ".SetMaxReady(", m_iMaxReady, ")");
    kWriter.Point3(pcVariable, "Direction", m_kDirection);
    kWriter.Line(pcVariable, ".SetDirection(", pcVariable, "Direction)");
    kWriter.Point3(pcVariable, "Right", m_kRight);
    kWriter.Line(pcVariable, ".SetRight(", pcVariable, "Right)");
}

bool TorpedoTubeProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const TorpedoTubeProperty*>(pkOther);
    if (!pkSource || !WeaponProperty::CopyFrom(pkOther))
        return false;
    SetImmediateDelay(pkSource->GetImmediateDelay());
    SetReloadDelay(pkSource->GetReloadDelay());
    SetMaxReady(pkSource->GetMaxReady());
    SetDirection(pkSource->GetDirection());
    SetRight(pkSource->GetRight());
    return true;
}
