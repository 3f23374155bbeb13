#include "platform/mfc/Resources.h"

#include "platform/mfc/CString.h"

#include <map>

namespace
{
struct Tables
{
    std::map<UINT, mfc::MenuResource> kMenus;
    std::map<UINT, mfc::AcceleratorResource> kAccelerators;
    std::map<UINT, mfc::ToolBarResource> kToolBars;
    std::map<UINT, std::string> kStrings;
    std::map<UINT, mfc::DialogResource> kDialogs;
    std::map<UINT, mfc::BitmapResource> kBitmaps;
};

Tables& GetTables()
{
    static Tables s_kTables;
    return s_kTables;
}

template <class T> const T* FindIn(const std::map<UINT, T>& kMap, UINT nID)
{
    auto kAt = kMap.find(nID);
    return kAt == kMap.end() ? nullptr : &kAt->second;
}
} // namespace

namespace mfc
{
void Resources::AddMenu(MenuResource kMenu)
{
    GetTables().kMenus[kMenu.nID] = std::move(kMenu);
}

void Resources::AddAccelerators(AcceleratorResource kTable)
{
    GetTables().kAccelerators[kTable.nID] = std::move(kTable);
}

void Resources::AddToolBar(ToolBarResource kToolBar)
{
    GetTables().kToolBars[kToolBar.nID] = std::move(kToolBar);
}

void Resources::AddString(UINT nID, std::string kText)
{
    GetTables().kStrings[nID] = std::move(kText);
}

void Resources::AddDialog(DialogResource kDialog)
{
    GetTables().kDialogs[kDialog.nID] = std::move(kDialog);
}

void Resources::AddBitmap(BitmapResource kBitmap)
{
    GetTables().kBitmaps[kBitmap.nID] = std::move(kBitmap);
}

const BitmapResource* Resources::FindBitmap(UINT nID)
{
    return FindIn(GetTables().kBitmaps, nID);
}

const MenuResource* Resources::FindMenu(UINT nID)
{
    return FindIn(GetTables().kMenus, nID);
}

const AcceleratorResource* Resources::FindAccelerators(UINT nID)
{
    return FindIn(GetTables().kAccelerators, nID);
}

const ToolBarResource* Resources::FindToolBar(UINT nID)
{
    return FindIn(GetTables().kToolBars, nID);
}

const DialogResource* Resources::FindDialog(UINT nID)
{
    return FindIn(GetTables().kDialogs, nID);
}

bool Resources::FindString(UINT nID, std::string& kText)
{
    const std::string* pkText = FindIn(GetTables().kStrings, nID);
    kText = pkText != nullptr ? *pkText : std::string();
    return pkText != nullptr;
}
} // namespace mfc

BOOL AfxLoadString(UINT nID, CString& kText)
{
    std::string k;
    const bool bFound = mfc::Resources::FindString(nID, k);
    kText = CString(std::move(k));
    return bFound ? TRUE : FALSE;
}
