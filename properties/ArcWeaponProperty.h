#pragma once

#include "properties/EnergyWeaponProperty.h"
#include "properties/SKDisplayNode.h"
#include "properties/SKPropertyField.h"
#include "scene/graph/NiNode.h" // the display node's holder releases it inline
#include "scene/object/NiPoint3.h"

#include <cstdint>
#include <span>

// What the directed energy weapons (phaser, pulse weapon, tractor beam) share: the firing arc
// (how far the weapon swings sideways and up or down from its forward direction, in radians),
// the mount's orientation, and the firing-arc display in the 3D view. It adds no type id: each of
// the three classes is an energy weapon as far as types go.
//
// Right is always forward x up: SetOrientation, CopyFrom and every display build recompute it; a
// load keeps the stored value until then.
//
// The display, under the property's own display node (the subsystem's cross is not drawn): child
// 0 the axis lines from the position along forward (red), up (green) and right (blue); child 1
// the arc frame, four white spokes from the position to the corners of the arc, scaled to 0.33
// times the scene's bounding radius, and the loop through them; the phaser adds child 2, the
// white ellipse of its extent. Built on the first show, rewritten in place afterwards.
//
// Binary record: the energy-weapon record, then the display node reference (Long; always written
// as 0, see CheckLinks); each class then writes its field set, which begins with the arc width
// min and max, the arc height min and max, forward, up and right (Float each).
class ArcWeaponProperty : public EnergyWeaponProperty
{
public:
    bool SaveToStream(SKStream& kStream) const override;
    bool LoadFromStream(SKStream& kStream) override;
    // A saved display node names a node of the scene of the session that saved it, which no
    // load brings back: the reference is dropped, and the property builds its display anew when
    // it is next shown. It is never a broken link, so the load goes on.
    bool CheckLinks() override { return true; }
    void ResolveLinks() override { m_iLoadedDisplayNodeRef = 0; }
    // The energy weapon's copy, then right recomputed from the orientation the class copied.
    bool CopyFrom(const SKModelProperty* pkOther) override;
    // The display node protocol (SKDisplayNode) on the property's own node, then BuildArcDisplay
    // with the camera's scene root.
    void ShowInView(bool bShow, NiCamera* pkCamera, NiAVObject* pkNode) override;

    // Recomputes right, then builds the line sets under the display node, or rewrites the ones
    // there; a child that is missing or of another size is passed over.
    void BuildArcDisplay(NiNode* pkDisplayNode, const NiAVObject* pkSceneRoot);
    // Null until the property is first shown.
    NiNode* GetDisplayNode() const { return m_kDisplayNode.GetNode(); }

    // Stores both vectors unchanged and sets right := forward x up.
    void SetOrientation(const NiPoint3& kForward, const NiPoint3& kUp);
    NiPoint3 GetOrientationForward() const { return m_kForward; }
    NiPoint3 GetOrientationUp() const { return m_kUp; }
    NiPoint3 GetOrientationRight() const { return m_kRight; }

    void SetArcWidthAngles(float fMin, float fMax);
    void SetArcHeightAngles(float fMin, float fMax);
    // Either out pointer may be null.
    void GetArcWidthAngles(float* pfMin, float* pfMax) const;
    void GetArcHeightAngles(float* pfMin, float* pfMax) const;
    float GetArcWidthAngleMin() const { return m_fArcWidthMin; }
    float GetArcWidthAngleMax() const { return m_fArcWidthMax; }
    float GetArcHeightAngleMin() const { return m_fArcHeightMin; }
    float GetArcHeightAngleMax() const { return m_fArcHeightMax; }

    // The display node reference the last load read (0 once links are resolved).
    int32_t GetLoadedDisplayNodeRef() const { return m_iLoadedDisplayNodeRef; }

protected:
    explicit ArcWeaponProperty(int32_t iID) : EnergyWeaponProperty(iID) {}

    // The declarations of the arc and the orientation, which each class puts in its own field
    // set: record places 0 to 6 (the arc width min and max, the arc height min and max, forward,
    // up, right) after the display node reference this class writes; script places 0 and 1 (the
    // orientation: "<var>Forward = App.SKPoint3()", its SetXYZ, the same for Up, and
    // "<var>.SetOrientation(<var>Forward, <var>Up)") and 20 to 23 (SetArcWidthAngles(min, max),
    // SetArcHeightAngles(min, max)). Right has no line: it follows from the other two.
    static std::span<const SKPropertyField> ArcFields();

    // The lengths of the axis lines along forward, up and right: the subsystem radius for all
    // three, unless a class says otherwise.
    virtual void GetAxisLengths(float& fForward, float& fUp, float& fRight) const;
    // The semi-axes of the extent ellipse along right and forward; false when the class draws
    // none.
    virtual bool GetExtent(float&, float&) const { return false; }

private:
    void UpdateRight();

    // The arc defaults in single precision: pi times -0.625, 0.625, -0.03125 and 0.75.
    float m_fArcWidthMin = 3.1415927f * -0.625f;
    float m_fArcWidthMax = 3.1415927f * 0.625f;
    float m_fArcHeightMin = 3.1415927f * -0.03125f;
    float m_fArcHeightMax = 3.1415927f * 0.75f;
    NiPoint3 m_kForward{0.0f, 1.0f, 0.0f};
    NiPoint3 m_kUp{0.0f, 0.0f, 1.0f};
    NiPoint3 m_kRight{1.0f, 0.0f, 0.0f};
    int32_t m_iLoadedDisplayNodeRef = 0;
    SKDisplayNode m_kDisplayNode;
};
