#pragma once

#include "scene/bezier/NiBezierDegreeOf.h"
#include "scene/bezier/NiBezierTriangle.h"

class NiBezierTriangle3;

// The triangular patch of degree 2: 6 control points, row by row of rising v-power.
class NiBezierTriangle2 : public NiBezierDegreeOf<NiBezierTriangle2, NiBezierTriangle, 2>
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using NiBezierDegreeOf::NiBezierDegreeOf;

    // The same surface raised to degree 3; the caller owns it.
    NiBezierTriangle3* MakeCubic();
};
