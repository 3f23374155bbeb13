#pragma once

#include "scene/bezier/NiBezierDegreeOf.h"
#include "scene/bezier/NiBezierRectangle.h"

// The biquadratic patch: 3 x 3 control points, point (i, j) at entry i + 3 j.
class NiBezierRectangle2 : public NiBezierDegreeOf<NiBezierRectangle2, NiBezierRectangle, 2>
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using NiBezierDegreeOf::NiBezierDegreeOf;
};
