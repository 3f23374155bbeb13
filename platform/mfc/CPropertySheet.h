#pragma once

#include "platform/mfc/CWnd.h"

#include <vector>

class CPropertyPage;
class wxBookCtrlEvent;
class wxNotebook;

// A tabbed window of property pages with the standard buttons OK (1), Cancel (2), Apply and
// Help. Pages are added before Create and stay the caller's. A page's window is made the first
// time it is activated; changing tabs asks the page being left (OnKillActive) and refreshes
// the page being entered (OnSetActive). A modeless sheet (Create) starts with its standard
// buttons hidden and disabled and its window cut off above them.
class CPropertySheet : public CWnd
{
    DECLARE_DYNAMIC(CPropertySheet)

public:
    CPropertySheet() = default;
    explicit CPropertySheet(const char* pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    ~CPropertySheet() override;

    void AddPage(CPropertyPage* pPage);
    int GetPageCount() const { return static_cast<int>(m_kPages.size()); }
    CPropertyPage* GetPage(int nPage) const;
    CPropertyPage* GetActivePage() const { return GetPage(m_iActive); }
    int GetActiveIndex() const { return m_iActive; }
    // FALSE when the index is out of range or the page being left refuses.
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage);

    // Makes the modeless window (owned by the parent window) and runs OnInitDialog. The style
    // bits only decide whether the window is shown (WS_VISIBLE); it never has a close box.
    virtual BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = static_cast<DWORD>(-1),
                        DWORD dwExStyle = 0);
    // The base activates the start page and, for a modeless sheet, hides the standard buttons.
    virtual BOOL OnInitDialog();

    CString GetCaption() const { return m_strCaption; }
    void OnDestroy() override;

private:
    void OnPageChanging(wxBookCtrlEvent& kEvent);
    void OnPageChanged(wxBookCtrlEvent& kEvent);
    BOOL ActivatePage(int nPage);

    CString m_strCaption;
    CWnd* m_pParentWnd = nullptr;
    UINT m_iSelectPage = 0;
    std::vector<CPropertyPage*> m_kPages;
    int m_iActive = -1;
    wxNotebook* m_pkTabs = nullptr;
};
