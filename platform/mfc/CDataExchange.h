#pragma once
// Dialog data exchange: DoDataExchange lists the DDX_ calls that move values between a
// dialog's members and its controls, one direction per UpdateData. A value that does not
// parse shows its message, puts the focus (and selection) on the control and abandons the
// exchange; the members exchanged before it keep their new values.

#include "platform/mfc/CString.h"
#include "platform/mfc/CWnd.h"

class wxWindow;

// Thrown to abandon an exchange after its message was shown.
struct CUserException
{
};

class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    // The control's window (null when the dialog has none of that id).
    wxWindow* PrepareCtrl(int nIDC);
    wxWindow* PrepareEditCtrl(int nIDC);
    // Focuses (and, for an edit, selects) the last prepared control and abandons.
    [[noreturn]] void Fail();
    wxWindow* GetLastControl() const { return m_pkLastControl; }

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    // A quiet exchange fails without a message and leaves the focus where it is.
    BOOL m_bQuiet = FALSE;

private:
    wxWindow* m_pkLastControl = nullptr;
    bool m_bEditLastControl = false;
};

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
// 0 unchecked, 1 checked.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// The selected item of a drop-down list; -1 for none.
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
// Into the control: selects the first item that begins with the text (case-blind), or
// none. Out of it: the selected item's text, "" without a selection.
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
// Makes the framework object the control's window (once).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// Fails with "Please enter no more than %1 characters." past nChars.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
