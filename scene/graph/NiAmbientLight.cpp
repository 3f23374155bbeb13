#include "scene/graph/NiAmbientLight.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiAmbientLight, NiLight);
NiImplementCreateObject(NiAmbientLight);

NiAmbientLight::NiAmbientLight() = default;

NiAmbientLight::~NiAmbientLight()
{
    PurgeFromRenderers();
}

NiObject* NiAmbientLight::MakeClone()
{
    NiAmbientLight* pkClone = new NiAmbientLight;
    CopyToClone(pkClone);
    return pkClone;
}

void NiAmbientLight::AddFieldStrings(NiFieldStringList& kList) const
{
    NiLight::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiAmbientLight"));
}
