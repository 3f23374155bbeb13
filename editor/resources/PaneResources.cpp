#include "editor/resources/PaneResources.h"

#include "editor/resources/Resource.h"
#include "platform/mfc/Resources.h"

#include <cstdlib>
#include <functional>
#include <string>

namespace
{
using mfc::ControlKind;
// A painter answers the colour letter of a pixel of a 16 by 16 image.
using Painter = std::function<char(int x, int y)>;
constexpr int SIZE = 16;

// A strip of images side by side as XPM lines; '.' is pure red, the mask colour.
mfc::BitmapResource Strip(UINT nID, std::initializer_list<Painter> kImages)
{
    const int iWidth = SIZE * static_cast<int>(kImages.size());
    mfc::BitmapResource kBitmap{nID, {}};
    kBitmap.kXpm = {std::to_string(iWidth) + " 16 8 1",
                    ". c #FF0000",
                    "k c #202020",
                    "y c #E8C84A",
                    "w c #FFFFFF",
                    "b c #3060C0",
                    "c c #50B0E0",
                    "g c #40A040",
                    "s c #909090"};
    for (int y = 0; y < SIZE; ++y)
    {
        std::string kRow;
        for (const Painter& fnImage : kImages)
            for (int x = 0; x < SIZE; ++x)
                kRow += fnImage(x, y);
        kBitmap.kXpm.push_back(std::move(kRow));
    }
    return kBitmap;
}

bool Inside(int x, int y, int iLeft, int iTop, int iRight, int iBottom)
{
    return x >= iLeft && x <= iRight && y >= iTop && y <= iBottom;
}

// A box with an outline.
char Box(int x, int y, int iLeft, int iTop, int iRight, int iBottom, char cFill)
{
    if (!Inside(x, y, iLeft, iTop, iRight, iBottom))
        return '.';
    const bool bEdge = x == iLeft || x == iRight || y == iTop || y == iBottom;
    return bEdge ? 'k' : cFill;
}

char Folder(int x, int y, bool bOpen)
{
    if (Inside(x, y, 1, 2, 6, 3))
        return Box(x, y, 1, 2, 6, 4, 'y');
    if (bOpen && Inside(x, y, 3, 7, 15, 13))
        return Box(x, y, 3, 7, 15, 13, 'w');
    return Box(x, y, 1, 4, 14, 13, 'y');
}

char Page(int x, int y, bool bOpen)
{
    const char c = Box(x, y, 3, 1, 12, 14, 'w');
    if (bOpen && c == 'w' && y % 3 == 0 && x > 4 && x < 11)
        return 's';
    return c;
}

// A diamond of the colour (outlined when hollow).
char Diamond(int x, int y, char cFill, bool bHollow)
{
    const int iDistance = std::abs(x - 7) + std::abs(y - 7);
    if (iDistance > 6)
        return '.';
    if (iDistance == 6)
        return 'k';
    return bHollow ? 'w' : cFill;
}

char Node(int x, int y, bool bWithChildren)
{
    if (!bWithChildren)
        return Box(x, y, 4, 4, 11, 11, 'g');
    if (Inside(x, y, 1, 1, 7, 7))
        return Box(x, y, 1, 1, 7, 7, 'b');
    if ((x == 4 && y > 7 && y < 13) || (y == 12 && x > 4 && x < 9))
        return 'k';
    return Box(x, y, 9, 9, 14, 14, 'c');
}

void AddBitmaps()
{
    mfc::Resources::AddBitmap(Strip(IDB_TREE_FOLDERS, {[](int x, int y) { return Folder(x, y, false); },
                                                       [](int x, int y) { return Folder(x, y, true); },
                                                       [](int x, int y) { return Page(x, y, false); },
                                                       [](int x, int y) { return Page(x, y, true); }}));
    mfc::Resources::AddBitmap(Strip(IDB_TREE_OBJECTS, {[](int x, int y) { return Diamond(x, y, 'b', false); },
                                                       [](int x, int y) { return Diamond(x, y, 'c', false); },
                                                       [](int x, int y) { return Diamond(x, y, 's', true); },
                                                       [](int x, int y) { return Node(x, y, true); },
                                                       [](int x, int y) { return Node(x, y, false); }}));
}

void AddForms()
{
    mfc::Resources::AddDialog(
        {IDD_SCENEGRAPHVIEW,
         "",
         130,
         220,
         {{ControlKind::Static, 0, "Filter:", 4, 4, 24, 8},
          {ControlKind::CheckBox, IDC_FILTER_NODES, "Nodes", 30, 3, 40, 10},
          {ControlKind::CheckBox, IDC_FILTER_PLACEDNODES, "Placed Nodes", 30, 14, 60, 10},
          {ControlKind::CheckBox, IDC_FILTER_NAMEDOBJECTS, "Named Objects", 30, 25, 66, 10},
          {ControlKind::Tree, IDC_SCENE_TREE, "", 4, 38, 122, 178}}});
    mfc::Resources::AddDialog(
        {IDD_PROPERTYVIEW,
         "",
         130,
         220,
         {{ControlKind::ListBox, IDC_PROPERTY_LIST, "", 4, 4, 122, 160},
          {ControlKind::Button, IDC_ADD_PROPERTY, "Add Property", 4, 168, 122, 14},
          {ControlKind::Button, IDC_DELETE_PROPERTY, "Delete Property", 4, 185, 122, 14, mfc::WS_DISABLED},
          {ControlKind::Button, IDC_EDIT_PROPERTY, "Edit Property", 4, 202, 122, 14, mfc::WS_DISABLED}}});
}

void AddTemplateDialogs()
{
    constexpr DWORD OFF = mfc::WS_DISABLED;
    mfc::Resources::AddDialog(
        {IDD_AVAILABLETEMPLATES,
         "Available Templates",
         330,
         200,
         {{ControlKind::Static, 0, "Global:", 7, 7, 120, 8},
          {ControlKind::ListBox, IDC_GLOBAL_TEMPLATES, "", 7, 18, 120, 140},
          {ControlKind::Button, IDC_NEW_GLOBAL, "New...", 7, 162, 50, 14},
          {ControlKind::Button, IDC_MOVE_TO_LOCAL, "=>", 135, 60, 30, 14, OFF},
          {ControlKind::Button, IDC_MOVE_TO_GLOBAL, "<=", 135, 80, 30, 14, OFF},
          {ControlKind::Static, 0, "Local:", 173, 7, 120, 8},
          {ControlKind::ListBox, IDC_LOCAL_TEMPLATES, "", 173, 18, 120, 140},
          {ControlKind::Button, IDC_NEW_LOCAL, "New...", 173, 162, 50, 14},
          {ControlKind::DefButton, IDOK, "OK", 273, 179, 50, 14},
          {ControlKind::Button, IDC_DELETE_TEMPLATE, "Delete", 7, 179, 50, 14, OFF},
          {ControlKind::Button, IDC_EDIT_TEMPLATE, "Edit...", 61, 179, 50, 14, OFF},
          {ControlKind::Button, IDC_RENAME_TEMPLATE, "Rename...", 115, 179, 50, 14, OFF},
          {ControlKind::Button, IDC_COPY_TO_LOCAL, "Copy to Local", 169, 179, 50, 14, OFF},
          {ControlKind::Button, IDC_DUPLICATE_TEMPLATE, "Duplicate...", 223, 179, 46, 14, OFF}}});
    mfc::Resources::AddDialog({IDD_PICKTEMPLATE,
                               "Pick Template",
                               260,
                               200,
                               {{ControlKind::Static, 0, "Pick a type:", 7, 7, 246, 8},
                                {ControlKind::ListBox, IDC_TEMPLATE_TYPES, "", 7, 18, 246, 50},
                                {ControlKind::Static, 0, "Pick a template for the hardpoint:", 7, 74, 246, 8},
                                {ControlKind::Static, 0, "Global templates:", 7, 86, 120, 8},
                                {ControlKind::ListBox, IDC_GLOBAL_TEMPLATES, "", 7, 97, 120, 78},
                                {ControlKind::Static, 0, "Local templates:", 133, 86, 120, 8},
                                {ControlKind::ListBox, IDC_LOCAL_TEMPLATES, "", 133, 97, 120, 78},
                                {ControlKind::DefButton, IDOK, "OK", 149, 179, 50, 14, OFF},
                                {ControlKind::Button, IDCANCEL, "Cancel", 203, 179, 50, 14}}});
    mfc::Resources::AddDialog({IDD_RENAMETEMPLATE,
                               "Rename Template",
                               200,
                               62,
                               {{ControlKind::Static, 0, "Enter the name of this template:", 7, 7, 186, 8},
                                {ControlKind::Edit, IDC_TEMPLATE_NAME, "", 7, 18, 186, 14},
                                {ControlKind::DefButton, IDOK, "OK", 89, 41, 50, 14},
                                {ControlKind::Button, IDCANCEL, "Cancel", 143, 41, 50, 14}}});
    mfc::Resources::AddDialog({IDD_NEWTEMPLATE,
                               "New Template",
                               160,
                               170,
                               {{ControlKind::ListBox, IDC_PROPERTY_TYPES, "", 7, 7, 146, 136, mfc::LBS_SORT},
                                {ControlKind::DefButton, IDOK, "OK", 49, 149, 50, 14, OFF},
                                {ControlKind::Button, IDCANCEL, "Cancel", 103, 149, 50, 14}}});
}
} // namespace

void RegisterPaneResources()
{
    AddBitmaps();
    AddForms();
    AddTemplateDialogs();
}
