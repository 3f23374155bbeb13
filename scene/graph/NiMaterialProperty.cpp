#include "scene/graph/NiMaterialProperty.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiMaterialProperty, NiProperty);
NiImplementCreateObject(NiMaterialProperty);

// Constant-initialised, so it counts from 1 even for a material built during start-up.
constinit uint32_t NiMaterialProperty::ms_uiNextSerial = 1;

NiMaterialProperty::NiMaterialProperty() : m_uiSerial(ms_uiNextSerial++)
{
    SetChanged(true);
}

NiRefPtr<NiMaterialProperty> NiMaterialProperty::GetDefault()
{
    return NiPropertyDefaultInstance<NiMaterialProperty>();
}

void NiMaterialProperty::ConsumeChange()
{
    if (!GetChanged())
        return;
    SetChanged(false);
    ++m_uiRevision;
}

NiObject* NiMaterialProperty::MakeClone()
{
    NiMaterialProperty* pkClone = new NiMaterialProperty;
    CopyToClone(pkClone);
    return pkClone;
}

void NiMaterialProperty::CopyToClone(NiMaterialProperty* pkClone)
{
    // The clone keeps its own serial number and revision.
    NiProperty::CopyToClone(pkClone);
    pkClone->m_amb = m_amb;
    pkClone->m_diff = m_diff;
    pkClone->m_spec = m_spec;
    pkClone->m_emit = m_emit;
    pkClone->m_fShine = m_fShine;
    pkClone->m_fAlpha = m_fAlpha;
}

void NiMaterialProperty::LoadBinary(NiStream& kStream)
{
    NiProperty::LoadBinary(kStream);
    kStream.Load(m_amb);
    kStream.Load(m_diff);
    kStream.Load(m_spec);
    kStream.Load(m_emit);
    kStream.Load(m_fShine);
    kStream.Load(m_fAlpha);
    // Files carry exponents of 1 and below (and NaN) that light badly; they load as the
    // default. Only loading applies this: the setter stores what it is given.
    if (!(m_fShine > 1.0f))
        m_fShine = DEFAULT_SHINE;
}

void NiMaterialProperty::SaveBinary(NiStream& kStream)
{
    NiProperty::SaveBinary(kStream);
    kStream.Save(m_amb);
    kStream.Save(m_diff);
    kStream.Save(m_spec);
    kStream.Save(m_emit);
    kStream.Save(m_fShine);
    kStream.Save(m_fAlpha);
}

bool NiMaterialProperty::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiProperty::IsEquivalent(pkObject))
        return false;
    const NiMaterialProperty& kOther = *static_cast<const NiMaterialProperty*>(pkObject);
    return m_amb == kOther.m_amb && m_diff == kOther.m_diff && m_spec == kOther.m_spec &&
           m_emit == kOther.m_emit && m_fShine == kOther.m_fShine && m_fAlpha == kOther.m_fAlpha;
}

void NiMaterialProperty::AddFieldStrings(NiFieldStringList& kList) const
{
    NiProperty::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiMaterialProperty"));
    kList.push_back(m_amb.GetFieldString("m_amb"));
    kList.push_back(m_diff.GetFieldString("m_diff"));
    kList.push_back(m_spec.GetFieldString("m_spec"));
    kList.push_back(m_emit.GetFieldString("m_emit"));
    kList.push_back(NiFieldString("m_fShine", m_fShine));
    kList.push_back(NiFieldString("m_fAlpha", m_fAlpha));
}
