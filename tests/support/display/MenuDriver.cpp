#include "tests/support/display/MenuDriver.h"

#include "platform/mfc/CWnd.h"

#include <wx/menu.h>

namespace menu
{
void Open(wxMenu* pkMenu)
{
    wxMenuEvent kEvent(wxEVT_MENU_OPEN, 0, pkMenu);
    wxMenu::ProcessMenuEvent(pkMenu, kEvent, pkMenu->GetWindow());
}

std::vector<ItemState> Items(const wxMenu* pkMenu)
{
    std::vector<ItemState> kItems;
    for (const wxMenuItem* pkItem : pkMenu->GetMenuItems())
    {
        if (pkItem->IsSeparator())
            continue;
        if (const wxMenu* pkSubMenu = pkItem->GetSubMenu())
        {
            const std::vector<ItemState> kSubItems = Items(pkSubMenu);
            kItems.insert(kItems.end(), kSubItems.begin(), kSubItems.end());
            continue;
        }
        kItems.push_back({CWnd::ResourceId(pkItem->GetId()),
                          std::string(pkItem->GetItemLabelText().utf8_str()), pkItem->IsEnabled(),
                          pkItem->IsCheckable(), pkItem->IsCheckable() && pkItem->IsChecked()});
    }
    return kItems;
}

ItemState Find(const wxMenu* pkMenu, UINT nID)
{
    for (const ItemState& kItem : Items(pkMenu))
        if (kItem.nID == nID)
            return kItem;
    return {};
}
} // namespace menu
