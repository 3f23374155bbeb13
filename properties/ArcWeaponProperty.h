#pragma once

#include "properties/EnergyWeaponProperty.h"
#include "scene/object/NiPoint3.h"

#include <cstdint>

class SKScriptWriter;

// What the directed energy weapons (phaser, pulse weapon, tractor beam) share: the firing arc
// (how far the weapon swings sideways and up or down from its forward direction, in radians),
// the mount's orientation, and the firing-arc display in the 3D view. It adds no type id: each of
// the three classes is an energy weapon as far as types go.
//
// Right is always forward x up: SetOrientation, CopyFrom and every display build recompute it; a
// load keeps the stored value until then.
//
// Binary record: the energy-weapon record, then the display node reference (Long; always written
// as 0, see CheckLinks), the arc width min and max, the arc height min and max, forward, up and
// right (Float each). Each class appends its own fields.
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
    // Copies orientation (right recomputed) and arcs.
    bool CopyFrom(const SKModelProperty* pkOther) override;

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

    // "<var>Forward = App.SKPoint3()", its SetXYZ, the same for Up, and
    // "<var>.SetOrientation(<var>Forward, <var>Up)".
    void WriteOrientationLines(SKScriptWriter& kWriter, const char* pcVariable) const;
    // "<var>.SetArcWidthAngles(min, max)" and "<var>.SetArcHeightAngles(min, max)".
    void WriteArcLines(SKScriptWriter& kWriter, const char* pcVariable) const;

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
};
