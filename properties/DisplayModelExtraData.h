#pragma once

#include "scene/object/NiExtraData.h"

class NiObjectNET;

// The marker that every piece of property display geometry carries in its extra-data chain, so
// that the editor tells it from the model's own scene objects (the scene tree skips a marked
// object with its subtree). It holds nothing, has no stream loader and never reaches a file; a
// clone of it is a plain NiExtraData.
class DisplayModelExtraData : public NiExtraData
{
    NiDeclareRTTI;

public:
    DisplayModelExtraData() = default;

    // Puts a new marker on the object.
    static void Mark(NiObjectNET* pkObject);
    // True when some entry of the object's extra-data chain is exactly this class (a subclass
    // does not count).
    static bool IsMarked(const NiObjectNET* pkObject);
};
