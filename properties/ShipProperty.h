#pragma once

#include "properties/SKModelProperty.h"

#include <cstdint>
#include <optional>
#include <string>

// The ship (or station, asteroid, other object) as a whole: its genus and species, mass and
// rotational inertia, the name the game shows, the model file it is drawn from, its damage
// resolution, affiliation, whether it is stationary, its AI script and its death explosion sound.
// It has no display geometry.
//
// The four texts are owned copies; the ship name and the model file name start as none, the AI
// string and the death explosion sound as empty texts.
//
// Binary record: the base record, then genus, species (Long), mass, rotational inertia (Float),
// ship name, model file name (counted strings; length 0 for none), damage resolution (Float),
// affiliation (Long), stationary (Bool), AI string, death explosion sound (counted strings).
class ShipProperty : public SKModelProperty
{
public:
    static constexpr int32_t TYPE_ID = 0x812e;

    explicit ShipProperty(int32_t iID = 0);

    static ShipProperty* Cast(SKObject* pkObject)
    {
        return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<ShipProperty*>(pkObject) : nullptr;
    }
    static ShipProperty* Create(const char* pcName);
    static SKObject* Factory(int32_t iID) { return new ShipProperty(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override
    {
        return iType == TYPE_ID || SKModelProperty::IsTypeOf(iType);
    }
    bool SaveToStream(SKStream& kStream) const override;
    bool LoadFromStream(SKStream& kStream) override;
    const char* GetObjTypeName() const override { return "ShipProperty"; }
    const char* GetPointerTypeName() const override { return "_p_ShipProperty"; }
    const char* GetShadowClassName() const override { return "ShipPropertyPtr"; }

    // Eleven lines; a text that is none is written as an empty text.
    void WriteInit(SKStream& kStream, const char* pcVariable) override;
    bool CopyFrom(const SKModelProperty* pkOther) override;

    int32_t GetGenus() const { return m_iGenus; }
    void SetGenus(int32_t iGenus) { m_iGenus = iGenus; }
    int32_t GetSpecies() const { return m_iSpecies; }
    void SetSpecies(int32_t iSpecies) { m_iSpecies = iSpecies; }
    float GetMass() const { return m_fMass; }
    void SetMass(float fMass) { m_fMass = fMass; }
    float GetRotationalInertia() const { return m_fRotationalInertia; }
    void SetRotationalInertia(float fInertia) { m_fRotationalInertia = fInertia; }
    float GetDamageResolution() const { return m_fDamageResolution; }
    void SetDamageResolution(float fResolution) { m_fDamageResolution = fResolution; }
    int32_t GetAffiliation() const { return m_iAffiliation; }
    void SetAffiliation(int32_t iAffiliation) { m_iAffiliation = iAffiliation; }
    bool IsStationary() const { return m_bStationary; }
    void SetStationary(bool bStationary) { m_bStationary = bStationary; }

    // The stored texts, or null when none is set; valid until the next change.
    const char* GetShipName() const { return Get(m_kShipName); }
    const char* GetModelFilename() const { return Get(m_kModelFilename); }
    const char* GetAIString() const { return Get(m_kAIString); }
    const char* GetDeathExplosionSound() const { return Get(m_kDeathExplosionSound); }
    // Each stores a copy (null clears); the stored text itself may be passed.
    void SetShipName(const char* pcText) { Set(m_kShipName, pcText); }
    void SetModelFilename(const char* pcText) { Set(m_kModelFilename, pcText); }
    void SetAIString(const char* pcText) { Set(m_kAIString, pcText); }
    void SetDeathExplosionSound(const char* pcText) { Set(m_kDeathExplosionSound, pcText); }

private:
    using Text = std::optional<std::string>;
    static const char* Get(const Text& kText) { return kText ? kText->c_str() : nullptr; }
    static void Set(Text& kText, const char* pcText);

    int32_t m_iGenus = 0;
    int32_t m_iSpecies = 0;
    float m_fMass = 1.0f;
    float m_fRotationalInertia = 1.0f;
    Text m_kShipName;
    Text m_kModelFilename;
    float m_fDamageResolution = 15.0f;
    int32_t m_iAffiliation = 0;
    bool m_bStationary = false;
    Text m_kAIString{std::string()};
    Text m_kDeathExplosionSound{std::string()};
};
