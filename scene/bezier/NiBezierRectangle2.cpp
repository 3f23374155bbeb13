#include "scene/bezier/NiBezierRectangle2.h"

NiImplementRTTI(NiBezierRectangle2, NiBezierRectangle);
NiImplementCreateObject(NiBezierRectangle2);
