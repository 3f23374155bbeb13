#include "properties/SubsystemProperty.h"

#include "properties/FiringArcGeometry.h"
#include "properties/SKDisplayLines.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiNode.h"

#include <array>

SubsystemProperty::SubsystemProperty(int32_t iID) : SKModelProperty(iID) {}

SubsystemProperty::~SubsystemProperty() = default;

const SKFieldSet& SubsystemProperty::GetFieldSet()
{
    using F = SKPropertyField;
    static const F FIELDS[] = {
        F::Member<&SubsystemProperty::m_fMaxCondition>("MaxCondition").Record(0).Script(0, "SetMaxCondition"),
        F::Member<&SubsystemProperty::m_bCritical>("Critical").Record(1).Script(1, "SetCritical"),
        F::Member<&SubsystemProperty::m_bTargetable>("Targetable").Record(2).Script(2, "SetTargetable"),
        F::Member<&SubsystemProperty::m_bPrimary>("Primary").Record(3).Script(3, "SetPrimary"),
        F::Member<&SubsystemProperty::m_kPosition>("Position").Record(4).Script(4, "SetPosition"),
        F::Member<&SubsystemProperty::m_fPosition2DX>("Position2DX")
            .Record(5)
            .Script(5, "SetPosition2D")
            .ScriptGetter("GetPosition2D"),
        F::Member<&SubsystemProperty::m_fPosition2DY>("Position2DY")
            .Record(6)
            .Script(6, "SetPosition2D")
            .ScriptGetter("GetPosition2D"),
        F::Member<&SubsystemProperty::m_fRepairComplexity>("RepairComplexity")
            .Record(7)
            .Script(7, "SetRepairComplexity"),
        // The page shows the fraction as stored, whatever its label says.
        F::Member<&SubsystemProperty::m_fDisabledPercentage>("DisabledPercentage")
            .Record(8)
            .Script(8, "SetDisabledPercentage"),
        F::Member<&SubsystemProperty::m_fRadius>("Radius").Record(9).Script(9, "SetRadius"),
    };
    static const SKFieldSet s_kSet({FIELDS});
    return s_kSet;
}

void SubsystemProperty::GetPosition2D(float* pfX, float* pfY) const
{
    if (pfX)
        *pfX = m_fPosition2DX;
    if (pfY)
        *pfY = m_fPosition2DY;
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
