#pragma once

#include "scene/graph/NiParticlesData.h"

#include <cstdint>

// Particles whose normals are not kept but set at each draw to face the camera; the normal
// array always exists.
class NiAutoNormalParticlesData : public NiParticlesData
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiAutoNormalParticlesData();
    // Takes the arrays (allocated with new[]) and makes the normals.
    NiAutoNormalParticlesData(uint16_t usVertices, NiPoint3* pkVertex, NiColorA* pkColor);
    ~NiAutoNormalParticlesData() override;

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void AddFieldStrings(NiFieldStringList& kList) const override;
};
