#include "properties/TorpedoAmmoType.h"

#include "core/SKScriptBridge.h"
#include "core/SKStream.h"
#include "properties/SKReadCheck.h"

#include <memory>

void TorpedoAmmoType::SetTorpedoScript(const char* pcModule)
{
    // Copied before the old name goes: the argument may be the stored name.
    std::optional<std::string> kModule = Copy(pcModule);
    m_kModule.reset();
    m_fLaunchSpeed = DEFAULT_LAUNCH_SPEED;
    m_kLaunchSound.reset();
    if (!kModule || kModule->empty())
        return;
    m_kModule = std::move(kModule);
    SKScriptBridge* pkBridge = SKScriptBridge::Get();
    if (!pkBridge)
        return;
    // A failed question leaves its value at the reset above.
    pkBridge->CallFloatFunction(m_kModule->c_str(), "GetLaunchSpeed", m_fLaunchSpeed);
    pkBridge->CallTextFunction(m_kModule->c_str(), "GetLaunchSound", m_kLaunchSound);
}

float TorpedoAmmoType::GetPowerCost() const
{
    float fCost = 0.0f;
    SKScriptBridge* pkBridge = SKScriptBridge::Get();
    if (m_kModule && pkBridge)
        pkBridge->CallFloatFunction(m_kModule->c_str(), "GetPowerCost", fCost);
    return fCost;
}

const char* TorpedoAmmoType::GetAmmoName() const
{
    std::optional<std::string> kName;
    SKScriptBridge* pkBridge = SKScriptBridge::Get();
    if (m_kModule && pkBridge)
        pkBridge->CallTextFunction(m_kModule->c_str(), "GetName", kName);
    m_kAmmoName = std::move(kName);
    return Text(m_kAmmoName);
}

void TorpedoAmmoType::SaveToStream(SKStream& kStream) const
{
    kStream.WriteInt(m_iMaxTorpedoes);
    kStream.WriteNewCString(GetTorpedoScript());
    kStream.WriteFloat(m_fLaunchSpeed);
    kStream.WriteNewCString(GetLaunchSound());
}

bool TorpedoAmmoType::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    const int32_t iMaxTorpedoes = kStream.ReadInt();
    const std::unique_ptr<char[]> pcModule = kStream.ReadNewCString(-1);
    const float fLaunchSpeed = kStream.ReadFloat();
    const std::unique_ptr<char[]> pcLaunchSound = kStream.ReadNewCString(-1);
    if (kCheck.Failed())
        return false;
    m_iMaxTorpedoes = iMaxTorpedoes;
    SetTorpedoScriptField(pcModule.get());
    m_fLaunchSpeed = fLaunchSpeed;
    SetLaunchSoundField(pcLaunchSound.get());
    return true;
}
