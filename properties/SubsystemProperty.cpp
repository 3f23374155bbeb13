#include "properties/SubsystemProperty.h"

#include "core/SKStream.h"
#include "properties/FiringArcGeometry.h"
#include "properties/SKDisplayLines.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiNode.h"

#include <array>

SubsystemProperty::SubsystemProperty(int32_t iID) : SKModelProperty(iID) {}

SubsystemProperty::~SubsystemProperty() = default;

SubsystemProperty* SubsystemProperty::Create(const char* pcName)
{
    auto* pkProperty = new SubsystemProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}

void SubsystemProperty::GetPosition2D(float* pfX, float* pfY) const
{
    if (pfX)
        *pfX = m_fPosition2DX;
    if (pfY)
        *pfY = m_fPosition2DY;
}

bool SubsystemProperty::SaveToStream(SKStream& kStream) const
{
    if (!SKModelProperty::SaveToStream(kStream))
        return false;
    kStream.WriteFloat(m_fMaxCondition);
    kStream.WriteBool(m_bCritical);
    kStream.WriteBool(m_bTargetable);
    kStream.WriteBool(m_bPrimary);
    kStream.WriteFloat(m_kPosition.x);
    kStream.WriteFloat(m_kPosition.y);
    kStream.WriteFloat(m_kPosition.z);
    kStream.WriteFloat(m_fPosition2DX);
    kStream.WriteFloat(m_fPosition2DY);
    kStream.WriteFloat(m_fRepairComplexity);
    kStream.WriteFloat(m_fDisabledPercentage);
    kStream.WriteFloat(m_fRadius);
    return true;
}

bool SubsystemProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!SKModelProperty::LoadFromStream(kStream))
        return false;
    m_fMaxCondition = kStream.ReadFloat();
    m_bCritical = kStream.ReadBool();
    m_bTargetable = kStream.ReadBool();
    m_bPrimary = kStream.ReadBool();
    m_kPosition.x = kStream.ReadFloat();
    m_kPosition.y = kStream.ReadFloat();
    m_kPosition.z = kStream.ReadFloat();
    m_fPosition2DX = kStream.ReadFloat();
    m_fPosition2DY = kStream.ReadFloat();
    m_fRepairComplexity = kStream.ReadFloat();
    m_fDisabledPercentage = kStream.ReadFloat();
    m_fRadius = kStream.ReadFloat();
    return !kCheck.Failed();
}

void SubsystemProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    SKModelProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter kWriter(kStream);
    kWriter.Line(pcVariable, ".SetMaxCondition(", m_fMaxCondition, ")");
    kWriter.Line(pcVariable, ".SetCritical(", m_bCritical, ")");
    kWriter.Line(pcVariable, ".SetTargetable(", m_bTargetable, ")");
    kWriter.Line(pcVariable, ".SetPrimary(", m_bPrimary, ")");
    kWriter.Line(pcVariable, ".SetPosition(", m_kPosition.x, ", ", m_kPosition.y, ", ", m_kPosition.z, ")");
    kWriter.Line(pcVariable, ".SetPosition2D(", m_fPosition2DX, ", ", m_fPosition2DY, ")");
    kWriter.Line(pcVariable, ".SetRepairComplexity(", m_fRepairComplexity, ")");
    kWriter.Line(pcVariable, ".SetDisabledPercentage(", m_fDisabledPercentage, ")");
    kWriter.Line(pcVariable, ".SetRadius(", m_fRadius, ")");
}

bool SubsystemProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const SubsystemProperty*>(pkOther);
    if (!pkSource || !SKModelProperty::CopyFrom(pkOther))
        return false;
    SetMaxCondition(pkSource->GetMaxCondition());
    SetCritical(pkSource->IsCritical());
    SetTargetable(pkSource->IsTargetable());
    SetPrimary(pkSource->IsPrimary());
    const NiPoint3 kPosition = pkSource->GetPosition();
    SetPosition(kPosition.x, kPosition.y, kPosition.z);
    float fX = 0.0f;
    float fY = 0.0f;
    pkSource->GetPosition2D(&fX, &fY);
    SetPosition2D(fX, fY);
    SetRepairComplexity(pkSource->GetRepairComplexity());
    SetDisabledPercentage(pkSource->GetDisabledPercentage());
    SetRadius(pkSource->GetRadius());
    return true;
}

void SubsystemProperty::CrossVertices(NiPoint3* pkVertices, const NiPoint3& kPosition, float fRadius)
{
    FiringArcGeometry::AxisLines(pkVertices, kPosition, NiPoint3::UNIT_Y, NiPoint3::UNIT_Z, NiPoint3::UNIT_X,
                                 fRadius, fRadius, fRadius);
    FiringArcGeometry::AxisLines(pkVertices + FiringArcGeometry::AXIS_VERTICES, kPosition, -NiPoint3::UNIT_Y,
                                 -NiPoint3::UNIT_Z, -NiPoint3::UNIT_X, fRadius, fRadius, fRadius);
}

void SubsystemProperty::ShowInView(bool bShow, NiCamera* pkCamera, NiAVObject* pkNode)
{
    NiNode* pkSceneRoot = pkCamera ? NiDynamicCast<NiNode>(pkCamera->GetScene()) : nullptr;
    NiNode* pkDisplayNode = m_kDisplay.Show(bShow, pkSceneRoot, pkNode);
    if (!pkDisplayNode)
        return;
    std::array<NiPoint3, CROSS_VERTICES> kVertices;
    CrossVertices(kVertices.data(), m_kPosition, m_fRadius);
    std::array<NiColorA, CROSS_VERTICES> kColors;
    FiringArcGeometry::WhiteColors(kColors.data(), CROSS_VERTICES);
    SKDisplayLines::Show(pkDisplayNode, kVertices, kColors, SKDisplayLines::BLENDED_LINES);
}
