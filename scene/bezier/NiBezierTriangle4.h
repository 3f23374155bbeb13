#pragma once

#include "scene/bezier/NiBezierDegreeOf.h"
#include "scene/bezier/NiBezierTriangle.h"

class NiBezierTriangle2;
class NiBezierTriangle3;

// The triangular patch of degree 4: 15 control points, row by row of rising v-power.
class NiBezierTriangle4 : public NiBezierDegreeOf<NiBezierTriangle4, NiBezierTriangle, 4>
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using NiBezierDegreeOf::NiBezierDegreeOf;

    // The nearest cubic and quadratic; the caller owns them.
    NiBezierTriangle3* MakeCubic();
    NiBezierTriangle2* MakeQuadratic();
};
