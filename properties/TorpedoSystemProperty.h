#pragma once

#include "properties/SKPropertyClass.h"
#include "properties/TorpedoAmmoType.h"
#include "properties/WeaponSystemProperty.h"

#include <cstdint>

// The weapon system of the torpedo tubes: four ammunition types (records that always exist, used
// or not) and the number of them in use. Its weapon system type starts as WST_TORPEDO.
//
// An index outside 0 to 3 names no record: GetAmmoType answers null, the getters answer the empty
// values (0, null) and the setters do nothing.
//
// Binary record: the weapon-system record, then NumAmmoTypes (Long) and the four ammo records.
// Script lines: for each index below the number in use (at most four), the maximum and, when the
// record names a module, the script; then the number in use, unchanged.
class TorpedoSystemProperty : public WeaponSystemProperty
{
    SK_PROPERTY_CLASS(TorpedoSystemProperty, WeaponSystemProperty, 0x8133)
    // The number in use is declared; the ammo records are written by hand.
    SK_PROPERTY_FIELD_SET(TorpedoSystemProperty)

public:
    static constexpr int32_t MAX_AMMO_TYPES = 4;

    explicit TorpedoSystemProperty(int32_t iID = 0);

    bool SaveToStream(SKStream& kStream) const override;
    bool LoadFromStream(SKStream& kStream) override;

    void WriteInit(SKStream& kStream, const char* pcVariable) override;
    // Sets each record's maximum and script from the other's, so each named module is asked
    // again for speed and sound.
    bool CopyFrom(const SKModelProperty* pkOther) override;
    bool HasEqualFields(const SKModelProperty& kOther) const override;

    static bool IsValidIndex(int32_t iIndex) { return iIndex >= 0 && iIndex < MAX_AMMO_TYPES; }
    TorpedoAmmoType* GetAmmoType(int32_t iIndex)
    {
        return IsValidIndex(iIndex) ? &m_akAmmo[iIndex] : nullptr;
    }
    const TorpedoAmmoType* GetAmmoType(int32_t iIndex) const
    {
        return IsValidIndex(iIndex) ? &m_akAmmo[iIndex] : nullptr;
    }
    int32_t GetMaxTorpedoes(int32_t iIndex) const;
    void SetMaxTorpedoes(int32_t iIndex, int32_t iCount);
    const char* GetTorpedoScript(int32_t iIndex) const;
    void SetTorpedoScript(int32_t iIndex, const char* pcModule);
    int32_t GetNumAmmoTypes() const { return m_iNumAmmoTypes; }
    void SetNumAmmoTypes(int32_t iCount) { m_iNumAmmoTypes = iCount; }

private:
    TorpedoAmmoType m_akAmmo[MAX_AMMO_TYPES];
    int32_t m_iNumAmmoTypes = 1;
};
