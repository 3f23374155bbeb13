#pragma once
// Works a frame's menus as a person does: opening a menu sends the toolkit's menu-open event to
// the menu's window, as a click on its title does, and the frame's update pass then asks each
// item's command for its state; the items are read back as they would show.
#include "platform/mfc/Afx.h"

#include <string>
#include <vector>

class wxMenu;

namespace menu
{
struct ItemState
{
    UINT nID = 0;
    std::string kLabel;
    bool bEnabled = false;
    bool bCheckable = false;
    bool bChecked = false;
};

void Open(wxMenu* pkMenu);
// The command items of the menu and its submenus, in order.
std::vector<ItemState> Items(const wxMenu* pkMenu);
// The item of a command; a default state (id 0) when the menu has none.
ItemState Find(const wxMenu* pkMenu, UINT nID);
} // namespace menu
