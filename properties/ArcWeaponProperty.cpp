#include "properties/ArcWeaponProperty.h"

#include "core/SKStream.h"
#include "properties/FiringArcGeometry.h"
#include "properties/SKDisplayLines.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"
#include "scene/graph/NiNode.h"

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
    // A record loaded into a shown property replaces what it showed: the old display goes with
    // it rather than staying behind in the scene.
    m_kDisplayNode.Reset();
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

void ArcWeaponProperty::GetAxisLengths(float& fForward, float& fUp, float& fRight) const
{
    fForward = fUp = fRight = GetRadius();
}

void ArcWeaponProperty::ShowInView(bool bShow, NiCamera* pkCamera, NiAVObject* pkNode)
{
    NiNode* pkSceneRoot = SKDisplayLines::GetSceneRoot(pkCamera);
    if (NiNode* pkDisplayNode = m_kDisplayNode.Show(bShow, pkSceneRoot, pkNode))
        BuildArcDisplay(pkDisplayNode, pkSceneRoot);
}

void ArcWeaponProperty::BuildArcDisplay(NiNode* pkDisplayNode, const NiAVObject* pkSceneRoot)
{
    const float fScale = SKDisplayLines::SceneScale(pkSceneRoot);
    UpdateRight();
    const NiPoint3 kPosition = GetPosition();

    float fForward = 0.0f;
    float fUp = 0.0f;
    float fRight = 0.0f;
    GetAxisLengths(fForward, fUp, fRight);
    NiPoint3 akAxes[FiringArcGeometry::AXIS_VERTICES];
    FiringArcGeometry::AxisLines(akAxes, kPosition, m_kForward, m_kUp, m_kRight, fForward, fUp, fRight);
    NiPoint3 akFrame[FiringArcGeometry::FRAME_VERTICES];
    FiringArcGeometry::ArcFrame(akFrame, kPosition, m_kForward, m_kUp, m_kRight, fScale, m_fArcWidthMin,
                                m_fArcWidthMax, m_fArcHeightMin, m_fArcHeightMax);
    float fWidth = 0.0f;
    float fLength = 0.0f;
    const bool bEllipse = GetExtent(fWidth, fLength);
    NiPoint3 akEllipse[FiringArcGeometry::ELLIPSE_VERTICES];
    if (bEllipse)
        FiringArcGeometry::ExtentEllipse(akEllipse, kPosition, m_kForward, m_kRight, fWidth, fLength);

    if (pkDisplayNode->GetChildCount() != 0)
    {
        // Every redraw of a selected property comes here: the arrays are rewritten, nothing is made.
        SKDisplayLines::Rewrite(pkDisplayNode, 0, FiringArcGeometry::AXIS_VERTICES, akAxes);
        SKDisplayLines::Rewrite(pkDisplayNode, 1, FiringArcGeometry::FRAME_VERTICES, akFrame);
        if (bEllipse)
            SKDisplayLines::Rewrite(pkDisplayNode, 2, FiringArcGeometry::ELLIPSE_VERTICES, akEllipse);
        pkDisplayNode->UpdateSubtree(0.0f);
        return;
    }

    SKDisplayLines::AddRenderState(pkDisplayNode);
    NiColorA akColors[FiringArcGeometry::ELLIPSE_VERTICES];
    uint8_t aucFlags[FiringArcGeometry::ELLIPSE_VERTICES];
    FiringArcGeometry::AxisColors(akColors);
    FiringArcGeometry::AxisFlags(aucFlags);
    SKDisplayLines::Attach(pkDisplayNode, FiringArcGeometry::AXIS_VERTICES, akAxes, akColors, aucFlags);
    FiringArcGeometry::WhiteColors(akColors, FiringArcGeometry::FRAME_VERTICES);
    FiringArcGeometry::FrameFlags(aucFlags);
    SKDisplayLines::Attach(pkDisplayNode, FiringArcGeometry::FRAME_VERTICES, akFrame, akColors, aucFlags);
    if (bEllipse)
    {
        FiringArcGeometry::WhiteColors(akColors, FiringArcGeometry::ELLIPSE_VERTICES);
        FiringArcGeometry::EllipseFlags(aucFlags);
        SKDisplayLines::Attach(pkDisplayNode, FiringArcGeometry::ELLIPSE_VERTICES, akEllipse, akColors,
                               aucFlags);
    }
    pkDisplayNode->UpdateSubtree(0.0f);
    pkDisplayNode->RefreshPropertyStates();
}
