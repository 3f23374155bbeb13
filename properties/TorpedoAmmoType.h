#pragma once

#include <cstdint>
#include <optional>
#include <string>

class SKStream;

// One ammunition type of a torpedo system: how many torpedoes of it the system holds and the
// name of the torpedo script, a script module that answers the torpedo's launch speed, launch
// sound, power cost and display name (functions GetLaunchSpeed, GetLaunchSound, GetPowerCost and
// GetName, called without arguments through the script host). Speed and sound are asked once,
// when the script is set; cost and name are asked on every call. A question the module cannot
// answer (no module, no such function, an error, an answer of the wrong kind) leaves the value
// at its reset: speed 1.0, sound none, cost 0.0, name none.
//
// The record owns copies of every text, the module's answers included, so nothing it hands out
// points into the interpreter.
//
// Binary form (inside the torpedo system's record): MaxTorpedoes (Int), the module name, the launch
// speed (Float), the launch sound (counted strings; length 0 for none). A load asks the module
// nothing.
class TorpedoAmmoType
{
public:
    static constexpr int32_t DEFAULT_MAX_TORPEDOES = 400;
    static constexpr float DEFAULT_LAUNCH_SPEED = 1.0f;

    TorpedoAmmoType() = default;
    TorpedoAmmoType(const TorpedoAmmoType&) = delete;
    TorpedoAmmoType& operator=(const TorpedoAmmoType&) = delete;

    // Resets speed and sound, stores a copy of the name and asks the module for the launch speed
    // and the launch sound. Null or empty clears the name: no module has an empty name, and a
    // script line writes a record without a module as "".
    void SetTorpedoScript(const char* pcModule);
    // The module's power cost, asked now; 0.0 without a module or when it cannot answer.
    float GetPowerCost() const;
    // The module's name for the torpedo, asked now; null without a module or when it cannot answer
    // or answers None. Valid until the next GetAmmoName or change of the record.
    const char* GetAmmoName() const;

    // The stored module name, or null.
    const char* GetTorpedoScript() const { return Text(m_kModule); }
    float GetLaunchSpeed() const { return m_fLaunchSpeed; }
    // The launch sound the module answered (or that was loaded or set), or null.
    const char* GetLaunchSound() const { return Text(m_kLaunchSound); }
    int32_t GetMaxTorpedoes() const { return m_iMaxTorpedoes; }
    void SetMaxTorpedoes(int32_t iCount) { m_iMaxTorpedoes = iCount; }

    // The fields set directly, without asking the module; texts are copied (null clears).
    void SetTorpedoScriptField(const char* pcModule) { m_kModule = Copy(pcModule); }
    void SetLaunchSpeedField(float fSpeed) { m_fLaunchSpeed = fSpeed; }
    void SetLaunchSoundField(const char* pcSound) { m_kLaunchSound = Copy(pcSound); }

    void SaveToStream(SKStream& kStream) const;
    // False when the stream failed; the record then keeps what it held.
    bool LoadFromStream(SKStream& kStream);

private:
    static const char* Text(const std::optional<std::string>& kText)
    {
        return kText ? kText->c_str() : nullptr;
    }
    static std::optional<std::string> Copy(const char* pcText)
    {
        return pcText ? std::optional<std::string>(pcText) : std::nullopt;
    }

    int32_t m_iMaxTorpedoes = DEFAULT_MAX_TORPEDOES;
    std::optional<std::string> m_kModule;
    float m_fLaunchSpeed = DEFAULT_LAUNCH_SPEED;
    std::optional<std::string> m_kLaunchSound;
    // The last answer of GetName, kept so that the pointer handed out stays valid.
    mutable std::optional<std::string> m_kAmmoName;
};
