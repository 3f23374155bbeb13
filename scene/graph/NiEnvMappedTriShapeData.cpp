#include "scene/graph/NiEnvMappedTriShapeData.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiEnvMappedTriShapeData, NiTriShapeData);
NiImplementCreateObject(NiEnvMappedTriShapeData);

NiEnvMappedTriShapeData::NiEnvMappedTriShapeData() = default;

NiEnvMappedTriShapeData::NiEnvMappedTriShapeData(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal,
                                                 NiColorA* pkColor, uint16_t usTriangles,
                                                 uint16_t* pusTriList)
    : NiTriShapeData(usVertices, pkVertex, pkNormal, pkColor, nullptr, usTriangles, pusTriList)
{
    // Zeroed rather than left unset, so that a save before the first draw writes known values.
    CreateTextures(true, 1);
}

NiObject* NiEnvMappedTriShapeData::MakeClone()
{
    return this;
}

void NiEnvMappedTriShapeData::LoadBinary(NiStream& kStream)
{
    NiTriShapeData::LoadBinary(kStream);
    // The shape writes set 0 at every draw; a record without coordinates gets a set to write.
    if (!GetTextureSet(0) && kStream.ReserveMemory(m_usVertices, sizeof(NiTexCoord)))
        CreateTextures(true, 1);
}

void NiEnvMappedTriShapeData::AddFieldStrings(NiFieldStringList& kList) const
{
    NiTriShapeData::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiEnvMappedTriShapeData"));
}
