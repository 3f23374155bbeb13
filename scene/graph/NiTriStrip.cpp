#include "scene/graph/NiTriStrip.h"

#include "scene/graph/NiRender.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiTriStrip, NiTriBasedGeom);
NiImplementCreateObject(NiTriStrip);

NiTriStrip::NiTriStrip(NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor, NiTexCoord* pkTexture,
                       uint16_t usTriangles)
    : NiTriBasedGeom(new NiTriStripData(pkVertex, pkNormal, pkColor, pkTexture, usTriangles))
{
}

const ClassRecord* NiTriStrip::GetDataClassRecord() const
{
    return &NiTriStripData::ms_kClassRecord;
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

bool NiTriStrip::GetModelTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2)
{
    uint16_t usI0 = 0, usI1 = 0, usI2 = 0;
    const bool bFound = CornerIndices(usTriangle, usI0, usI1, usI2);
    return CornersAt(bFound ? GetVertexArray() : nullptr, m_spGeomData ? m_spGeomData->GetVertexCount() : 0,
                     usI0, usI1, usI2, pkP0, pkP1, pkP2);
}

bool NiTriStrip::GetWorldTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2)
{
    uint16_t usI0 = 0, usI1 = 0, usI2 = 0;
    const bool bFound = CornerIndices(usTriangle, usI0, usI1, usI2);
    return CornersAt(bFound ? GetWorldVertices() : nullptr, m_usWorldVertsSize, usI0, usI1, usI2, pkP0, pkP1,
                     pkP2);
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

NiObject* NiTriStrip::MakeClone()
{
    NiTriStrip* pkClone = new NiTriStrip;
    CopyToClone(pkClone);
    return pkClone;
}

void NiTriStrip::AddFieldStrings(NiFieldStringList& kList) const
{
    NiTriBasedGeom::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiTriStrip"));
}
