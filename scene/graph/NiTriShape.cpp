#include "scene/graph/NiTriShape.h"

#include "scene/graph/NiRender.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"
#include "scene/object/NiTimeController.h"

NiImplementRTTI(NiTriShape, NiTriBasedGeom);
NiImplementCreateObject(NiTriShape);

NiTriShape::NiTriShape(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor,
                       NiTexCoord* pkTexture, uint16_t usTriangles, uint16_t* pusTriList)
    : NiTriBasedGeom(
          new NiTriShapeData(usVertices, pkVertex, pkNormal, pkColor, pkTexture, usTriangles, pusTriList))
{
}

const ClassRecord* NiTriShape::GetDataClassRecord() const
{
    return &NiTriShapeData::ms_kClassRecord;
}

bool NiTriShape::GetTriangleIndices(uint16_t usTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2)
{
    const NiTriShapeData* pkData = GetTriShapeData();
    if (!pkData || !pkData->GetTriList() || 3u * usTriangle + 2 >= pkData->GetTriListLength())
        return false;
    const uint16_t* pusCorner = pkData->GetTriList() + 3 * usTriangle;
    usI0 = pusCorner[0];
    usI1 = pusCorner[1];
    usI2 = pusCorner[2];
    return true;
}

bool NiTriShape::GetModelTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2)
{
    uint16_t usI0 = 0, usI1 = 0, usI2 = 0;
    const bool bFound = GetTriangleIndices(usTriangle, usI0, usI1, usI2);
    return CornersAt(bFound ? GetVertexArray() : nullptr, m_spGeomData ? m_spGeomData->GetVertexCount() : 0,
                     usI0, usI1, usI2, pkP0, pkP1, pkP2);
}

bool NiTriShape::GetWorldTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2)
{
    uint16_t usI0 = 0, usI1 = 0, usI2 = 0;
    const bool bFound = GetTriangleIndices(usTriangle, usI0, usI1, usI2);
    return CornersAt(bFound ? GetWorldVertices() : nullptr, m_usWorldVertsSize, usI0, usI1, usI2, pkP0, pkP1,
                     pkP2);
}

void NiTriShape::Draw(NiCamera* pkCamera)
{
    NiRender* pkRenderer = BeginDraw(pkCamera);
    if (!pkRenderer)
        return;
    NiTriShapeData* pkData = GetTriShapeData();
    pkRenderer->DrawTriShape(pkData, *GetWorldBoundPtr());
    if (NiTimeController* pkController = GetControllers())
        pkController->OnDisplayed();
    CountDraw(pkData->GetActiveTriangleCount(), pkData->GetActiveVertexCount());
}

NiObject* NiTriShape::MakeClone()
{
    NiTriShape* pkClone = new NiTriShape;
    CopyToClone(pkClone);
    return pkClone;
}

void NiTriShape::AddFieldStrings(NiFieldStringList& kList) const
{
    NiTriBasedGeom::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiTriShape"));
}
