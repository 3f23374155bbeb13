#include "editor/CSpinButton.h"

#include "editor/resources/PageResource.h"
#include "scene/object/NiRotationMatrix.h"

IMPLEMENT_DYNAMIC(CSpinButton, CDragButton)

namespace
{
// One degree, as the float nearest pi / 180.
constexpr float RADIANS_PER_PIXEL = 0.017453292f;

NiRotationMatrix Turn(float fAngle, const NiPoint3& kAxis)
{
    NiRotationMatrix kTurn;
    kTurn.MakeRotationAboutAxis(fAngle, kAxis);
    return kTurn;
}
} // namespace

void CSpinButton::OnMouseMove(UINT nFlags, CPoint kPoint)
{
    const int iA = m_iLastX - kPoint.x;
    const int iB = kPoint.y - m_iLastY;
    m_kForward.Unitize();
    m_kUp.Unitize();
    m_kRight.Unitize();
    NiPoint3* apkAxes[] = {&m_kForward, &m_kUp, &m_kRight};
    if (m_iDragMode == 2)
    {
        // The transpose of the engine's matrix turns counter-clockwise about the axis.
        const NiRotationMatrix kRoll = Turn(static_cast<float>(iA) * RADIANS_PER_PIXEL, m_kForward);
        for (NiPoint3* pkAxis : apkAxes)
            *pkAxis = kRoll.TransposeTimes(*pkAxis);
    }
    else if (m_iDragMode == 1)
    {
        // The pitch about the old right axis first, then the yaw about the old up axis.
        const NiRotationMatrix kYaw = (nFlags & MK_CONTROL)
                                          ? NiRotationMatrix::IDENTITY
                                          : Turn(static_cast<float>(iA) * RADIANS_PER_PIXEL, m_kUp);
        const NiRotationMatrix kPitch = (nFlags & MK_SHIFT)
                                            ? NiRotationMatrix::IDENTITY
                                            : Turn(static_cast<float>(iB) * RADIANS_PER_PIXEL, m_kRight);
        for (NiPoint3* pkAxis : apkAxes)
            *pkAxis = kYaw.TransposeTimes(kPitch.TransposeTimes(*pkAxis));
    }
    m_iLastX = kPoint.x;
    m_iLastY = kPoint.y;
    if (m_iDragMode != 0)
        NotifyParent(NM_SPIN_CHANGED);
}
