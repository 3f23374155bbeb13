#include "scene/animation/NiFloatData.h"

#include "scene/object/NiStream.h"

NiImplementRTTI(NiFloatData, NiObject);
NiImplementCreateObject(NiFloatData);
