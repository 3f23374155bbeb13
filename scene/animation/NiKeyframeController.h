#pragma once

#include "scene/animation/NiDataController.h"
#include "scene/animation/NiKeyframeData.h"

#include <cstdint>

// Drives the local rotation, translation and scale of one scene object from keyframe data,
// each from its own key array with its own cached key index. A missing array leaves that part
// of the transform as it was.
class NiKeyframeController : public NiDataController<NiKeyframeData>
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    explicit NiKeyframeController(NiKeyframeData* pkData = nullptr);

    // Each hands the keys to the data (made when missing), resets the matching cached index and,
    // when asked, recomputes the key-time range. The data may be shared: only this
    // controller's index is reset.
    void SetRotationKeys(RotationKey** ppKeys, uint32_t uiCount, KeyType eType, bool bUpdateRange);
    void SetPositionKeys(PositionKey** ppKeys, uint32_t uiCount, KeyType eType, bool bUpdateRange);
    void SetScaleKeys(FloatKey** ppKeys, uint32_t uiCount, KeyType eType, bool bUpdateRange);
    // The key-time range spanning every present array (an Euler array through its axes).
    void UpdateKeyTimeRange();

    uint32_t GetLastRotIndex() const { return m_uiLastRotIndex; }
    uint32_t GetLastPosIndex() const { return m_uiLastPosIndex; }
    uint32_t GetLastScaleIndex() const { return m_uiLastScaleIndex; }

    static NiKeyframeController* FindController(const NiObjectNET* pkObject)
    {
        return NiFindController<NiKeyframeController>(pkObject);
    }

    void Update(float fTime) override;
    bool IsTargetValid() const override;
    NiObject* MakeClone() override;

protected:
    void CopyToClone(NiKeyframeController* pkClone) const;

private:
    uint32_t m_uiLastRotIndex = 0;
    uint32_t m_uiLastPosIndex = 0;
    uint32_t m_uiLastScaleIndex = 0;
};
