#include "editor/RotateTool.h"

#include "editor/CNifView.h"
#include "platform/mfc/Afx.h"
#include "scene/graph/NiCamera.h"

int RotateTool::Move(int x, int y)
{
    const int iResult = CameraTool::Move(x, y);
    if (!ShouldMoveCamera())
        return iResult;
    NiCamera* pkCamera = m_pkView->GetCamera();
    const NiPoint3 kLocation = pkCamera->GetWorldLocation();
    NiPoint3 kUp = pkCamera->GetWorldUpVector();
    NiRotationMatrix kTurn;
    if ((m_uiKeyFlags & MK_SHIFT) != 0)
    {
        // A roll: the target stays on the view axis, only the up vector turns.
        kTurn.MakeRotationAboutAxis(static_cast<float>(m_iDx) * CAMERA_TOOL_RADIANS_PER_PIXEL,
                                    pkCamera->GetWorldDirection());
        kUp = kTurn * kUp;
    }
    else
        kTurn = TurnOfLastMove();
    const NiPoint3 kTarget = kLocation - kTurn * (kLocation - m_pkView->GetTarget());
    m_pkView->SetTarget(kTarget.x, kTarget.y, kTarget.z);
    pkCamera->LookAt(kTarget, kUp);
    InvalidateView();
    return iResult;
}
