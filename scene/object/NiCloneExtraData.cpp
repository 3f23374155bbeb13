#include "scene/object/NiCloneExtraData.h"

// No loader: the marker never reaches a file.
NiImplementRTTI(NiCloneExtraData, NiExtraData);
