#include "scene/graph/NiTriStrip.h"

#include "scene/graph/NiRender.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiTriStrip, NiTriBasedGeom);
NiImplementCreateObject(NiTriStrip);

NiTriStrip::NiTriStrip(NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor, NiTexCoord* pkTexture,
                       uint16_t usTriangles)
    : NiTriBasedGeomKind(new NiTriStripData(pkVertex, pkNormal, pkColor, pkTexture, usTriangles))
{
}

bool NiTriStrip::GetTriangleIndices(uint16_t usTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2)
{
    const NiTriStripData* pkData = GetTriStripData();
    if (!pkData || usTriangle >= pkData->GetTriangleCount() || usTriangle + 2u >= pkData->GetVertexCount())
        return false;
    NiTriStripData::GetTriangleCorners(usTriangle, usI0, usI1, usI2);
    return true;
}

// The corners come in vertex order for every triangle: odd ones are not turned round here.
bool NiTriStrip::CornerIndices(uint16_t usTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2)
{
    if (!GetTriangleIndices(usTriangle, usI0, usI1, usI2))
        return false;
    usI0 = usTriangle;
    usI1 = static_cast<uint16_t>(usTriangle + 1);
    usI2 = static_cast<uint16_t>(usTriangle + 2);
    return true;
}

void NiTriStrip::Draw(NiCamera* pkCamera)
{
    NiRender* pkRenderer = BeginDraw(pkCamera);
    if (!pkRenderer)
        return;
    NiTriStripData* pkData = GetTriStripData();
    pkRenderer->DrawTriStrip(pkData, *GetWorldBoundPtr());
    CountDraw(pkData->GetActiveTriangleCount(), pkData->GetActiveVertexCount());
}

void NiTriStrip::AddFieldStrings(NiFieldStringList& kList) const
{
    NiTriBasedGeom::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiTriStrip"));
}
