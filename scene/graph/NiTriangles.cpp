#include "scene/graph/NiTriangles.h"

#include "scene/graph/NiRender.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiTriangles, NiTriBasedGeom);
NiImplementCreateObject(NiTriangles);

NiTriangles::NiTriangles(NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor, NiTexCoord* pkTexture,
                         uint16_t usTriangles)
    : NiTriBasedGeomKind(new NiTrianglesData(pkVertex, pkNormal, pkColor, pkTexture, usTriangles))
{
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

void NiTriangles::Draw(NiCamera* pkCamera)
{
    NiRender* pkRenderer = BeginDraw(pkCamera);
    if (!pkRenderer)
        return;
    NiTrianglesData* pkData = GetTrianglesData();
    pkRenderer->DrawTriangles(pkData, *GetWorldBoundPtr());
    CountDraw(pkData->GetActiveTriangleCount(), pkData->GetActiveVertexCount());
}

void NiTriangles::AddFieldStrings(NiFieldStringList& kList) const
{
    NiTriBasedGeom::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiTriangles"));
}
