#include "scene/animation/NiPosData.h"

#include "scene/object/NiStream.h"

NiImplementRTTI(NiPosData, NiObject);
NiImplementCreateObject(NiPosData);
