#include "editor/OrbitTool.h"

#include "editor/CNifView.h"
#include "scene/graph/NiCamera.h"

int OrbitTool::Move(int x, int y)
{
    const int iResult = CameraTool::Move(x, y);
    if (!ShouldMoveCamera())
        return iResult;
    NiCamera* pkCamera = m_pkView->GetCamera();
    const NiPoint3 kTarget = m_pkView->GetTarget();
    const NiPoint3 kUp = pkCamera->GetWorldUpVector();
    pkCamera->SetTranslate(kTarget + TurnOfLastMove() * (pkCamera->GetWorldLocation() - kTarget));
    pkCamera->UpdateSubtree(0.0f);
    pkCamera->LookAt(kTarget, kUp);
    InvalidateView();
    return iResult;
}
