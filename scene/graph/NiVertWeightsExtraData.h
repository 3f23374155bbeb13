#pragma once

#include "scene/object/NiExtraData.h"

#include <cstdint>
#include <memory>

// Extra data carrying one weight per vertex. The size field holds the size of the stream form
// (count x 4 + 2) once weights were given.
class NiVertWeightsExtraData : public NiExtraData
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiVertWeightsExtraData();
    // A copy of uiCount weights; no weights, a count of 0 or one beyond 16 bits leave the
    // object empty.
    NiVertWeightsExtraData(uint32_t uiCount, const float* pfWeights);
    ~NiVertWeightsExtraData() override;

    // Replaces the weights as the constructor takes them; emptying the object also clears the
    // size, so that it matches a new empty one.
    void SetWeights(uint32_t uiCount, const float* pfWeights);
    uint16_t GetCount() const { return m_usCount; }
    // The weights, or null when there are none.
    const float* GetWeights() const { return m_pfWeight.get(); }

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    void CopyToClone(NiVertWeightsExtraData* pkClone) const;

private:
    uint16_t m_usCount = 0;
    std::unique_ptr<float[]> m_pfWeight;
};
