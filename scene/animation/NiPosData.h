#pragma once

#include "scene/animation/NiKeyData.h"
#include "scene/animation/PositionKey.h"

// One array of position keys (paths, and colours stored as points), shared by the controllers that use it.
class NiPosData : public NiKeyData<PositionKeyFamily>
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiPosData() = default;
};
