#include "platform/mfc/CListBox.h"

#include <wx/listbox.h>

IMPLEMENT_DYNAMIC(CListBox, CWnd)

namespace
{
wxListBox* ListOf(wxWindow* pkWindow)
{
    return dynamic_cast<wxListBox*>(pkWindow);
}

bool HasEntry(const wxListBox* pkList, int nIndex)
{
    return pkList != nullptr && nIndex >= 0 && nIndex < static_cast<int>(pkList->GetCount());
}
} // namespace

int CListBox::AddString(const char* pcText)
{
    wxListBox* pkList = ListOf(m_pkWindow);
    if (pkList == nullptr)
        return LB_ERR;
    const int iAt = pkList->Append(wxString::FromUTF8(pcText != nullptr ? pcText : ""));
    // Every entry carries a value slot, so GetItemData of an entry without one answers 0.
    pkList->SetClientData(static_cast<unsigned int>(iAt), nullptr);
    return iAt;
}

int CListBox::DeleteString(UINT nIndex)
{
    wxListBox* pkList = ListOf(m_pkWindow);
    if (!HasEntry(pkList, static_cast<int>(nIndex)))
        return LB_ERR;
    pkList->Delete(nIndex);
    return static_cast<int>(pkList->GetCount());
}

void CListBox::ResetContent()
{
    if (wxListBox* pkList = ListOf(m_pkWindow))
        pkList->Clear();
}

int CListBox::GetCount() const
{
    wxListBox* pkList = ListOf(m_pkWindow);
    return pkList != nullptr ? static_cast<int>(pkList->GetCount()) : 0;
}

int CListBox::GetCurSel() const
{
    wxListBox* pkList = ListOf(m_pkWindow);
    if (pkList == nullptr)
        return LB_ERR;
    const int iSelection = pkList->GetSelection();
    return iSelection == wxNOT_FOUND ? LB_ERR : iSelection;
}

int CListBox::SetCurSel(int nSelect)
{
    wxListBox* pkList = ListOf(m_pkWindow);
    if (pkList == nullptr)
        return LB_ERR;
    if (!HasEntry(pkList, nSelect))
    {
        pkList->SetSelection(wxNOT_FOUND);
        return LB_ERR;
    }
    pkList->SetSelection(nSelect);
    return nSelect;
}

int CListBox::GetText(int nIndex, CString& kText) const
{
    wxListBox* pkList = ListOf(m_pkWindow);
    if (!HasEntry(pkList, nIndex))
    {
        kText = CString();
        return LB_ERR;
    }
    kText = CString(std::string(pkList->GetString(static_cast<unsigned int>(nIndex)).utf8_str()));
    return kText.GetLength();
}

int CListBox::SetItemData(int nIndex, uintptr_t dwItemData)
{
    wxListBox* pkList = ListOf(m_pkWindow);
    if (!HasEntry(pkList, nIndex))
        return LB_ERR;
    pkList->SetClientData(static_cast<unsigned int>(nIndex), reinterpret_cast<void*>(dwItemData));
    return 0;
}

uintptr_t CListBox::GetItemData(int nIndex) const
{
    wxListBox* pkList = ListOf(m_pkWindow);
    if (!HasEntry(pkList, nIndex))
        return 0;
    return reinterpret_cast<uintptr_t>(pkList->GetClientData(static_cast<unsigned int>(nIndex)));
}
