#pragma once

#include "platform/mfc/Afx.h"

class CWnd;

// The colour chooser, modal, through the modal service. The sixteen custom colours are shared
// by every colour dialog of the run and kept between uses.
class CColorDialog
{
public:
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);
    virtual ~CColorDialog() = default;

    // IDOK when a colour was chosen (GetColor), IDCANCEL otherwise.
    virtual int DoModal();
    COLORREF GetColor() const { return m_clrCurrent; }
    // The colour the dialog shows (and, after OK, the chosen one).
    void SetCurrentColor(COLORREF clr) { m_clrCurrent = clr; }
    static COLORREF* GetSavedCustomColors();

    static constexpr int NUM_CUSTOM_COLORS = 16;

private:
    COLORREF m_clrCurrent;
    CWnd* m_pParentWnd;
};
