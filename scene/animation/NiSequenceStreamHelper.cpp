#include "scene/animation/NiSequenceStreamHelper.h"

#include "scene/object/NiStream.h"

NiImplementRTTI(NiSequenceStreamHelper, NiObjectNET);
NiImplementCreateObject(NiSequenceStreamHelper);
