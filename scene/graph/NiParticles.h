#pragma once

#include "scene/graph/NiParticlesData.h"
#include "scene/graph/NiTriBasedGeom.h"

#include <cstdint>

// A particle set in the scene: transforms, bounds and draws only the live particles of its
// data. Each particle is a point-like triangle for collision; particles are never picked.
class NiParticles : public NiTriBasedGeom
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiParticles() = default;
    explicit NiParticles(NiParticlesData* pkData) : NiTriBasedGeom(pkData) {}
    // Makes its data from the arrays, which the data takes over.
    NiParticles(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor);

    NiParticlesData* GetParticlesData() const { return static_cast<NiParticlesData*>(m_spGeomData.Get()); }

    bool GetModelTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2) override;
    bool GetWorldTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2) override;
    // Particles have no corner indices.
    bool GetTriangleIndices(uint16_t usTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2) override;

    const ClassRecord* GetDataClassRecord() const override;
    void ComputeWorldVertices() override;
    void ComputeWorldNormals() override;
    void Draw(NiCamera* pkCamera) override;
    bool FindPickHits(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker) override;
    void RecomputeWorldBound() override;

    NiObject* MakeClone() override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    // The draw after the common steps: the live particles, counted in the statistics.
    void DrawParticles(NiRender* pkRenderer);
};
