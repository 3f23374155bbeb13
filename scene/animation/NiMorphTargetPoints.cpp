#include "scene/animation/NiMorphTargetPoints.h"

#include "scene/graph/NiGeometryData.h"
#include "scene/graph/NiTriBasedGeom.h"

namespace
{
const ClassRecord* g_pkPointClass = nullptr;
NiMorphTargetPoints::GetPointsFunction g_pfnGetPoints = nullptr;
NiMorphTargetPoints::PointsChangedFunction g_pfnPointsChanged = nullptr;

bool IsPointTarget(const NiObjectNET* pkTarget)
{
    return g_pkPointClass && pkTarget && pkTarget->IsOfClass(g_pkPointClass);
}
} // namespace

void NiMorphTargetPoints::RegisterPointTarget(const ClassRecord* pkClass, GetPointsFunction pfnGetPoints,
                                              PointsChangedFunction pfnPointsChanged)
{
    g_pkPointClass = pkClass;
    g_pfnGetPoints = pfnGetPoints;
    g_pfnPointsChanged = pfnPointsChanged;
}

NiPoint3* NiMorphTargetPoints::GetPoints(NiObjectNET* pkTarget, uint32_t& uiCount, bool& bTriangles)
{
    uiCount = 0;
    bTriangles = false;
    if (NiTriBasedGeom* pkGeometry = NiDynamicCast<NiTriBasedGeom>(pkTarget))
    {
        bTriangles = true;
        NiGeometryData* pkData = pkGeometry->GetGeometryData();
        if (!pkData)
            return nullptr;
        uiCount = pkData->GetVertexCount();
        return pkData->GetVertices();
    }
    if (IsPointTarget(pkTarget) && g_pfnGetPoints)
        return g_pfnGetPoints(pkTarget, uiCount);
    return nullptr;
}

void NiMorphTargetPoints::PointsChanged(NiObjectNET* pkTarget, bool bRecomputeNormals)
{
    if (NiTriBasedGeom* pkGeometry = NiDynamicCast<NiTriBasedGeom>(pkTarget))
    {
        NiGeometryData* pkData = pkGeometry->GetGeometryData();
        if (!pkData)
            return;
        if (bRecomputeNormals && pkData->GetNormals())
            pkGeometry->ComputeNormals();
        pkData->IncrementRevision();
        return;
    }
    if (IsPointTarget(pkTarget) && g_pfnPointsChanged)
        g_pfnPointsChanged(pkTarget);
}
