#include "platform/mfc/CComboBox.h"

#include <wx/choice.h>

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

namespace
{
wxChoice* ListOf(wxWindow* pkWindow)
{
    return dynamic_cast<wxChoice*>(pkWindow);
}
} // namespace

int CComboBox::AddString(const char* pcText)
{
    wxChoice* pkList = ListOf(m_pkWindow);
    return pkList != nullptr ? pkList->Append(wxString::FromUTF8(pcText != nullptr ? pcText : "")) : CB_ERR;
}

void CComboBox::ResetContent()
{
    if (wxChoice* pkList = ListOf(m_pkWindow))
        pkList->Clear();
}

int CComboBox::GetCount() const
{
    wxChoice* pkList = ListOf(m_pkWindow);
    return pkList != nullptr ? static_cast<int>(pkList->GetCount()) : 0;
}

int CComboBox::GetCurSel() const
{
    wxChoice* pkList = ListOf(m_pkWindow);
    return pkList != nullptr ? pkList->GetSelection() : CB_ERR;
}

int CComboBox::SetCurSel(int nSelect)
{
    wxChoice* pkList = ListOf(m_pkWindow);
    if (pkList == nullptr)
        return CB_ERR;
    if (nSelect < 0 || nSelect >= static_cast<int>(pkList->GetCount()))
    {
        pkList->SetSelection(wxNOT_FOUND);
        return CB_ERR;
    }
    pkList->SetSelection(nSelect);
    return nSelect;
}

void CComboBox::GetLBText(int nIndex, CString& kText) const
{
    wxChoice* pkList = ListOf(m_pkWindow);
    kText = pkList != nullptr && nIndex >= 0 && nIndex < static_cast<int>(pkList->GetCount())
                ? CString(std::string(pkList->GetString(static_cast<unsigned int>(nIndex)).utf8_str()))
                : CString();
}
