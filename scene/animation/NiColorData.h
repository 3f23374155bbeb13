#pragma once

#include "scene/animation/ColorKey.h"
#include "scene/animation/NiKeyData.h"

// One array of colour keys (particle colours), shared by the controllers that use it.
class NiColorData : public NiKeyData<ColorKeyFamily>
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiColorData() = default;
};
