#pragma once

#include "scene/animation/NiDataController.h"
#include "scene/animation/NiPosData.h"
#include "scene/object/NiColor.h"

#include <cstdint>

// The shared body of the light and material colour controllers: the colour comes from the
// position keys of an NiPosData (x, y, z as red, green, blue), clamped to [0, 1].
class NiPosColorController : public NiDataController<NiPosData>
{
public:
    // Hands the keys (at least one) to the data, made when missing, and sets the key-time range
    // to the keys' first and last time.
    void SetKeys(uint32_t uiCount, PositionKey** ppKeys, KeyType eType);

    uint32_t GetLastIndex() const { return m_uiLastIndex; }

protected:
    explicit NiPosColorController(NiPosData* pkData) : NiDataController(pkData) {}

    // The common first steps of Update: false while inactive, at the time of the last update,
    // or without keys; otherwise the clamped colour at the controller time of the given time.
    bool ComputeColor(float fTime, NiColor& kColor);

    void CopyToClone(NiPosColorController* pkClone) const;

    uint32_t m_uiLastIndex = 0;
};
