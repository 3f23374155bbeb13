#pragma once

#include "platform/mfc/CPropertySheet.h"

#include <memory>
#include <vector>

class CPropertyDoc;
class CZenaraPropertyPage;
class SKModelProperty;

// The modeless sheet that edits one live property: one page per class level that has fields,
// the most derived level's first. Pages write into the property as they are applied; OK applies
// every page and closes; Cancel closes and restores the property from the copy taken at open.
// While the sheet is up the property carries one extra reference.
//
// Usage: AddPropertyPages(owner window, property) picks the first page from the property's class
// and opens the sheet (EditProperty); nothing else is needed. The sheet frees itself and its pages
// when it closes.
class CPropertyEditSheet : public CPropertySheet
{
    DECLARE_DYNAMIC(CPropertyEditSheet)

public:
    CPropertyEditSheet(const char* pszCaption, CWnd* pParentWnd, UINT iSelectPage);
    ~CPropertyEditSheet() override;

    // Opens a sheet on the property with the page (and the pages it adds), owned by the parent
    // window; the document is the main window's active one (null when no model is open).
    static void EditProperty(SKModelProperty* pkProperty, CZenaraPropertyPage* pkPage, CWnd* pParentWnd);

    // The sheet owns the page from now on.
    void AddPage(CZenaraPropertyPage* pPage);
    BOOL OnInitDialog() override;
    void PostNcDestroy() override;

    // True while the sheet's first pass makes every page's window.
    bool IsInitialising() const { return m_bInitialising; }

    // Sheets that refer to a document let go of it when it closes: their pages then skip redraws
    // and the buttons that need a pick.
    static void DocumentClosing(const CPropertyDoc* pkDocument);
    // The sheets that are up, oldest first.
    static const std::vector<CPropertyEditSheet*>& GetOpenSheets();

    SKModelProperty* m_pkBackupProperty = nullptr;
    SKModelProperty* m_pkEditProperty = nullptr;
    CPropertyDoc* m_pkDocument = nullptr;

protected:
    void OnOK();
    void OnCancel();
    void OnClose() override;

    DECLARE_MESSAGE_MAP()

private:
    void ReleaseProperties(bool bEditFirst);

    std::vector<std::unique_ptr<CZenaraPropertyPage>> m_kOwnedPages;
    bool m_bInitialising = false;
    bool m_bClosing = false;
};

// Opens the edit sheet for the property (owned by the window of the handle) with the page of
// its most derived class that has one. False, and nothing opens, for a class without a page; an
// engine glow opens nothing but answers true.
bool AddPropertyPages(HWND hParentWnd, SKModelProperty* pkProperty);
