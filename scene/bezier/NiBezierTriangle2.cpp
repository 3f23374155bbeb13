#include "scene/bezier/NiBezierTriangle2.h"

#include "scene/bezier/NiBezierTriangle3.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiBezierTriangle2, NiBezierTriangle);
NiImplementCreateObject(NiBezierTriangle2);

NiBezierTriangle3* NiBezierTriangle2::MakeCubic()
{
    return MakeDegreeChange<NiBezierTriangle3>(ElevatedPoints());
}
