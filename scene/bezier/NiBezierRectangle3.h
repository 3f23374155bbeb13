#pragma once

#include "scene/bezier/NiBezierDegreeOf.h"
#include "scene/bezier/NiBezierRectangle.h"

class NiBezierRectangle2;

// The bicubic patch: 4 x 4 control points, point (i, j) at entry i + 4 j.
class NiBezierRectangle3 : public NiBezierDegreeOf<NiBezierRectangle3, NiBezierRectangle, 3>
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using NiBezierDegreeOf::NiBezierDegreeOf;

    // A biquadratic patch close to this one (exact for a raised biquadratic); its texture
    // coordinates and colours are this patch's at the nine half-step parameters. The caller
    // owns it.
    NiBezierRectangle2* MakeBiquadratic();
};
