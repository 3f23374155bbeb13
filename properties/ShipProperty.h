#pragma once

#include "properties/SKModelProperty.h"
#include "properties/SKPropertyClass.h"

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
// affiliation (Long), stationary (Bool), AI string, death explosion sound (counted strings). Script
// text: eleven lines in the same order; a text that is none is written as an empty text.
class ShipProperty : public SKModelProperty
{
    SK_PROPERTY_CLASS(ShipProperty, SKModelProperty, 0x812e)
    SK_PROPERTY_FIELDS(ShipProperty, SKModelProperty)

public:
    explicit ShipProperty(int32_t iID = 0);

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
    const char* GetShipName() const { return SKPropertyField::TextOf(m_kShipName); }
    const char* GetModelFilename() const { return SKPropertyField::TextOf(m_kModelFilename); }
    const char* GetAIString() const { return SKPropertyField::TextOf(m_kAIString); }
    const char* GetDeathExplosionSound() const { return SKPropertyField::TextOf(m_kDeathExplosionSound); }
    // Each stores a copy (null clears); the stored text itself may be passed.
    void SetShipName(const char* pcText) { SKPropertyField::SetText(m_kShipName, pcText); }
    void SetModelFilename(const char* pcText) { SKPropertyField::SetText(m_kModelFilename, pcText); }
    void SetAIString(const char* pcText) { SKPropertyField::SetText(m_kAIString, pcText); }
    void SetDeathExplosionSound(const char* pcText)
    {
        SKPropertyField::SetText(m_kDeathExplosionSound, pcText);
    }

private:
    using Text = SKPropertyField::Text;

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
