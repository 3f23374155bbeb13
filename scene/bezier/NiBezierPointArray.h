#pragma once

#include "scene/bezier/NiBezierArray.h"
#include "scene/object/NiPoint3.h"

// Output positions or normals of a patch, and the world copies made from them.
class NiBezierPointArray : public NiBezierArray<NiPoint3>
{
public:
    using NiBezierArray::NiBezierArray;

    uint32_t Add(float fX, float fY, float fZ) { return Append(NiPoint3(fX, fY, fZ)); }
};
