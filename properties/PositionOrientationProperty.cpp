#include "properties/PositionOrientationProperty.h"

#include "properties/FiringArcGeometry.h"
#include "properties/SKDisplayLines.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiNode.h"

#include <array>

PositionOrientationProperty::PositionOrientationProperty(int32_t iID) : SKModelProperty(iID) {}

PositionOrientationProperty::~PositionOrientationProperty() = default;

const SKFieldSet& PositionOrientationProperty::GetFieldSet()
{
    using F = SKPropertyField;
    static const F FIELDS[] = {
        F::Member<&PositionOrientationProperty::m_kForward>("Forward").Record(0).Script(
            0, "SetOrientation", F::VARIABLE, "Forward"),
        F::Member<&PositionOrientationProperty::m_kPosition>("Position")
            .Record(3)
            .Script(3, "SetPosition", F::VARIABLE, "Position"),
        F::Member<&PositionOrientationProperty::m_kRight>("Right").Record(2).Script(2, "SetOrientation",
                                                                                    F::VARIABLE, "Right"),
        F::Member<&PositionOrientationProperty::m_kUp>("Up").Record(1).Script(1, "SetOrientation",
                                                                              F::VARIABLE, "Up"),
    };
    static const SKFieldSet s_kSet({FIELDS});
    return s_kSet;
}

void PositionOrientationProperty::SetOrientation(const NiPoint3& kForward, const NiPoint3& kUp,
                                                 const NiPoint3& kRight)
{
    m_kForward = kForward;
    m_kUp = kUp;
    m_kRight = kRight;
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
