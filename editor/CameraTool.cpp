#include "editor/CameraTool.h"

#include "editor/CMainFrame.h"
#include "editor/CNifView.h"
#include "editor/CPropertyDoc.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiNode.h"

int CameraTool::Begin(int x, int y)
{
    m_iStartX = m_iLastX = x;
    m_iStartY = m_iLastY = y;
    m_bActive = true;
    m_iDx = m_iDy = 0;
    return 0;
}

int CameraTool::Move(int x, int y)
{
    m_iDx = x - m_iLastX;
    m_iDy = y - m_iLastY;
    m_iLastX = x;
    m_iLastY = y;
    return m_iDx;
}

int CameraTool::End(int x, int y)
{
    const int iResult = Move(x, y);
    m_bActive = false;
    return iResult;
}

bool CameraTool::ShouldMoveCamera() const
{
    if (!m_bActive || (m_iDx == 0 && m_iDy == 0))
        return false;
    NiCamera* pkCamera = m_pkView->GetCamera();
    return pkCamera != nullptr && pkCamera->GetScene() != nullptr;
}

void CameraTool::InvalidateView() const
{
    m_pkView->Invalidate(TRUE);
}

void CameraTool::ShiftCameraAndTarget(const NiPoint3& kDelta) const
{
    NiCamera* pkCamera = m_pkView->GetCamera();
    pkCamera->SetTranslate(pkCamera->GetWorldLocation() + kDelta);
    const NiPoint3 kTarget = m_pkView->GetTarget() + kDelta;
    m_pkView->SetTarget(kTarget.x, kTarget.y, kTarget.z);
    pkCamera->UpdateSubtree(0.0f);
}

NiRotationMatrix CameraTool::TurnOfLastMove() const
{
    const NiCamera* pkCamera = m_pkView->GetCamera();
    NiRotationMatrix kAboutUp;
    kAboutUp.MakeRotationAboutAxis(static_cast<float>(m_iDx) * CAMERA_TOOL_RADIANS_PER_PIXEL,
                                   pkCamera->GetWorldUpVector());
    NiRotationMatrix kAboutRight;
    kAboutRight.MakeRotationAboutAxis(static_cast<float>(m_iDy) * CAMERA_TOOL_RADIANS_PER_PIXEL,
                                      pkCamera->GetWorldRightVector());
    return kAboutRight * kAboutUp;
}

std::unique_ptr<NiPicker> CameraTool::MakeNearestHitPicker()
{
    auto spPicker = std::make_unique<NiPicker>();
    spPicker->SetHitMode(NiPicker::FIND_FIRST);
    return spPicker;
}

NiPicker::Record* CameraTool::PickAt(NiPicker& kPicker, int x, int y) const
{
    auto* pkDoc = m_pkView->GetModelDocument();
    const NiCamera* pkCamera = m_pkView->GetCamera();
    if (pkDoc == nullptr || pkCamera == nullptr || x < 0 || y < 0)
        return nullptr;
    kPicker.SetTarget(pkDoc->GetSceneRoot());
    kPicker.SetWantNormal(true);
    // A point the camera makes no ray for picks nothing rather than an unset ray.
    NiPoint3 kOrigin;
    NiPoint3 kDirection;
    if (!pkCamera->RayFromWindowPoint(static_cast<uint32_t>(x), static_cast<uint32_t>(y), kOrigin,
                                      kDirection))
        return nullptr;
    kPicker.Pick(kOrigin, kDirection, false);
    for (uint32_t i = 0; i < kPicker.GetSize(); ++i)
        if (NiPicker::Record* pkRecord = kPicker.GetAt(i))
            return pkRecord;
    return nullptr;
}

void CameraTool::ShowPick(const NiPicker::Record& kHit) const
{
    auto* pkDoc = m_pkView->GetModelDocument();
    if (pkDoc == nullptr)
        return;
    const NiPoint3 kPoint = kHit.m_kPoint;
    const NiPoint3 kNormal = kHit.m_kNormal;
    pkDoc->SetPickPoint(kPoint.x, kPoint.y, kPoint.z);
    pkDoc->SetPickNormal(kNormal.x, kNormal.y, kNormal.z);
    auto* pkMain = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    if (pkMain == nullptr)
        return;
    CString kText;
    kText.Format("(%f, %f, %f)", kPoint.x, kPoint.y, kPoint.z);
    pkMain->SetPickPointText(kText);
    kText.Format("(%f, %f, %f)", kNormal.x, kNormal.y, kNormal.z);
    pkMain->SetPickNormalText(kText);
}
