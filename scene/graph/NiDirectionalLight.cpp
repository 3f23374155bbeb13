#include "scene/graph/NiDirectionalLight.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiDirectionalLight, NiLight);
NiImplementCreateObject(NiDirectionalLight);

NiDirectionalLight::NiDirectionalLight() = default;

NiDirectionalLight::~NiDirectionalLight()
{
    PurgeFromRenderers();
}

void NiDirectionalLight::UpdateWorldTransform()
{
    NiLight::UpdateWorldTransform();
    m_worldRotate.GetCol(0, m_kWorldDir);
    IncrementRevisionID();
}

NiObject* NiDirectionalLight::MakeClone()
{
    NiDirectionalLight* pkClone = new NiDirectionalLight;
    CopyToClone(pkClone);
    return pkClone;
}

void NiDirectionalLight::CopyToClone(NiDirectionalLight* pkClone)
{
    NiLight::CopyToClone(pkClone);
    pkClone->m_kWorldDir = m_kWorldDir;
}

void NiDirectionalLight::AddFieldStrings(NiFieldStringList& kList) const
{
    NiLight::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiDirectionalLight"));
}
