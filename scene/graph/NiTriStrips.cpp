#include "scene/graph/NiTriStrips.h"

#include "scene/graph/NiRender.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiTriStrips, NiTriBasedGeom);
NiImplementCreateObject(NiTriStrips);

NiTriStrips::NiTriStrips(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor,
                         NiTexCoord* pkTexture, uint16_t usTriangles, uint16_t usStrips,
                         uint16_t* pusStripLengths, uint16_t* pusStripLists)
    : NiTriBasedGeomKind(new NiTriStripsData(usVertices, pkVertex, pkNormal, pkColor, pkTexture, usTriangles,
                                             usStrips, pusStripLengths, pusStripLists))
{
}

bool NiTriStrips::GetTriangleIndices(uint16_t usTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2)
{
    const NiTriStripsData* pkData = GetTriStripsData();
    return pkData && pkData->GetTriangleIndices(usTriangle, usI0, usI1, usI2);
}

bool NiTriStrips::CornerIndices(uint16_t usTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2)
{
    return GetTriangleIndices(usTriangle, usI0, usI1, usI2);
}

void NiTriStrips::Draw(NiCamera* pkCamera)
{
    NiRender* pkRenderer = BeginDraw(pkCamera);
    if (!pkRenderer)
        return;
    NiTriStripsData* pkData = GetTriStripsData();
    pkRenderer->DrawTriStrips(pkData, *GetWorldBoundPtr());
    CountDraw(pkData->GetTriangleCount(), pkData->GetVertexCount());
}

void NiTriStrips::AddFieldStrings(NiFieldStringList& kList) const
{
    NiTriBasedGeom::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiTriStrips"));
}
