#pragma once

#include "scene/graph/NiTriBasedGeomData.h"

#include <cstdint>

// Particles: every vertex is one particle, drawn as a small sprite around its position, with a
// common radius and a size per particle. The first m_usActive particles are alive; the data
// has one triangle slot per particle and no texture coordinates.
class NiParticlesData : public NiTriBasedGeomData
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    // The loader's constructor: no particles, no sizes.
    NiParticlesData();
    // Takes the arrays (allocated with new[]); every particle alive with size 1.
    NiParticlesData(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor);
    ~NiParticlesData() override;

    void SetRadius(float fRadius) { m_fRadius = fRadius; }
    float GetRadius() const { return m_fRadius; }
    // Never more than the particles there are.
    void SetActiveCount(uint16_t usActive);
    uint16_t GetActiveCount() const { return m_usActive; }
    float* GetSizes() const { return m_pSizes; }
    // Deletes the old sizes and takes the new ones (one per particle, allocated with new[]).
    void ReplaceSizes(float* pfSizes);
    // Takes the new sizes and leaves the old ones to the caller.
    void SetSizesPointer(float* pfSizes) { m_pSizes = pfSizes; }

    // Particles have no faces to take normals from.
    void ComputeNormals() override {}

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    float m_fRadius = 1.0f;
    uint16_t m_usActive = 0;
    float* m_pSizes = nullptr;
};
