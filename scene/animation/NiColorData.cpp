#include "scene/animation/NiColorData.h"

#include "scene/object/NiStream.h"

NiImplementRTTI(NiColorData, NiObject);
NiImplementCreateObject(NiColorData);
