#pragma once
// Works a window's controls as a person would, through the framework's notifications: picks
// list entries, ticks boxes, types text and presses buttons, and reads lists and trees back.
#include "platform/mfc/CTreeCtrl.h"
#include "platform/mfc/CWnd.h"

#include <wx/checkbox.h>
#include <wx/listbox.h>
#include <wx/textctrl.h>

#include <string>
#include <vector>

namespace control
{
inline wxWindow* Find(CWnd* pkHost, UINT nID)
{
    return pkHost->GetToolkitWindow()->FindWindow(CWnd::ToolkitId(nID));
}

inline void Notify(CWnd* pkHost, UINT nID, int nCode)
{
    pkHost->SendMessage(WM_COMMAND, (static_cast<WPARAM>(static_cast<uint16_t>(nCode)) << 16) | nID);
}

inline void Click(CWnd* pkHost, UINT nID)
{
    Notify(pkHost, nID, BN_CLICKED);
}

inline bool IsEnabled(CWnd* pkHost, UINT nID)
{
    return Find(pkHost, nID)->IsEnabled();
}

inline std::vector<std::string> ListTexts(CWnd* pkHost, UINT nID)
{
    auto* pkList = static_cast<wxListBox*>(Find(pkHost, nID));
    std::vector<std::string> kTexts;
    for (unsigned int i = 0; i < pkList->GetCount(); ++i)
        kTexts.emplace_back(pkList->GetString(i).utf8_str());
    return kTexts;
}

inline int Selection(CWnd* pkHost, UINT nID)
{
    return static_cast<wxListBox*>(Find(pkHost, nID))->GetSelection();
}

// Selects the entry with the text (none: -1) as a click would, with its notification.
inline bool SelectEntry(CWnd* pkHost, UINT nID, const std::string& kText)
{
    auto* pkList = static_cast<wxListBox*>(Find(pkHost, nID));
    const int iAt = pkList->FindString(wxString::FromUTF8(kText.c_str()), true);
    if (iAt == wxNOT_FOUND)
        return false;
    pkList->SetSelection(iAt);
    Notify(pkHost, nID, LBN_SELCHANGE);
    return true;
}

inline void DoubleClickEntry(CWnd* pkHost, UINT nID, const std::string& kText)
{
    if (SelectEntry(pkHost, nID, kText))
        Notify(pkHost, nID, LBN_DBLCLK);
}

inline void Tick(CWnd* pkHost, UINT nID, bool bOn)
{
    static_cast<wxCheckBox*>(Find(pkHost, nID))->SetValue(bOn);
    Click(pkHost, nID);
}

inline void Type(CWnd* pkHost, UINT nID, const std::string& kText)
{
    static_cast<wxTextCtrl*>(Find(pkHost, nID))->ChangeValue(wxString::FromUTF8(kText.c_str()));
}

// The tree as indented lines: two spaces per level, the item's text.
inline void Outline(const CTreeCtrl& kTree, HTREEITEM hFirst, int iDepth, std::vector<std::string>& kOut)
{
    for (HTREEITEM hItem = hFirst; hItem != nullptr; hItem = kTree.GetNextSiblingItem(hItem))
    {
        kOut.push_back(std::string(static_cast<size_t>(iDepth) * 2, ' ') + kTree.GetItemText(hItem).Str());
        Outline(kTree, kTree.GetChildItem(hItem), iDepth + 1, kOut);
    }
}

inline std::vector<std::string> Outline(const CTreeCtrl& kTree)
{
    std::vector<std::string> kOut;
    Outline(kTree, kTree.GetRootItem(), 0, kOut);
    return kOut;
}
} // namespace control
