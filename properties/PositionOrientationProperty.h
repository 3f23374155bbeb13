#pragma once

#include "properties/SKDisplayNode.h"
#include "properties/SKModelProperty.h"
#include "properties/SKPropertyClass.h"
#include "scene/object/NiPoint3.h"

#include <cstdint>

// A point of the model with a local frame: a position and three axes (forward, up, right), in model
// coordinates, stored as given (nothing normalises them). The base of the effect emitters and of the
// object emitter. The 3D view draws it as three coloured lines from the position (forward red, up
// green, right blue), a third of the model's size long.
//
// Binary record: the base record, then twelve floats: forward, up, right, position (x, y, z each).
class PositionOrientationProperty : public SKModelProperty
{
    SK_PROPERTY_CLASS(PositionOrientationProperty, SKModelProperty, 0x812d)
    SK_PROPERTY_FIELDS(PositionOrientationProperty, SKModelProperty)

public:
    explicit PositionOrientationProperty(int32_t iID = 0);
    ~PositionOrientationProperty() override;

    // The axis lines, a third of the scene root's world radius long; a later show moves them to
    // the current frame and model size.
    void ShowInView(bool bShow, NiCamera* pkCamera, NiAVObject* pkNode) override;

    void SetOrientation(const NiPoint3& kForward, const NiPoint3& kUp, const NiPoint3& kRight);
    void SetPosition(float fX, float fY, float fZ) { m_kPosition = NiPoint3(fX, fY, fZ); }
    void SetPosition(const NiPoint3& kPosition) { m_kPosition = kPosition; }
    NiPoint3 GetForward() const { return m_kForward; }
    NiPoint3 GetUp() const { return m_kUp; }
    NiPoint3 GetRight() const { return m_kRight; }
    NiPoint3 GetPosition() const { return m_kPosition; }

    // The node the axis lines hang under; null until first shown.
    NiNode* GetDisplayNode() const { return m_kDisplay.GetNode(); }

private:
    SKDisplayNode m_kDisplay;
    NiPoint3 m_kForward{0.0f, 1.0f, 0.0f};
    NiPoint3 m_kUp{0.0f, 0.0f, 1.0f};
    NiPoint3 m_kRight{1.0f, 0.0f, 0.0f};
    NiPoint3 m_kPosition{0.0f, 0.0f, 0.0f};
};
