#pragma once

#include "editor/CDragButton.h"
#include "scene/object/NiPoint3.h"

// A push button that turns a frame (forward, up, right) while dragged, one degree per pixel: the
// left button yaws about up (horizontal moves; not with Control held) and pitches about right
// (vertical moves; not with Shift held), the right button rolls about forward. Every move
// normalises the axes first; each drag step tells the parent (NM_SPIN_CHANGED).
class CSpinButton : public CDragButton
{
    DECLARE_DYNAMIC(CSpinButton)

public:
    CSpinButton() = default;

    void OnMouseMove(UINT nFlags, CPoint kPoint) override;

    NiPoint3 m_kForward = NiPoint3::ZERO;
    NiPoint3 m_kUp = NiPoint3::ZERO;
    NiPoint3 m_kRight = NiPoint3::ZERO;
};
