#include "scene/graph/NiAutoNormalParticlesData.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiAutoNormalParticlesData, NiParticlesData);
NiImplementCreateObject(NiAutoNormalParticlesData);

NiAutoNormalParticlesData::NiAutoNormalParticlesData() = default;

NiAutoNormalParticlesData::NiAutoNormalParticlesData(uint16_t usVertices, NiPoint3* pkVertex,
                                                     NiColorA* pkColor)
    : NiParticlesData(usVertices, pkVertex, nullptr, pkColor)
{
    // Zeroed, so that data saved before its first draw writes defined normals.
    CreateNormals(true);
}

NiAutoNormalParticlesData::~NiAutoNormalParticlesData() = default;

NiObject* NiAutoNormalParticlesData::MakeClone()
{
    return this;
}

void NiAutoNormalParticlesData::LoadBinary(NiStream& kStream)
{
    NiParticlesData::LoadBinary(kStream);
    // A record without normals still gets the array each draw writes.
    if (!m_pNormal && kStream.ReserveMemory(m_usVertices, sizeof(NiPoint3)))
        CreateNormals(true);
}

void NiAutoNormalParticlesData::AddFieldStrings(NiFieldStringList& kList) const
{
    NiParticlesData::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiAutoNormalParticlesData"));
}
