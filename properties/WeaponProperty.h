#pragma once

#include "properties/SKPropertyClass.h"
#include "properties/SubsystemProperty.h"

#include <cstdint>

// A subsystem that fires: whether it fires unguided, its weapon id, the firing groups it belongs
// to, how far its damage spreads, and its icon with the icon's place. The base of the torpedo tube
// and of the energy weapons. It has no factory, so a duplicate of a plain weapon is null. It shows
// the subsystem's cross.
//
// Binary record: the subsystem record, then Dumbfire (Bool), WeaponID (Long), Groups (Long),
// DamageRadiusFactor (Float), IconNum (Int), IconPositionX, IconPositionY (Float), IconAboveShip
// (Bool).
class WeaponProperty : public SubsystemProperty
{
    SK_PROPERTY_CLASS(WeaponProperty, SubsystemProperty, 0x8130)
    SK_PROPERTY_FIELDS(WeaponProperty, SubsystemProperty)

public:
    explicit WeaponProperty(int32_t iID = 0) : SubsystemProperty(iID) {}

    bool IsDumbfire() const { return m_bDumbfire; }
    void SetDumbfire(bool bValue) { m_bDumbfire = bValue; }
    int32_t GetWeaponID() const { return m_iWeaponID; }
    void SetWeaponID(int32_t iValue) { m_iWeaponID = iValue; }
    // Bit n of the mask stands for group n + 1.
    int32_t GetGroups() const { return m_iGroups; }
    void SetGroups(int32_t iValue) { m_iGroups = iValue; }
    // Every weapon is in group 0; group g above tests bit (g - 1) & 31, so group 33 is group 1.
    bool IsMemberOfGroup(int32_t iGroup) const;
    float GetDamageRadiusFactor() const { return m_fDamageRadiusFactor; }
    void SetDamageRadiusFactor(float fValue) { m_fDamageRadiusFactor = fValue; }
    int32_t GetIconNum() const { return m_iIconNum; }
    void SetIconNum(int32_t iValue) { m_iIconNum = iValue; }
    float GetIconPositionX() const { return m_fIconPositionX; }
    void SetIconPositionX(float fValue) { m_fIconPositionX = fValue; }
    float GetIconPositionY() const { return m_fIconPositionY; }
    void SetIconPositionY(float fValue) { m_fIconPositionY = fValue; }
    bool IsIconAboveShip() const { return m_bIconAboveShip; }
    void SetIconAboveShip(bool bValue) { m_bIconAboveShip = bValue; }

private:
    bool m_bDumbfire = false;
    int32_t m_iWeaponID = 0;
    int32_t m_iGroups = 0;
    float m_fDamageRadiusFactor = 0.3f;
    int32_t m_iIconNum = 0;
    float m_fIconPositionX = 0.0f;
    float m_fIconPositionY = 0.0f;
    bool m_bIconAboveShip = true;
};
