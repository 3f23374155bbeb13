#include "platform/mfc/TreeWidget.h"

namespace mfc
{
TreeWidget::TreeWidget(wxWindow* pkParent, int iId, const wxPoint& kAt, const wxSize& kSize)
    : wxTreeCtrl(pkParent, iId, kAt, kSize,
                 wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE | wxTR_HIDE_ROOT | wxBORDER_SUNKEN)
{
}

wxTreeItemId TreeWidget::HiddenRoot()
{
    wxTreeItemId kRoot = GetRootItem();
    if (!kRoot.IsOk())
        kRoot = AddRoot(wxString());
    return kRoot;
}

int TreeWidget::OnCompareItems(const wxTreeItemId& kFirst, const wxTreeItemId& kSecond)
{
    return m_fnCompare ? m_fnCompare(kFirst, kSecond) : wxTreeCtrl::OnCompareItems(kFirst, kSecond);
}
} // namespace mfc
