#pragma once

#include "core/SKPoint3.h"
#include "properties/SKDisplayNode.h"
#include "properties/SKModelProperty.h"
#include "properties/SKPropertyClass.h"
#include "scene/object/NiPoint3.h"

#include <cstdint>

// One ship subsystem placed on a node of the model: its maximum condition, whether it is critical,
// targetable and primary, its position in the model and on the 2D overlay, its repair complexity,
// the fraction of its condition at which it counts as disabled, and its radius. The base of every
// subsystem, weapon and weapon-system property. The 3D view draws it as a white three-axis cross at
// its position with arms as long as its radius.
//
// Binary record: the base record, then MaxCondition (Float), Critical, Targetable, Primary (Bool
// each), Position x, y, z, Position2D x, y, RepairComplexity, DisabledPercentage, Radius (Float each).
class SubsystemProperty : public SKModelProperty
{
    SK_PROPERTY_CLASS(SubsystemProperty, SKModelProperty, 0x812b)
    SK_PROPERTY_FIELDS(SubsystemProperty, SKModelProperty)

public:
    explicit SubsystemProperty(int32_t iID = 0);
    ~SubsystemProperty() override;

    // The white cross at Position with arms of Radius; a later show moves it to the current
    // values.
    void ShowInView(bool bShow, NiCamera* pkCamera, NiAVObject* pkNode) override;

    float GetMaxCondition() const { return m_fMaxCondition; }
    void SetMaxCondition(float fValue) { m_fMaxCondition = fValue; }
    bool IsCritical() const { return m_bCritical; }
    void SetCritical(bool bValue) { m_bCritical = bValue; }
    bool IsTargetable() const { return m_bTargetable; }
    void SetTargetable(bool bValue) { m_bTargetable = bValue; }
    bool IsPrimary() const { return m_bPrimary; }
    void SetPrimary(bool bValue) { m_bPrimary = bValue; }
    NiPoint3 GetPosition() const { return m_kPosition; }
    SKPoint3 GetPositionSK() const { return SKPoint3(m_kPosition); }
    void SetPosition(float fX, float fY, float fZ) { m_kPosition = NiPoint3(fX, fY, fZ); }
    // Either out pointer may be null.
    void GetPosition2D(float* pfX, float* pfY) const;
    void SetPosition2D(float fX, float fY)
    {
        m_fPosition2DX = fX;
        m_fPosition2DY = fY;
    }
    float GetRepairComplexity() const { return m_fRepairComplexity; }
    void SetRepairComplexity(float fValue) { m_fRepairComplexity = fValue; }
    float GetDisabledPercentage() const { return m_fDisabledPercentage; }
    void SetDisabledPercentage(float fValue) { m_fDisabledPercentage = fValue; }
    float GetRadius() const { return m_fRadius; }
    void SetRadius(float fValue) { m_fRadius = fValue; }

    // The display cross: P + r y, P + r z, P + r x, then the same towards -y, -z, -x, each after
    // its own P, so that joining every even vertex to the next draws the six arms.
    static constexpr uint16_t CROSS_VERTICES = 12;
    static void CrossVertices(NiPoint3* pkVertices, const NiPoint3& kPosition, float fRadius);

    // The node the cross hangs under; null until first shown.
    NiNode* GetDisplayNode() const { return m_kDisplay.GetNode(); }

private:
    SKDisplayNode m_kDisplay;
    float m_fMaxCondition = 200.0f;
    bool m_bCritical = false;
    bool m_bTargetable = true;
    bool m_bPrimary = true;
    NiPoint3 m_kPosition{0.0f, 0.0f, 0.0f};
    float m_fPosition2DX = 0.0f;
    float m_fPosition2DY = 0.0f;
    float m_fRepairComplexity = 1.0f;
    float m_fDisabledPercentage = 0.5f;
    float m_fRadius = 0.25f;
};
