#include "platform/mfc/CSplitterWnd.h"

#include "platform/mfc/CFrameWnd.h"
#include "platform/mfc/CView.h"

#include <algorithm>

#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/splitter.h>

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID)
{
    if (pParentWnd == nullptr || pParentWnd->GetToolkitWindow() == nullptr || nRows < 1 || nCols < 1 ||
        (nRows > 1 && nCols > 1))
        return FALSE;
    m_nRows = nRows;
    m_nCols = nCols;
    const int iPanes = nRows * nCols;
    m_kPanes.assign(static_cast<size_t>(iPanes), nullptr);
    m_kExtents.assign(static_cast<size_t>(iPanes), 0);
    wxWindow* pkParent = pParentWnd->GetToolkitWindow();
    wxWindow* pkOuter = nullptr;
    if (iPanes == 1)
        pkOuter = new wxPanel(pkParent, ToolkitId(nID));
    else
        for (int i = 0; i + 1 < iPanes; ++i)
        {
            auto* pkSplitter = new wxSplitterWindow(i == 0 ? pkParent : m_kSplitters.back(),
                                                    i == 0 ? ToolkitId(nID) : wxID_ANY, wxDefaultPosition,
                                                    wxDefaultSize, wxSP_3D | wxSP_LIVE_UPDATE);
            pkSplitter->SetMinimumPaneSize(20);
            // Extra room goes to the second-to-last pane (the middle one of three).
            pkSplitter->SetSashGravity(i + 2 == iPanes ? 1.0 : 0.0);
            if (i == 0)
                pkOuter = pkSplitter;
            m_kSplitters.push_back(pkSplitter);
        }
    if (m_kSplitters.empty())
        m_kSplitters.push_back(pkOuter);
    Attach(pkOuter);
    m_dwStyle = dwStyle;
    auto* pkSizer = new wxBoxSizer(wxVERTICAL);
    pkSizer->Add(pkOuter, 1, wxEXPAND);
    pkParent->SetSizer(pkSizer);
    return TRUE;
}

wxWindow* CSplitterWnd::SlotParent(int iIndex) const
{
    const int iPanes = static_cast<int>(m_kPanes.size());
    if (iPanes == 1)
        return m_kSplitters[0];
    return m_kSplitters[static_cast<size_t>(std::min(iIndex, iPanes - 2))];
}

BOOL CSplitterWnd::CreateView(int row, int col, const CRuntimeClass* pViewClass, CSize sizeInit,
                              CCreateContext* pContext)
{
    const int iIndex = m_nRows > 1 ? row : col;
    if (row < 0 || col < 0 || row >= m_nRows || col >= m_nCols ||
        m_kPanes[static_cast<size_t>(iIndex)] != nullptr || pViewClass == nullptr)
        return FALSE;
    auto* pkView = dynamic_cast<CView*>(pViewClass->CreateObject());
    if (pkView == nullptr)
        return FALSE;
    if (!pkView->Create(SlotParent(iIndex), IdFromRowCol(row, col), pContext))
    {
        delete pkView;
        return FALSE;
    }
    m_kPanes[static_cast<size_t>(iIndex)] = pkView;
    m_kExtents[static_cast<size_t>(iIndex)] = m_nRows > 1 ? sizeInit.cy : sizeInit.cx;
    SplitWhenReady();
    return TRUE;
}

void CSplitterWnd::SplitWhenReady()
{
    const int iPanes = static_cast<int>(m_kPanes.size());
    if (iPanes == 1)
    {
        auto* pkSizer = new wxBoxSizer(wxVERTICAL);
        pkSizer->Add(m_kPanes[0]->GetToolkitWindow(), 1, wxEXPAND);
        m_kSplitters[0]->SetSizer(pkSizer);
        return;
    }
    for (CWnd* pkPane : m_kPanes)
        if (pkPane == nullptr)
            return;
    // Inner splitters first, so that each outer one splits a window that is complete.
    for (int i = iPanes - 2; i >= 0; --i)
    {
        auto* pkSplitter = static_cast<wxSplitterWindow*>(m_kSplitters[static_cast<size_t>(i)]);
        wxWindow* pkFirst = m_kPanes[static_cast<size_t>(i)]->GetToolkitWindow();
        wxWindow* pkSecond = i + 2 == iPanes ? m_kPanes[static_cast<size_t>(i + 1)]->GetToolkitWindow()
                                             : m_kSplitters[static_cast<size_t>(i + 1)];
        // The last splitter measures from its far side: the last pane keeps its extent while
        // the one before it takes what the window gains.
        const int iExtent =
            i + 2 == iPanes ? -m_kExtents[static_cast<size_t>(i + 1)] : m_kExtents[static_cast<size_t>(i)];
        if (m_nRows > 1)
            pkSplitter->SplitHorizontally(pkFirst, pkSecond, iExtent);
        else
            pkSplitter->SplitVertically(pkFirst, pkSecond, iExtent);
    }
}

CWnd* CSplitterWnd::GetPane(int row, int col) const
{
    if (row < 0 || col < 0 || row >= m_nRows || col >= m_nCols)
        return nullptr;
    return m_kPanes[static_cast<size_t>(m_nRows > 1 ? row : col)];
}

CWnd* CSplitterWnd::GetActivePane(int* pRow, int* pCol) const
{
    int iIndex = -1;
    // The focus may be in a control inside a pane: the pane is the one that contains it.
    for (wxWindow* pkFocus = wxWindow::FindFocus(); pkFocus != nullptr && iIndex < 0;
         pkFocus = pkFocus->GetParent())
        for (size_t i = 0; i < m_kPanes.size(); ++i)
            if (m_kPanes[i] != nullptr && m_kPanes[i]->GetToolkitWindow() == pkFocus)
                iIndex = static_cast<int>(i);
    if (iIndex < 0)
        if (CFrameWnd* pkFrame = GetParentFrame())
            for (size_t i = 0; i < m_kPanes.size(); ++i)
                if (m_kPanes[i] != nullptr && m_kPanes[i] == pkFrame->GetActiveView())
                    iIndex = static_cast<int>(i);
    if (iIndex < 0)
        return nullptr;
    if (pRow != nullptr)
        *pRow = m_nRows > 1 ? iIndex : 0;
    if (pCol != nullptr)
        *pCol = m_nRows > 1 ? 0 : iIndex;
    return m_kPanes[static_cast<size_t>(iIndex)];
}

void CSplitterWnd::SetActivePane(int row, int col)
{
    CWnd* pkPane = GetPane(row, col);
    if (pkPane == nullptr)
        return;
    if (auto* pkView = dynamic_cast<CView*>(pkPane))
        pkView->Activate();
    if (wxWindow* pkWindow = pkPane->GetToolkitWindow())
        pkWindow->SetFocus();
}

BOOL CSplitterWnd::CanActivateNext(BOOL) const
{
    return m_kPanes.size() > 1;
}

void CSplitterWnd::ActivateNext(BOOL bPrev)
{
    if (!CanActivateNext(bPrev))
        return;
    const int iPanes = static_cast<int>(m_kPanes.size());
    int iRow = 0;
    int iCol = 0;
    const bool bFound = GetActivePane(&iRow, &iCol) != nullptr;
    const int iIndex = m_nRows > 1 ? iRow : iCol;
    // With no pane active, the first step goes to the first pane (backwards to the last).
    const int iNext = !bFound ? (bPrev ? iPanes - 1 : 0) : (iIndex + (bPrev ? iPanes - 1 : 1)) % iPanes;
    SetActivePane(m_nRows > 1 ? iNext : 0, m_nRows > 1 ? 0 : iNext);
}
