#pragma once

#include "platform/mfc/CWnd.h"

#include <vector>

struct CCreateContext;

// A static splitter of one row or one column of panes, each pane a window made from a
// run-time class; the user moves the bars between them.
class CSplitterWnd : public CWnd
{
    DECLARE_DYNAMIC(CSplitterWnd)

public:
    CSplitterWnd() = default;

    // Only one row or one column: the editor's frames need no grid.
    BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                      UINT nID = AFX_IDW_PANE_FIRST);
    // Makes the pane's window: the class must be a CWnd with a Create for panes (a view).
    // The size's cx (cy in a column) is the pane's initial extent.
    virtual BOOL CreateView(int row, int col, const CRuntimeClass* pViewClass, CSize sizeInit,
                            CCreateContext* pContext);
    CWnd* GetPane(int row, int col) const;
    int IdFromRowCol(int row, int col) const { return static_cast<int>(AFX_IDW_PANE_FIRST) + row * 16 + col; }
    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }

    // The pane that holds the keyboard focus, else the frame's active view; null when neither
    // is a pane of this splitter.
    CWnd* GetActivePane(int* pRow = nullptr, int* pCol = nullptr) const;
    // Makes the pane its frame's active view and gives it the keyboard.
    void SetActivePane(int row, int col);
    BOOL CanActivateNext(BOOL bPrev = FALSE) const;
    // Steps to the next pane (the previous with bPrev), round from the last to the first.
    void ActivateNext(BOOL bPrev = FALSE);

protected:
    bool WantsKeys() const override { return false; }

private:
    wxWindow* SlotParent(int iIndex) const;
    void SplitWhenReady();

    int m_nRows = 0;
    int m_nCols = 0;
    // The nested toolkit splitters: splitter i holds pane i and splitter i + 1 (the last
    // holds the last two panes).
    std::vector<wxWindow*> m_kSplitters;
    std::vector<CWnd*> m_kPanes;
    std::vector<int> m_kExtents;
};
