#include "scene/graph/NiTriShapeDynamicData.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <algorithm>

NiImplementRTTI(NiTriShapeDynamicData, NiTriShapeData);
NiImplementCreateObject(NiTriShapeDynamicData);

NiTriShapeDynamicData::NiTriShapeDynamicData() = default;

NiTriShapeDynamicData::NiTriShapeDynamicData(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal,
                                             NiColorA* pkColor, NiTexCoord* pkTexture, uint16_t usTriangles,
                                             uint16_t* pusTriList, uint16_t usActiveVertices,
                                             uint16_t usActiveTriangles)
    : NiTriShapeData(std::min(usActiveVertices, usVertices), pkVertex, pkNormal, pkColor, pkTexture,
                     std::min(usActiveTriangles, usTriangles), pusTriList)
{
    m_usVertices = usVertices;
    m_usTriangles = usTriangles;
    m_uiTriListLength = 3u * usTriangles;
    m_usActiveVertices = std::min(usActiveVertices, usVertices);
    m_usActiveTriangles = std::min(usActiveTriangles, usTriangles);
}

void NiTriShapeDynamicData::SetActiveVertexCount(uint16_t usActive)
{
    m_usActiveVertices = std::min(usActive, m_usVertices);
}

void NiTriShapeDynamicData::SetActiveTriangleCount(uint16_t usActive)
{
    m_usActiveTriangles = std::min(usActive, m_usTriangles);
}

NiObject* NiTriShapeDynamicData::MakeClone()
{
    return this;
}

void NiTriShapeDynamicData::LoadBinary(NiStream& kStream)
{
    NiTriShapeData::LoadBinary(kStream);
    kStream.Load(m_usActiveVertices);
    kStream.Load(m_usActiveTriangles);
    // Draws, bounds and normals walk the active parts of the arrays.
    if (m_usActiveVertices > m_usVertices || m_usActiveTriangles > m_usTriangles)
    {
        m_usActiveVertices = 0;
        m_usActiveTriangles = 0;
        kStream.MarkLoadFailed();
    }
}

void NiTriShapeDynamicData::SaveBinary(NiStream& kStream)
{
    NiTriShapeData::SaveBinary(kStream);
    kStream.Save(m_usActiveVertices);
    kStream.Save(m_usActiveTriangles);
}

bool NiTriShapeDynamicData::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiTriShapeData::IsEquivalent(pkObject))
        return false;
    const NiTriShapeDynamicData* pkOther = static_cast<const NiTriShapeDynamicData*>(pkObject);
    return m_usActiveVertices == pkOther->m_usActiveVertices &&
           m_usActiveTriangles == pkOther->m_usActiveTriangles;
}

void NiTriShapeDynamicData::AddFieldStrings(NiFieldStringList& kList) const
{
    NiTriShapeData::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiTriShapeDynamicData"));
    kList.push_back(NiFieldString("m_usActiveVertices", m_usActiveVertices));
    kList.push_back(NiFieldString("m_usActiveTriangles", m_usActiveTriangles));
}
