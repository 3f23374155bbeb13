#include "scene/graph/NiLines.h"

#include "scene/graph/NiRender.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiLines, NiGeometry);
NiImplementCreateObject(NiLines);

NiLines::NiLines(uint16_t usVertices, NiPoint3* pkVertex, NiColorA* pkColor, NiTexCoord* pkTexture,
                 uint8_t* pucFlags)
    : NiGeometry(new NiLinesData(usVertices, pkVertex, pkColor, pkTexture, pucFlags))
{
}

const ClassRecord* NiLines::GetDataClassRecord() const
{
    return &NiLinesData::ms_kClassRecord;
}

void NiLines::Draw(NiCamera* pkCamera)
{
    NiRender* pkRenderer = BeginDraw(pkCamera);
    if (!pkRenderer)
        return;
    pkRenderer->DrawLines(GetLinesData(), *GetWorldBoundPtr());
}

NiObject* NiLines::MakeClone()
{
    NiLines* pkClone = new NiLines;
    CopyToClone(pkClone);
    return pkClone;
}

void NiLines::AddFieldStrings(NiFieldStringList& kList) const
{
    NiGeometry::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiLines"));
}
