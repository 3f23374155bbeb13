#pragma once

#include "properties/SKDisplayNode.h"
#include "properties/SKPropertyClass.h"
#include "properties/WeaponProperty.h"
#include "scene/graph/NiNode.h" // the display node's holder releases it inline
#include "scene/object/NiPoint3.h"

#include <cstdint>

// The weapon that launches torpedoes: the delay before a ready torpedo launches, the reload delay,
// how many torpedoes it holds ready, the launch direction and a right vector that fixes its roll
// (both stored as given). It fires unguided by default, with a damage radius factor of 0.6. The
// 3D view shows two arrows from the subsystem's position: red along the direction, 0.33 times the
// scene's bounding radius times the direction long, and green along the right vector, the
// subsystem radius times the right vector long. The arrows hang under the tube's own display
// node (the subsystem's cross is not drawn), built on the first show and moved in place after.
//
// Binary record: the weapon record, then direction x, y, z, right x, y, z, ImmediateDelay,
// ReloadDelay (Float each) and MaxReady (Long).
class TorpedoTubeProperty : public WeaponProperty
{
    SK_PROPERTY_FIELD_COPY(TorpedoTubeProperty, WeaponProperty)
    SK_PROPERTY_CLASS(TorpedoTubeProperty, WeaponProperty, 0x8134)

public:
    explicit TorpedoTubeProperty(int32_t iID = 0);

    bool SaveToStream(SKStream& kStream) const override;
    bool LoadFromStream(SKStream& kStream) override;

    void WriteInit(SKStream& kStream, const char* pcVariable) override;
    // The display node protocol (SKDisplayNode) on the tube's own node, then the arrows.
    void ShowInView(bool bShow, NiCamera* pkCamera, NiAVObject* pkNode) override;
    // Null until the tube is first shown.
    NiNode* GetDisplayNode() const { return m_kDisplayNode.GetNode(); }

    static constexpr uint16_t ARROW_VERTICES = 4;
    // P, P + s D, P, P + r Rt: the direction arrow at the given scale and the right arrow at the
    // subsystem radius.
    void ArrowVertices(NiPoint3* pkVertices, float fScale) const;

    NiPoint3 GetDirection() const { return m_kDirection; }
    void SetDirection(const NiPoint3& kDirection) { m_kDirection = kDirection; }
    NiPoint3 GetRight() const { return m_kRight; }
    void SetRight(const NiPoint3& kRight) { m_kRight = kRight; }
    float GetImmediateDelay() const { return m_fImmediateDelay; }
    void SetImmediateDelay(float fValue) { m_fImmediateDelay = fValue; }
    float GetReloadDelay() const { return m_fReloadDelay; }
    void SetReloadDelay(float fValue) { m_fReloadDelay = fValue; }
    int32_t GetMaxReady() const { return m_iMaxReady; }
    void SetMaxReady(int32_t iValue) { m_iMaxReady = iValue; }

private:
    NiPoint3 m_kDirection{0.0f, 1.0f, 0.0f};
    NiPoint3 m_kRight{1.0f, 0.0f, 0.0f};
    float m_fImmediateDelay = 0.25f;
    float m_fReloadDelay = 5.0f;
    int32_t m_iMaxReady = 3;
    SKDisplayNode m_kDisplayNode;
};
