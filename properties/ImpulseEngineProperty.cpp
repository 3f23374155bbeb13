#include "properties/ImpulseEngineProperty.h"

#include "core/SKStream.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"

ImpulseEngineProperty* ImpulseEngineProperty::Create(const char* pcName)
{
    auto* pkProperty = new ImpulseEngineProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}

void ImpulseEngineProperty::SetEngineSound(const char* pcSound)
{
    if (!pcSound)
    {
        m_kEngineSound.reset();
        return;
    }
    // Copied before the old text goes: the argument may be the stored text.
    std::string kSound(pcSound);
    m_kEngineSound = std::move(kSound);
}

bool ImpulseEngineProperty::SaveToStream(SKStream& kStream) const
{
    if (!PoweredSubsystemProperty::SaveToStream(kStream))
        return false;
    kStream.WriteFloat(m_fMaxSpeed);
    kStream.WriteFloat(m_fMaxAccel);
    kStream.WriteFloat(m_fMaxAngularVelocity);
    kStream.WriteFloat(m_fMaxAngularAccel);
    kStream.WriteNewCString(GetEngineSound());
    return true;
}

bool ImpulseEngineProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!PoweredSubsystemProperty::LoadFromStream(kStream))
        return false;
    m_fMaxSpeed = kStream.ReadFloat();
    m_fMaxAccel = kStream.ReadFloat();
    m_fMaxAngularVelocity = kStream.ReadFloat();
    m_fMaxAngularAccel = kStream.ReadFloat();
    const std::unique_ptr<char[]> pcSound = kStream.ReadNewCString(-1);
    // A length past the end gives null too: the status tells it from a stored "no sound".
    if (kCheck.Failed())
        return false;
    SetEngineSound(pcSound.get());
    return true;
}

void ImpulseEngineProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    PoweredSubsystemProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter kWriter(kStream);
    kWriter.Line(pcVariable, ".SetMaxAccel(", m_fMaxAccel, ")");
    kWriter.Line(pcVariable, ".SetMaxAngularAccel(", m_fMaxAngularAccel, ")");
    kWriter.Line(pcVariable, ".SetMaxAngularVelocity(", m_fMaxAngularVelocity, ")");
    kWriter.Line(pcVariable, ".SetMaxSpeed(", m_fMaxSpeed, ")");
    kWriter.Line(pcVariable, ".SetEngineSound(", SKScriptWriter::Quoted{GetEngineSound()}, ")");
}

bool ImpulseEngineProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const ImpulseEngineProperty*>(pkOther);
    if (!pkSource || !PoweredSubsystemProperty::CopyFrom(pkOther))
        return false;
    SetMaxSpeed(pkSource->GetMaxSpeed());
    SetMaxAccel(pkSource->GetMaxAccel());
    SetMaxAngularVelocity(pkSource->GetMaxAngularVelocity());
    SetMaxAngularAccel(pkSource->GetMaxAngularAccel());
    SetEngineSound(pkSource->GetEngineSound());
    return true;
}
