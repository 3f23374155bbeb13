#include "editor/CSlideButton.h"

#include "editor/resources/PageResource.h"

IMPLEMENT_DYNAMIC(CSlideButton, CDragButton)

namespace
{
constexpr float UNITS_PER_PIXEL = 0.05f;
}

void CSlideButton::OnMouseMove(UINT, CPoint kPoint)
{
    const int iDX = kPoint.x - m_iLastX;
    const int iDY = kPoint.y - m_iLastY;
    if (m_iDragMode == 1)
    {
        m_kPosition.x += static_cast<float>(iDX) * UNITS_PER_PIXEL;
        m_kPosition.y += static_cast<float>(iDY) * UNITS_PER_PIXEL;
    }
    else if (m_iDragMode == 2)
        m_kPosition.z += static_cast<float>(iDY) * UNITS_PER_PIXEL;
    m_iLastX = kPoint.x;
    m_iLastY = kPoint.y;
    if (m_iDragMode != 0)
        NotifyParent(NM_SLIDE_CHANGED);
}
