#pragma once

#include "scene/object/NiObjectNET.h"

// The top-level object of a sequence file: its extra data holds the sequence's text keys and
// the names of the animated objects, its controllers the sequence's keyframe controllers. It
// carries nothing of its own and is never cloned.
class NiSequenceStreamHelper : public NiObjectNET
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiSequenceStreamHelper() = default;

    NiObject* MakeClone() override { return nullptr; }
};
