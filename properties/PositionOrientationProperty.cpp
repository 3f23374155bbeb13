#include "properties/PositionOrientationProperty.h"

#include "core/SKStream.h"
#include "properties/FiringArcGeometry.h"
#include "properties/SKDisplayLines.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiNode.h"

#include <array>

namespace
{
void SavePoint(SKStream& kStream, const NiPoint3& kPoint)
{
    kStream.WriteFloat(kPoint.x);
    kStream.WriteFloat(kPoint.y);
    kStream.WriteFloat(kPoint.z);
}

NiPoint3 LoadPoint(SKStream& kStream)
{
    NiPoint3 kPoint;
    kPoint.x = kStream.ReadFloat();
    kPoint.y = kStream.ReadFloat();
    kPoint.z = kStream.ReadFloat();
    return kPoint;
}
} // namespace

PositionOrientationProperty::PositionOrientationProperty(int32_t iID) : SKModelProperty(iID) {}

PositionOrientationProperty::~PositionOrientationProperty() = default;

PositionOrientationProperty* PositionOrientationProperty::Create(const char* pcName)
{
    auto* pkProperty = new PositionOrientationProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}

void PositionOrientationProperty::SetOrientation(const NiPoint3& kForward, const NiPoint3& kUp,
                                                 const NiPoint3& kRight)
{
    m_kForward = kForward;
    m_kUp = kUp;
    m_kRight = kRight;
}

bool PositionOrientationProperty::SaveToStream(SKStream& kStream) const
{
    if (!SKModelProperty::SaveToStream(kStream))
        return false;
    SavePoint(kStream, m_kForward);
    SavePoint(kStream, m_kUp);
    SavePoint(kStream, m_kRight);
    SavePoint(kStream, m_kPosition);
    return true;
}

bool PositionOrientationProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!SKModelProperty::LoadFromStream(kStream))
        return false;
    m_kForward = LoadPoint(kStream);
    m_kUp = LoadPoint(kStream);
    m_kRight = LoadPoint(kStream);
    m_kPosition = LoadPoint(kStream);
    return !kCheck.Failed();
}

void PositionOrientationProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    SKModelProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter kWriter(kStream);
    kWriter.Point3(pcVariable, "Forward", m_kForward);
    kWriter.Point3(pcVariable, "Up", m_kUp);
    kWriter.Point3(pcVariable, "Right", m_kRight);
    kWriter.Line(pcVariable, ".SetOrientation(", pcVariable, "Forward, ", pcVariable, "Up, ", pcVariable,
                 "Right)");
    kWriter.Point3(pcVariable, "Position", m_kPosition);
    kWriter.Line(pcVariable, ".SetPosition(", pcVariable, "Position)");
}

bool PositionOrientationProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const PositionOrientationProperty*>(pkOther);
    if (!pkSource || !SKModelProperty::CopyFrom(pkOther))
        return false;
    SetOrientation(pkSource->GetForward(), pkSource->GetUp(), pkSource->GetRight());
    SetPosition(pkSource->GetPosition());
    return true;
}

void PositionOrientationProperty::ShowInView(bool bShow, NiCamera* pkCamera, NiAVObject* pkNode)
{
    NiNode* pkSceneRoot = pkCamera ? NiDynamicCast<NiNode>(pkCamera->GetScene()) : nullptr;
    NiNode* pkDisplayNode = m_kDisplay.Show(bShow, pkSceneRoot, pkNode);
    if (!pkDisplayNode)
        return;
    // A third of the model's size as last updated.
    const float fLength = FiringArcGeometry::SCENE_SCALE * pkSceneRoot->GetWorldBound().m_fRadius;
    std::array<NiPoint3, FiringArcGeometry::AXIS_VERTICES> kVertices;
    FiringArcGeometry::AxisLines(kVertices.data(), m_kPosition, m_kForward, m_kUp, m_kRight, fLength, fLength,
                                 fLength);
    std::array<NiColorA, FiringArcGeometry::AXIS_VERTICES> kColors;
    FiringArcGeometry::AxisColors(kColors.data());
    SKDisplayLines::Show(pkDisplayNode, kVertices, kColors, SKDisplayLines::OPAQUE_LINES);
}
