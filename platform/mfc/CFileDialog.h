#pragma once

#include "platform/mfc/Afx.h"
#include "platform/mfc/CString.h"

class CWnd;

// The open or save dialog for one file. The initial name may be a folder followed by a
// pattern ("dir/*.py"): the dialog then starts in that folder. A name typed without an
// extension gets the default one.
class CFileDialog
{
public:
    CFileDialog(BOOL bOpenFileDialog, const char* pcDefExt = nullptr, const char* pcFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* pcFilter = nullptr,
                CWnd* pParentWnd = nullptr);
    virtual ~CFileDialog();

    // Through the modal service: IDOK with a chosen path, or IDCANCEL.
    virtual int DoModal();

    CString GetPathName() const { return m_strPathName; }
    CString GetFileName() const;
    CString GetFileExt() const;
    // What the person chose (the modal hook sets it); the default extension is added when
    // the name has none.
    void SetPathName(const char* pcPathName);

    BOOL IsOpenDialog() const { return m_bOpenFileDialog; }
    const CString& GetDefExt() const { return m_strDefExt; }
    const CString& GetInitialFileName() const { return m_strFileName; }
    DWORD GetFlags() const { return m_dwFlags; }
    const CString& GetFilter() const { return m_strFilter; }

private:
    BOOL m_bOpenFileDialog;
    CString m_strDefExt;
    CString m_strFileName;
    DWORD m_dwFlags;
    CString m_strFilter;
    CWnd* m_pParentWnd;
    CString m_strPathName;
};
