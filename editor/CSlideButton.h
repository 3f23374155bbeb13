#pragma once

#include "editor/CDragButton.h"
#include "scene/object/NiPoint3.h"

// A push button that moves a position while dragged: the left button moves it in X and Y (the
// cursor going down increases Y), the right button in Z, 0.05 units per pixel; each step tells
// the parent (NM_SLIDE_CHANGED).
class CSlideButton : public CDragButton
{
    DECLARE_DYNAMIC(CSlideButton)

public:
    CSlideButton() = default;

    void OnMouseMove(UINT nFlags, CPoint kPoint) override;

    NiPoint3 m_kPosition = NiPoint3::ZERO;
};
