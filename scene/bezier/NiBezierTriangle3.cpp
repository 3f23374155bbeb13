#include "scene/bezier/NiBezierTriangle3.h"

#include "scene/bezier/NiBezierTriangle2.h"
#include "scene/bezier/NiBezierTriangle4.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiBezierTriangle3, NiBezierTriangle);
NiImplementCreateObject(NiBezierTriangle3);

NiBezierTriangle4* NiBezierTriangle3::MakeQuartic()
{
    return MakeDegreeChange<NiBezierTriangle4>(ElevatedPoints());
}

NiBezierTriangle2* NiBezierTriangle3::MakeQuadratic()
{
    return MakeDegreeChange<NiBezierTriangle2>(ReducedPoints(2));
}
