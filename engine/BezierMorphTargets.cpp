// Joins the morph controllers (scene/animation) to the Bezier mesh (scene/bezier): the two
// libraries sit side by side on the scene graph and cannot name each other, so the mesh's
// shared control points are made a morph target here, once, before any scene loads.
#include "scene/animation/NiMorphTargetPoints.h"
#include "scene/bezier/NiBezierMesh.h"

namespace
{
NiPoint3* MeshPoints(NiObjectNET* pkTarget, uint32_t& uiCount)
{
    NiBezierMesh* pkMesh = static_cast<NiBezierMesh*>(pkTarget);
    NiPoint3* pkPoints = pkMesh->GetPoints();
    uiCount = pkPoints ? pkMesh->GetPointCount() : 0;
    return pkPoints;
}

// New control points: the raised edge points follow them, every patch tessellates again and
// the bound moves with the surface.
void MeshPointsChanged(NiObjectNET* pkTarget)
{
    NiBezierMesh* pkMesh = static_cast<NiBezierMesh*>(pkTarget);
    pkMesh->InterpolateEdgeVertices();
    pkMesh->RetessellatePatches();
    pkMesh->RecomputeWorldBound();
}

const bool g_bJoined = (NiMorphTargetPoints::RegisterPointTarget(&NiBezierMesh::ms_kClassRecord, &MeshPoints,
                                                                 &MeshPointsChanged),
                        true);
} // namespace
