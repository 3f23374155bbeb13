#include "scene/bezier/NiBezierSkinController.h"

#include "scene/bezier/NiBezierMesh.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiBezierSkinController, NiSkinController);
NiImplementCreateObject(NiBezierSkinController);

NiBezierSkinController::NiBezierSkinController() = default;

NiBezierSkinController::~NiBezierSkinController() = default;

NiBezierMesh* NiBezierSkinController::GetMesh() const
{
    return NiDynamicCast<NiBezierMesh>(m_pTarget);
}

bool NiBezierSkinController::IsTargetValid() const
{
    return GetMesh() != nullptr;
}

uint16_t NiBezierSkinController::GetVertexCount() const
{
    const NiBezierMesh* pkMesh = GetMesh();
    return pkMesh && pkMesh->GetPoints() ? pkMesh->GetPointCount() : 0;
}

NiSkinController* NiBezierSkinController::CreateClone() const
{
    return new NiBezierSkinController;
}

void NiBezierSkinController::Update(float fTime)
{
    if (!GetActive() || fTime == m_fLastTime)
        return;
    m_fLastTime = fTime;
    // A file may aim the skin at any object; only a mesh has points to move.
    NiBezierMesh* pkMesh = GetMesh();
    if (!pkMesh || !pkMesh->GetPoints())
        return;
    Deform(pkMesh->GetPoints());
    pkMesh->InterpolateEdgeVertices();
    pkMesh->RetessellatePatches();
    pkMesh->RecomputeWorldBound();
}
