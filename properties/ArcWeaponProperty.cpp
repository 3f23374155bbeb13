#include "properties/ArcWeaponProperty.h"

#include "core/SKStream.h"
#include "properties/FiringArcGeometry.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"

void ArcWeaponProperty::UpdateRight()
{
    m_kRight = FiringArcGeometry::Cross(m_kForward, m_kUp);
}

void ArcWeaponProperty::SetOrientation(const NiPoint3& kForward, const NiPoint3& kUp)
{
    m_kForward = kForward;
    m_kUp = kUp;
    UpdateRight();
}

void ArcWeaponProperty::SetArcWidthAngles(float fMin, float fMax)
{
    m_fArcWidthMin = fMin;
    m_fArcWidthMax = fMax;
}

void ArcWeaponProperty::SetArcHeightAngles(float fMin, float fMax)
{
    m_fArcHeightMin = fMin;
    m_fArcHeightMax = fMax;
}

void ArcWeaponProperty::GetArcWidthAngles(float* pfMin, float* pfMax) const
{
    if (pfMin)
        *pfMin = m_fArcWidthMin;
    if (pfMax)
        *pfMax = m_fArcWidthMax;
}

void ArcWeaponProperty::GetArcHeightAngles(float* pfMin, float* pfMax) const
{
    if (pfMin)
        *pfMin = m_fArcHeightMin;
    if (pfMax)
        *pfMax = m_fArcHeightMax;
}

bool ArcWeaponProperty::SaveToStream(SKStream& kStream) const
{
    if (!EnergyWeaponProperty::SaveToStream(kStream))
        return false;
    // No saved node is ever found again (see CheckLinks): 0 says "none".
    kStream.WriteObjectRef(0);
    kStream.WriteFloat(m_fArcWidthMin);
    kStream.WriteFloat(m_fArcWidthMax);
    kStream.WriteFloat(m_fArcHeightMin);
    kStream.WriteFloat(m_fArcHeightMax);
    for (const NiPoint3* pkVector : {&m_kForward, &m_kUp, &m_kRight})
    {
        kStream.WriteFloat(pkVector->x);
        kStream.WriteFloat(pkVector->y);
        kStream.WriteFloat(pkVector->z);
    }
    return true;
}

bool ArcWeaponProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!EnergyWeaponProperty::LoadFromStream(kStream))
        return false;
    m_iLoadedDisplayNodeRef = kStream.ReadObjectRef();
    m_fArcWidthMin = kStream.ReadFloat();
    m_fArcWidthMax = kStream.ReadFloat();
    m_fArcHeightMin = kStream.ReadFloat();
    m_fArcHeightMax = kStream.ReadFloat();
    for (NiPoint3* pkVector : {&m_kForward, &m_kUp, &m_kRight})
    {
        pkVector->x = kStream.ReadFloat();
        pkVector->y = kStream.ReadFloat();
        pkVector->z = kStream.ReadFloat();
    }
    return !kCheck.Failed();
}

bool ArcWeaponProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const ArcWeaponProperty*>(pkOther);
    if (!pkSource || !EnergyWeaponProperty::CopyFrom(pkOther))
        return false;
    SetOrientation(pkSource->GetOrientationForward(), pkSource->GetOrientationUp());
    SetArcHeightAngles(pkSource->GetArcHeightAngleMin(), pkSource->GetArcHeightAngleMax());
    SetArcWidthAngles(pkSource->GetArcWidthAngleMin(), pkSource->GetArcWidthAngleMax());
    return true;
}

void ArcWeaponProperty::WriteOrientationLines(SKScriptWriter& kWriter, const char* pcVariable) const
{
    kWriter.Point3(pcVariable, "Forward", m_kForward);
    kWriter.Point3(pcVariable, "Up", m_kUp);
    kWriter.Line(pcVariable, ".SetOrientation(", pcVariable, "Forward, ", pcVariable, "Up)");
}

void ArcWeaponProperty::WriteArcLines(SKScriptWriter& kWriter, const char* pcVariable) const
{
    kWriter.Line(pcVariable, ".SetArcWidthAngles(", m_fArcWidthMin, ", ", m_fArcWidthMax, ")");
    kWriter.Line(pcVariable, ".SetArcHeightAngles(", m_fArcHeightMin, ", ", m_fArcHeightMax, ")");
}
