#include "platform/mfc/CDataExchange.h"

#include "platform/mfc/ModalService.h"

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/textctrl.h>
#include <wx/window.h>

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <strings.h>

namespace
{
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool OnlyBlanks(const char* pc)
{
    while (*pc != '\0' && IsBlank(*pc))
        ++pc;
    return *pc == '\0';
}

std::string ControlText(wxWindow* pkControl)
{
    if (auto* pkEdit = dynamic_cast<wxTextCtrl*>(pkControl))
        return std::string(pkEdit->GetValue().utf8_str());
    return std::string(pkControl->GetLabel().utf8_str());
}

void SetControlText(wxWindow* pkControl, const std::string& kText)
{
    const wxString kValue = wxString::FromUTF8(kText.c_str());
    // ChangeValue: the edit's change notification is not sent for our own writes.
    if (auto* pkEdit = dynamic_cast<wxTextCtrl*>(pkControl))
        pkEdit->ChangeValue(kValue);
    else
        pkControl->SetLabel(kValue);
}

[[noreturn]] void FailWith(CDataExchange* pDX, const char* pcMessage)
{
    if (!pDX->m_bQuiet)
        AfxMessageBox(pcMessage, MB_OK | MB_ICONWARNING);
    pDX->Fail();
}

bool ParseInteger(const char* pc, bool bSigned, long long& llOut)
{
    while (IsBlank(*pc))
        ++pc;
    const char* pcStart = pc;
    if (*pc == '-' || *pc == '+')
    {
        if (*pc == '-' && !bSigned)
            return false;
        ++pc;
    }
    if (*pc < '0' || *pc > '9')
        return false;
    char* pcEnd = nullptr;
    errno = 0;
    llOut = std::strtoll(pcStart, &pcEnd, 10);
    return errno != ERANGE && OnlyBlanks(pcEnd);
}

template <class T> void ExchangeFloat(CDataExchange* pDX, int nIDC, T& value, int iDigits)
{
    wxWindow* pkControl = pDX->PrepareEditCtrl(nIDC);
    if (pkControl == nullptr)
        return;
    if (!pDX->m_bSaveAndValidate)
    {
        CString kText;
        kText.Format("%.*g", iDigits, static_cast<double>(value));
        SetControlText(pkControl, kText.Str());
        return;
    }
    const std::string kText = ControlText(pkControl);
    const char* pc = kText.c_str();
    while (IsBlank(*pc))
        ++pc;
    char* pcEnd = nullptr;
    const double dValue = std::strtod(pc, &pcEnd);
    // Infinity, "nan" and numbers beyond the member's range are no numbers it can hold.
    if (*pc == '\0' || pcEnd == pc || !OnlyBlanks(pcEnd) || !std::isfinite(dValue) ||
        std::fabs(dValue) > static_cast<double>(std::numeric_limits<T>::max()))
        FailWith(pDX, "Please enter a number.");
    value = static_cast<T>(dValue);
}
} // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

wxWindow* CDataExchange::PrepareCtrl(int nIDC)
{
    wxWindow* pkHost = m_pDlgWnd != nullptr ? m_pDlgWnd->GetToolkitWindow() : nullptr;
    m_pkLastControl =
        pkHost != nullptr ? pkHost->FindWindow(CWnd::ToolkitId(static_cast<UINT>(nIDC))) : nullptr;
    m_bEditLastControl = false;
    return m_pkLastControl;
}

wxWindow* CDataExchange::PrepareEditCtrl(int nIDC)
{
    wxWindow* pkControl = PrepareCtrl(nIDC);
    m_bEditLastControl = true;
    return pkControl;
}

void CDataExchange::Fail()
{
    if (m_pkLastControl != nullptr && !m_bQuiet)
    {
        m_pkLastControl->SetFocus();
        if (auto* pkEdit = dynamic_cast<wxTextCtrl*>(m_pkLastControl);
            pkEdit != nullptr && m_bEditLastControl)
            pkEdit->SelectAll();
    }
    throw CUserException();
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    wxWindow* pkControl = pDX->PrepareEditCtrl(nIDC);
    if (pkControl == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        value = CString(ControlText(pkControl));
    else
        SetControlText(pkControl, value.Str());
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    wxWindow* pkControl = pDX->PrepareEditCtrl(nIDC);
    if (pkControl == nullptr)
        return;
    if (!pDX->m_bSaveAndValidate)
    {
        SetControlText(pkControl, std::to_string(value));
        return;
    }
    long long llValue = 0;
    if (!ParseInteger(ControlText(pkControl).c_str(), true, llValue) || llValue < INT_MIN ||
        llValue > INT_MAX)
        FailWith(pDX, "Please enter an integer.");
    value = static_cast<int>(llValue);
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    wxWindow* pkControl = pDX->PrepareEditCtrl(nIDC);
    if (pkControl == nullptr)
        return;
    if (!pDX->m_bSaveAndValidate)
    {
        SetControlText(pkControl, std::to_string(value));
        return;
    }
    long long llValue = 0;
    if (!ParseInteger(ControlText(pkControl).c_str(), false, llValue) || llValue > UINT_MAX)
        FailWith(pDX, "Please enter a positive integer.");
    value = static_cast<UINT>(llValue);
}

void DDX_Text(CDataExchange* pDX, int nIDC, float& value)
{
    ExchangeFloat(pDX, nIDC, value, FLT_DIG);
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    ExchangeFloat(pDX, nIDC, value, DBL_DIG);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    auto* pkCheck = dynamic_cast<wxCheckBox*>(pDX->PrepareCtrl(nIDC));
    if (pkCheck == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        value = pkCheck->GetValue() ? 1 : 0;
    else
        pkCheck->SetValue(value != 0);
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    auto* pkList = dynamic_cast<wxChoice*>(pDX->PrepareCtrl(nIDC));
    if (pkList == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        index = pkList->GetSelection();
    else
        pkList->SetSelection(index >= 0 && index < static_cast<int>(pkList->GetCount()) ? index
                                                                                        : wxNOT_FOUND);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    auto* pkList = dynamic_cast<wxChoice*>(pDX->PrepareCtrl(nIDC));
    if (pkList == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
    {
        const int iSelection = pkList->GetSelection();
        value = iSelection == wxNOT_FOUND ? CString()
                                          : CString(std::string(pkList->GetString(iSelection).utf8_str()));
        return;
    }
    int iFound = wxNOT_FOUND;
    for (unsigned int i = 0; i < pkList->GetCount() && iFound == wxNOT_FOUND; ++i)
    {
        const std::string kItem(pkList->GetString(i).utf8_str());
        if (kItem.size() >= static_cast<size_t>(value.GetLength()) &&
            strncasecmp(kItem.c_str(), value, static_cast<size_t>(value.GetLength())) == 0)
            iFound = static_cast<int>(i);
    }
    pkList->SetSelection(iFound);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.GetToolkitWindow() != nullptr)
        return;
    if (wxWindow* pkControl = pDX->PrepareCtrl(nIDC))
        rControl.SubclassWindow(pkControl);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    // It checks the control of the exchange just before it.
    if (!pDX->m_bSaveAndValidate)
    {
        // The toolkit would cut a longer text already there: that one stays whole, and OK
        // reports it.
        if (auto* pkEdit = dynamic_cast<wxTextCtrl*>(pDX->GetLastControl());
            pkEdit != nullptr && value.GetLength() <= nChars)
            pkEdit->SetMaxLength(static_cast<unsigned long>(nChars));
        return;
    }
    if (value.GetLength() > nChars)
    {
        CString kMessage;
        kMessage.Format("Please enter no more than %d characters.", nChars);
        FailWith(pDX, kMessage);
    }
}
