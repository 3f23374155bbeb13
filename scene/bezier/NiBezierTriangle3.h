#pragma once

#include "scene/bezier/NiBezierDegreeOf.h"
#include "scene/bezier/NiBezierTriangle.h"

class NiBezierTriangle2;
class NiBezierTriangle4;

// The triangular patch of degree 3: 10 control points, row by row of rising v-power.
class NiBezierTriangle3 : public NiBezierDegreeOf<NiBezierTriangle3, NiBezierTriangle, 3>
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using NiBezierDegreeOf::NiBezierDegreeOf;

    // The same surface raised to degree 4, and the nearest quadratic; the caller owns them.
    NiBezierTriangle4* MakeQuartic();
    NiBezierTriangle2* MakeQuadratic();
};
