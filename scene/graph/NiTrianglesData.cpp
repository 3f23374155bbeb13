#include "scene/graph/NiTrianglesData.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <algorithm>

NiImplementRTTI(NiTrianglesData, NiTriBasedGeomData);
NiImplementCreateObject(NiTrianglesData);

NiTrianglesData::NiTrianglesData() = default;

NiTrianglesData::NiTrianglesData(NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor,
                                 NiTexCoord* pkTexture, uint16_t usTriangles)
    : NiTriBasedGeomData(static_cast<uint16_t>(3u * usTriangles), pkVertex, pkNormal, pkColor, pkTexture,
                         usTriangles),
      m_usActiveTriCount(usTriangles)
{
}

void NiTrianglesData::SetActiveVertexCount(uint16_t usActive)
{
    SetActiveTriangleCount(static_cast<uint16_t>(usActive / 3));
}

uint16_t NiTrianglesData::GetActiveVertexCount() const
{
    return static_cast<uint16_t>(std::min(3u * m_usActiveTriCount, uint32_t(m_usVertices)));
}

void NiTrianglesData::SetActiveTriangleCount(uint16_t usActive)
{
    m_usActiveTriCount = std::min(usActive, m_usTriangles);
}

void NiTrianglesData::ComputeNormals()
{
    CreateNormals(true);
    if (!m_pVertex)
        return;
    const uint32_t uiTriangles = std::min<uint32_t>(m_usTriangles, m_usVertices / 3u);
    for (uint32_t i = 0; i < uiTriangles; ++i)
    {
        const NiPoint3* pkCorner = m_pVertex + 3 * i;
        const NiPoint3 kNormal = FaceNormal(pkCorner[0], pkCorner[1], pkCorner[2]);
        std::fill_n(m_pNormal + 3 * i, 3, kNormal);
    }
}

NiObject* NiTrianglesData::MakeClone()
{
    return this;
}

void NiTrianglesData::LoadBinary(NiStream& kStream)
{
    NiTriBasedGeomData::LoadBinary(kStream);
    kStream.Load(m_usActiveTriCount);
    // Every triangle needs its three vertices; the active ones are a leading part.
    if (3u * m_usTriangles > m_usVertices || m_usActiveTriCount > m_usTriangles)
    {
        m_usActiveTriCount = 0;
        kStream.MarkLoadFailed();
    }
}

void NiTrianglesData::SaveBinary(NiStream& kStream)
{
    NiTriBasedGeomData::SaveBinary(kStream);
    kStream.Save(m_usActiveTriCount);
}

void NiTrianglesData::AddFieldStrings(NiFieldStringList& kList) const
{
    NiTriBasedGeomData::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiTrianglesData"));
}
