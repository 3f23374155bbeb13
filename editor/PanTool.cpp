#include "editor/PanTool.h"

#include "editor/CNifView.h"
#include "editor/CPropertyDoc.h"
#include "scene/graph/NiCamera.h"

int PanTool::Move(int x, int y)
{
    const int iResult = CameraTool::Move(x, y);
    if (!ShouldMoveCamera())
        return iResult;
    const NiCamera* pkCamera = m_pkView->GetCamera();
    const float s = g_fModelScale;
    ShiftCameraAndTarget(pkCamera->GetWorldUpVector() * (s * static_cast<float>(m_iDy)) -
                         pkCamera->GetWorldRightVector() * (0.5f * s * static_cast<float>(m_iDx)));
    InvalidateView();
    return iResult;
}
