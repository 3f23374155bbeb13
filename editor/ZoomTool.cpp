#include "editor/ZoomTool.h"

#include "editor/CNifView.h"
#include "editor/CPropertyDoc.h"
#include "scene/graph/NiCamera.h"

int ZoomTool::Move(int x, int y)
{
    const int iResult = CameraTool::Move(x, y);
    if (!ShouldMoveCamera())
        return iResult;
    ShiftCameraAndTarget(m_pkView->GetCamera()->GetWorldDirection() *
                         (-0.5f * g_fModelScale * static_cast<float>(m_iDy)));
    InvalidateView();
    return iResult;
}
