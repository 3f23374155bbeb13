#pragma once

#include <wx/treectrl.h>

#include <functional>

namespace mfc
{
// The toolkit tree behind a tree control: its items hang under a hidden root (so there may be
// several top-level items), and its children sort by a comparison the control sets (text
// order when none is set).
class TreeWidget : public wxTreeCtrl
{
public:
    using Compare = std::function<int(const wxTreeItemId&, const wxTreeItemId&)>;

    TreeWidget(wxWindow* pkParent, int iId, const wxPoint& kAt, const wxSize& kSize);

    // The hidden root, made on first use.
    wxTreeItemId HiddenRoot();
    void SetCompare(Compare fnCompare) { m_fnCompare = std::move(fnCompare); }

protected:
    int OnCompareItems(const wxTreeItemId& kFirst, const wxTreeItemId& kSecond) override;

private:
    Compare m_fnCompare;
};

// The value an item carries.
class TreeItemValue : public wxTreeItemData
{
public:
    explicit TreeItemValue(uintptr_t uiValue) : m_uiValue(uiValue) {}
    uintptr_t m_uiValue;
};
} // namespace mfc
