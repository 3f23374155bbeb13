#include "properties/BlinkingLightProperty.h"

#include "core/SKStream.h"
#include "properties/SKReadCheck.h"
#include "properties/SKScriptWriter.h"

BlinkingLightProperty* BlinkingLightProperty::Create(const char* pcName)
{
    auto* pkProperty = new BlinkingLightProperty(0);
    pkProperty->SetName(pcName);
    return pkProperty;
}

void BlinkingLightProperty::SetTextureName(const char* pcName)
{
    if (!pcName)
    {
        m_kTextureName.reset();
        return;
    }
    // Copied before the old text goes: the argument may be the stored text.
    std::string kName(pcName);
    m_kTextureName = std::move(kName);
}

bool BlinkingLightProperty::SaveToStream(SKStream& kStream) const
{
    if (!EffectEmitterProperty::SaveToStream(kStream))
        return false;
    kStream.WriteFloat(m_kColor.r);
    kStream.WriteFloat(m_kColor.g);
    kStream.WriteFloat(m_kColor.b);
    kStream.WriteFloat(m_kColor.a);
    kStream.WriteFloat(m_fRadius);
    kStream.WriteFloat(m_fPeriod);
    kStream.WriteFloat(m_fDuration);
    kStream.WriteNewCString(GetTextureName());
    return true;
}

bool BlinkingLightProperty::LoadFromStream(SKStream& kStream)
{
    const SKReadCheck kCheck(kStream);
    if (!EffectEmitterProperty::LoadFromStream(kStream))
        return false;
    SKColorA kColor;
    kColor.r = kStream.ReadFloat();
    kColor.g = kStream.ReadFloat();
    kColor.b = kStream.ReadFloat();
    kColor.a = kStream.ReadFloat();
    const float fRadius = kStream.ReadFloat();
    const float fPeriod = kStream.ReadFloat();
    const float fDuration = kStream.ReadFloat();
    const std::unique_ptr<char[]> pcTexture = kStream.ReadNewCString(-1);
    // A length past the end gives null too: the status tells it from a stored "no texture".
    if (kCheck.Failed())
        return false;
    m_kColor = kColor;
    m_fRadius = fRadius;
    m_fPeriod = fPeriod;
    m_fDuration = fDuration;
    SetTextureName(pcTexture.get());
    return true;
}

void BlinkingLightProperty::WriteInit(SKStream& kStream, const char* pcVariable)
{
    EffectEmitterProperty::WriteInit(kStream, pcVariable);
    SKScriptWriter kWriter(kStream);
    kWriter.ColorA(pcVariable, "LightColor", m_kColor);
    kWriter.Line(pcVariable, ".SetColor(", pcVariable, "LightColor)");
    kWriter.Line(pcVariable, ".SetRadius(", m_fRadius, ")");
    kWriter.Line(pcVariable, ".SetPeriod(", m_fPeriod, ")");
    kWriter.Line(pcVariable, ".SetDuration(", m_fDuration, ")");
    if (m_kTextureName)
        kWriter.Line(pcVariable, ".SetTextureName(", SKScriptWriter::Quoted{GetTextureName()}, ")");
}

bool BlinkingLightProperty::CopyFrom(const SKModelProperty* pkOther)
{
    const auto* pkSource = dynamic_cast<const BlinkingLightProperty*>(pkOther);
    if (!pkSource || !EffectEmitterProperty::CopyFrom(pkOther))
        return false;
    SetColor(pkSource->GetColor());
    SetRadius(pkSource->GetRadius());
    SetPeriod(pkSource->GetPeriod());
    SetDuration(pkSource->GetDuration());
    SetTextureName(pkSource->GetTextureName());
    return true;
}
