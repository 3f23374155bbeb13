#include "scene/bezier/NiBezierTriangle4.h"

#include "scene/bezier/NiBezierTriangle2.h"
#include "scene/bezier/NiBezierTriangle3.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiBezierTriangle4, NiBezierTriangle);
NiImplementCreateObject(NiBezierTriangle4);

NiBezierTriangle3* NiBezierTriangle4::MakeCubic()
{
    return MakeDegreeChange<NiBezierTriangle3>(ReducedPoints(3));
}

NiBezierTriangle2* NiBezierTriangle4::MakeQuadratic()
{
    return MakeDegreeChange<NiBezierTriangle2>(ReducedPoints(2));
}
