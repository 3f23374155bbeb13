#include "scene/graph/NiTriStripData.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <algorithm>

NiImplementRTTI(NiTriStripData, NiTriBasedGeomData);
NiImplementCreateObject(NiTriStripData);

NiTriStripData::NiTriStripData() = default;

NiTriStripData::NiTriStripData(NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor,
                               NiTexCoord* pkTexture, uint16_t usTriangles)
    : NiTriBasedGeomData(static_cast<uint16_t>(usTriangles + 2u), pkVertex, pkNormal, pkColor, pkTexture,
                         usTriangles),
      m_usActiveTriCount(usTriangles)
{
}

void NiTriStripData::SetActiveVertexCount(uint16_t usActive)
{
    if (usActive < 3)
        m_usActiveTriCount = 0;
    else if (usActive >= m_usVertices)
        m_usActiveTriCount = m_usTriangles;
    else
        m_usActiveTriCount = std::min(static_cast<uint16_t>(usActive - 2), m_usTriangles);
}

uint16_t NiTriStripData::GetActiveVertexCount() const
{
    if (m_usActiveTriCount == 0)
        return 0;
    return static_cast<uint16_t>(std::min(m_usActiveTriCount + 2u, uint32_t(m_usVertices)));
}

void NiTriStripData::SetActiveTriangleCount(uint16_t usActive)
{
    m_usActiveTriCount = std::min(usActive, m_usTriangles);
}

void NiTriStripData::GetTriangleCorners(uint32_t uiTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2)
{
    const bool bOdd = (uiTriangle & 1) != 0;
    usI0 = static_cast<uint16_t>(uiTriangle);
    usI1 = static_cast<uint16_t>(uiTriangle + (bOdd ? 2 : 1));
    usI2 = static_cast<uint16_t>(uiTriangle + (bOdd ? 1 : 2));
}

void NiTriStripData::ComputeNormals()
{
    CreateNormals(true);
    if (!m_pVertex || m_usVertices < 3)
        return;
    const uint32_t uiTriangles = std::min<uint32_t>(m_usActiveTriCount, m_usVertices - 2u);
    for (uint32_t k = 0; k < uiTriangles; ++k)
    {
        uint16_t usI0, usI1, usI2;
        GetTriangleCorners(k, usI0, usI1, usI2);
        const NiPoint3 kNormal = FaceNormal(m_pVertex[usI0], m_pVertex[usI1], m_pVertex[usI2]);
        m_pNormal[usI0] += kNormal;
        m_pNormal[usI1] += kNormal;
        m_pNormal[usI2] += kNormal;
    }
    NiPoint3::UnitizeVectors(m_pNormal, GetActiveVertexCount());
}

NiObject* NiTriStripData::MakeClone()
{
    return this;
}

void NiTriStripData::LoadBinary(NiStream& kStream)
{
    NiTriBasedGeomData::LoadBinary(kStream);
    kStream.Load(m_usActiveTriCount);
    // A strip of t triangles runs over t + 2 vertices; the active ones are a leading part.
    const bool bVerticesFit = m_usTriangles == 0 || m_usTriangles + 2u <= m_usVertices;
    if (!bVerticesFit || m_usActiveTriCount > m_usTriangles)
    {
        m_usActiveTriCount = 0;
        kStream.MarkLoadFailed();
    }
}

void NiTriStripData::SaveBinary(NiStream& kStream)
{
    NiTriBasedGeomData::SaveBinary(kStream);
    kStream.Save(m_usActiveTriCount);
}

void NiTriStripData::AddFieldStrings(NiFieldStringList& kList) const
{
    NiTriBasedGeomData::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiTriStripData"));
}
