#pragma once

#include "scene/graph/NiAutoNormalParticlesData.h"
#include "scene/graph/NiParticles.h"

#include <cstdint>

// A particle set whose live particles face the camera: each draw sets their normals to the
// reverse of the camera's view direction.
class NiAutoNormalParticles : public NiParticles
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiAutoNormalParticles() = default;
    explicit NiAutoNormalParticles(NiAutoNormalParticlesData* pkData) : NiParticles(pkData) {}
    // Makes its data from the arrays, which the data takes over.
    NiAutoNormalParticles(uint16_t usVertices, NiPoint3* pkVertex, NiColorA* pkColor);

    void Draw(NiCamera* pkCamera) override;

    NiObject* MakeClone() override;
    void AddFieldStrings(NiFieldStringList& kList) const override;
};
