#include "scene/graph/NiTriangles.h"

#include "scene/graph/NiRender.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiTriangles, NiTriBasedGeom);
NiImplementCreateObject(NiTriangles);

NiTriangles::NiTriangles(NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor, NiTexCoord* pkTexture,
                         uint16_t usTriangles)
    : NiTriBasedGeom(new NiTrianglesData(pkVertex, pkNormal, pkColor, pkTexture, usTriangles))
{
}

const ClassRecord* NiTriangles::GetDataClassRecord() const
{
    return &NiTrianglesData::ms_kClassRecord;
}

bool NiTriangles::GetTriangleIndices(uint16_t usTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2)
{
    const NiTrianglesData* pkData = GetTrianglesData();
    if (!pkData || usTriangle >= pkData->GetTriangleCount() ||
        3u * usTriangle + 2 >= pkData->GetVertexCount())
        return false;
    usI0 = static_cast<uint16_t>(3 * usTriangle);
    usI1 = static_cast<uint16_t>(usI0 + 1);
    usI2 = static_cast<uint16_t>(usI0 + 2);
    return true;
}

bool NiTriangles::CornerIndices(uint16_t usTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2)
{
    return GetTriangleIndices(usTriangle, usI0, usI1, usI2);
}

bool NiTriangles::GetModelTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2)
{
    uint16_t usI0 = 0, usI1 = 0, usI2 = 0;
    const bool bFound = CornerIndices(usTriangle, usI0, usI1, usI2);
    return CornersAt(bFound ? GetVertexArray() : nullptr, m_spGeomData ? m_spGeomData->GetVertexCount() : 0,
                     usI0, usI1, usI2, pkP0, pkP1, pkP2);
}

bool NiTriangles::GetWorldTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2)
{
    uint16_t usI0 = 0, usI1 = 0, usI2 = 0;
    const bool bFound = CornerIndices(usTriangle, usI0, usI1, usI2);
    return CornersAt(bFound ? GetWorldVertices() : nullptr, m_usWorldVertsSize, usI0, usI1, usI2, pkP0, pkP1,
                     pkP2);
}

void NiTriangles::Draw(NiCamera* pkCamera)
{
    NiRender* pkRenderer = BeginDraw(pkCamera);
    if (!pkRenderer)
        return;
    NiTrianglesData* pkData = GetTrianglesData();
    pkRenderer->DrawTriangles(pkData, *GetWorldBoundPtr());
    CountDraw(pkData->GetActiveTriangleCount(), pkData->GetActiveVertexCount());
}

NiObject* NiTriangles::MakeClone()
{
    NiTriangles* pkClone = new NiTriangles;
    CopyToClone(pkClone);
    return pkClone;
}

void NiTriangles::AddFieldStrings(NiFieldStringList& kList) const
{
    NiTriBasedGeom::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiTriangles"));
}
