#pragma once

#include "scene/animation/NiDataController.h"
#include "scene/animation/NiVisData.h"

#include <cstdint>

// Shows and hides its target by visibility keys: the target is app-culled while the key in
// force says invisible.
class NiVisController : public NiDataController<NiVisData>
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    explicit NiVisController(NiVisData* pkData = nullptr);

    // Hands the keys to the data (made when missing); with the range flag the key-time range
    // becomes the keys' span.
    void SetKeys(BoolKey** ppKeys, uint32_t uiCount, bool bUpdateRange);
    void UpdateKeyTimeRange();

    uint32_t GetLastIndex() const { return m_uiLastIndex; }

    static NiVisController* FindController(const NiObjectNET* pkObject)
    {
        return NiFindController<NiVisController>(pkObject);
    }

    void Update(float fTime) override;
    bool IsTargetValid() const override;
    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;

private:
    uint32_t m_uiLastIndex = 0;
};
