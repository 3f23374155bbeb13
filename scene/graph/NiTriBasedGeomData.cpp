#include "scene/graph/NiTriBasedGeomData.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiTriBasedGeomData, NiGeometryData);
NiImplementAbstractLoader(NiTriBasedGeomData);

NiTriBasedGeomData::NiTriBasedGeomData(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal,
                                       NiColorA* pkColor, NiTexCoord* pkTexture, uint16_t usTriangles)
    : NiGeometryData(usVertices, pkVertex, pkNormal, pkColor, pkTexture), m_usTriangles(usTriangles)
{
}

void NiTriBasedGeomData::SetActiveTriangleCount(uint16_t) {}

uint16_t NiTriBasedGeomData::GetActiveTriangleCount() const
{
    return m_usTriangles;
}

void NiTriBasedGeomData::LoadBinary(NiStream& kStream)
{
    NiGeometryData::LoadBinary(kStream);
    kStream.Load(m_usTriangles);
}

void NiTriBasedGeomData::SaveBinary(NiStream& kStream)
{
    NiGeometryData::SaveBinary(kStream);
    kStream.Save(m_usTriangles);
}

bool NiTriBasedGeomData::IsEquivalent(const NiObject* pkObject) const
{
    return NiGeometryData::IsEquivalent(pkObject) &&
           m_usTriangles == static_cast<const NiTriBasedGeomData*>(pkObject)->m_usTriangles;
}

void NiTriBasedGeomData::AddFieldStrings(NiFieldStringList& kList) const
{
    NiGeometryData::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiTriBasedGeomData"));
    kList.push_back(NiFieldString("m_usTriangles", m_usTriangles));
}
