#pragma once

#include "scene/animation/FloatKey.h"
#include "scene/animation/NiKeyData.h"

// One array of float keys (alpha, scale, path percentage, roll angle), shared by the controllers that use it.
class NiFloatData : public NiKeyData<FloatKeyFamily>
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiFloatData() = default;
};
