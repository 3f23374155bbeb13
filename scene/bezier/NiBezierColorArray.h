#pragma once

#include "scene/bezier/NiBezierArray.h"
#include "scene/object/NiColorA.h"

// Output colours of a patch.
class NiBezierColorArray : public NiBezierArray<NiColorA>
{
public:
    using NiBezierArray::NiBezierArray;

    uint32_t Add(float fR, float fG, float fB, float fA) { return Append(NiColorA(fR, fG, fB, fA)); }
};
