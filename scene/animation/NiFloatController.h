#pragma once

#include "scene/animation/NiDataController.h"
#include "scene/animation/NiFloatData.h"

#include <cstdint>

// The abstract base of the controllers driven by one float-key array (alpha, roll).
class NiFloatController : public NiDataController<NiFloatData>
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    // The data's keys with their count and type; null, 0 and KEY_BASE without data.
    FloatKey** GetKeys(uint32_t& uiCount, KeyType& eType) const;
    // Hands the keys (at least one) to the data, made when missing, and sets the key-time
    // range to the keys' first and last time.
    void SetKeys(FloatKey** ppKeys, uint32_t uiCount, KeyType eType);

    uint32_t GetLastIndex() const { return m_uiLastIndex; }

    static NiFloatController* FindController(const NiObjectNET* pkObject)
    {
        return NiFindController<NiFloatController>(pkObject);
    }

protected:
    NiFloatController() = default;

    // The common first steps of Update: false (nothing to write) without a target or keys,
    // while inactive, or at the time of the last update; otherwise the keys' value at the
    // controller time of the given time.
    bool ComputeValue(float fTime, float& fValue);

    void CopyToClone(NiFloatController* pkClone) const;

    uint32_t m_uiLastIndex = 0;
};
