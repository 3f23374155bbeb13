#include "properties/ArcWeaponProperty.h"

#include "core/SKStream.h"
#include "properties/FiringArcGeometry.h"
#include "properties/SKDisplayLines.h"
#include "properties/SKReadCheck.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiNode.h"

#include <array>
#include <span>

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

std::span<const SKPropertyField> ArcWeaponProperty::ArcFields()
{
    using F = SKPropertyField;
    static const F FIELDS[] = {
        F::Member<&ArcWeaponProperty::m_kForward>("Forward")
            .Record(4)
            .Script(0, "SetOrientation", F::VARIABLE, "Forward")
            .ScriptGetter("GetOrientationForward"),
        F::Member<&ArcWeaponProperty::m_kUp>("Up")
            .Record(5)
            .Script(1, "SetOrientation", F::VARIABLE, "Up")
            .ScriptGetter("GetOrientationUp"),
        // Shown on the pages, never written from them.
        F::Member<&ArcWeaponProperty::m_kRight>("Right").Record(6).ScriptGetter(nullptr),
        F::Member<&ArcWeaponProperty::m_fArcWidthMax>("ArcWidthAngleMax")
            .Record(1)
            .Script(21, "SetArcWidthAngles")
            .Page(F::DEGREES),
        F::Member<&ArcWeaponProperty::m_fArcWidthMin>("ArcWidthAngleMin")
            .Record(0)
            .Script(20, "SetArcWidthAngles")
            .Page(F::DEGREES),
        F::Member<&ArcWeaponProperty::m_fArcHeightMin>("ArcHeightAngleMin")
            .Record(2)
            .Script(22, "SetArcHeightAngles")
            .Page(F::DEGREES),
        F::Member<&ArcWeaponProperty::m_fArcHeightMax>("ArcHeightAngleMax")
            .Record(3)
            .Script(23, "SetArcHeightAngles")
            .Page(F::DEGREES),
    };
    return FIELDS;
}

bool ArcWeaponProperty::SaveToStream(SKStream& kStream) const
{
    if (!EnergyWeaponProperty::SaveToStream(kStream))
        return false;
    // No saved node is ever found again (see CheckLinks): 0 says "none".
    kStream.WriteObjectRef(0);
    return true;
}

bool ArcWeaponProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!EnergyWeaponProperty::LoadFromStream(kStream))
        return false;
    const int32_t iDisplayNodeRef = kStream.ReadObjectRef();
    if (kCheck.Failed())
        return false;
    // A record loaded into a shown property replaces what it showed: the old display goes with
    // it rather than staying behind in the scene.
    m_kDisplayNode.Reset();
    m_iLoadedDisplayNodeRef = iDisplayNodeRef;
    return true;
}

bool ArcWeaponProperty::CopyFrom(const SKModelProperty* pkOther)
{
    if (!EnergyWeaponProperty::CopyFrom(pkOther))
        return false;
    UpdateRight();
    return true;
}

void ArcWeaponProperty::GetAxisLengths(float& fForward, float& fUp, float& fRight) const
{
    fForward = fUp = fRight = GetRadius();
}

void ArcWeaponProperty::ShowInView(bool bShow, NiCamera* pkCamera, NiAVObject* pkNode)
{
    NiNode* pkSceneRoot = pkCamera ? NiDynamicCast<NiNode>(pkCamera->GetScene()) : nullptr;
    if (NiNode* pkDisplayNode = m_kDisplayNode.Show(bShow, pkSceneRoot, pkNode))
        BuildArcDisplay(pkDisplayNode, pkSceneRoot);
}

void ArcWeaponProperty::BuildArcDisplay(NiNode* pkDisplayNode, const NiAVObject* pkSceneRoot)
{
    // A third of the model's size as last updated.
    const float fScale =
        pkSceneRoot ? FiringArcGeometry::SCENE_SCALE * pkSceneRoot->GetWorldBound().m_fRadius : 0.0f;
    UpdateRight();
    const NiPoint3 kPosition = GetPosition();

    // Everything on the stack: a redraw allocates nothing.
    float fForward = 0.0f;
    float fUp = 0.0f;
    float fRight = 0.0f;
    GetAxisLengths(fForward, fUp, fRight);
    std::array<NiPoint3, FiringArcGeometry::AXIS_VERTICES> kAxes;
    FiringArcGeometry::AxisLines(kAxes.data(), kPosition, m_kForward, m_kUp, m_kRight, fForward, fUp, fRight);
    std::array<NiColorA, FiringArcGeometry::AXIS_VERTICES> kAxisColors;
    FiringArcGeometry::AxisColors(kAxisColors.data());
    std::array<uint8_t, FiringArcGeometry::AXIS_VERTICES> kAxisFlags;
    FiringArcGeometry::AxisFlags(kAxisFlags.data());

    std::array<NiPoint3, FiringArcGeometry::FRAME_VERTICES> kFrame;
    FiringArcGeometry::ArcFrame(kFrame.data(), kPosition, m_kForward, m_kUp, m_kRight, fScale, m_fArcWidthMin,
                                m_fArcWidthMax, m_fArcHeightMin, m_fArcHeightMax);
    std::array<uint8_t, FiringArcGeometry::FRAME_VERTICES> kFrameFlags;
    FiringArcGeometry::FrameFlags(kFrameFlags.data());

    // White for the frame and the ellipse alike.
    std::array<NiColorA, FiringArcGeometry::ELLIPSE_VERTICES> kWhite;
    FiringArcGeometry::WhiteColors(kWhite.data(), FiringArcGeometry::ELLIPSE_VERTICES);
    std::array<NiPoint3, FiringArcGeometry::ELLIPSE_VERTICES> kEllipse;
    std::array<uint8_t, FiringArcGeometry::ELLIPSE_VERTICES> kEllipseFlags;
    float fWidth = 0.0f;
    float fLength = 0.0f;
    const bool bEllipse = GetExtent(fWidth, fLength);
    if (bEllipse)
    {
        FiringArcGeometry::ExtentEllipse(kEllipse.data(), kPosition, m_kForward, m_kRight, fWidth, fLength);
        FiringArcGeometry::EllipseFlags(kEllipseFlags.data());
    }

    const SKDisplayLines::Part akParts[] = {
        {kAxes, kAxisColors, kAxisFlags},
        {kFrame, std::span<const NiColorA>(kWhite.data(), FiringArcGeometry::FRAME_VERTICES), kFrameFlags},
        {kEllipse, kWhite, kEllipseFlags},
    };
    SKDisplayLines::Show(pkDisplayNode, std::span<const SKDisplayLines::Part>(akParts, bEllipse ? 3 : 2),
                         SKDisplayLines::BLENDED_LINES);
}
