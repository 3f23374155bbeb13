#pragma once

#include "scene/graph/NiGeometry.h"
#include "scene/graph/NiLinesData.h"

#include <cstdint>

// A line set in the scene, drawn through NiRender::DrawLines. The model properties build
// their markers from these. Unlike the triangle draws, a line draw neither tells the
// controllers nor counts in the draw statistics.
class NiLines : public NiGeometry
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiLines() = default;
    explicit NiLines(NiLinesData* pkData) : NiGeometry(pkData) {}
    // Makes its data from the arrays, which the data takes over (see NiLinesData).
    NiLines(uint16_t usVertices, NiPoint3* pkVertex, NiColorA* pkColor, NiTexCoord* pkTexture,
            uint8_t* pucFlags);

    NiLinesData* GetLinesData() const { return static_cast<NiLinesData*>(m_spGeomData.Get()); }

    const ClassRecord* GetDataClassRecord() const override;
    void Draw(NiCamera* pkCamera) override;

    NiObject* MakeClone() override;
    void AddFieldStrings(NiFieldStringList& kList) const override;
};
