#pragma once
// The application's resources as tables: menus, accelerators, tool bars, strings and dialog
// templates, looked up by id. The application registers its tables before it creates a
// window; windows build themselves from them.

#include "platform/mfc/Afx.h"

#include <string>
#include <vector>

namespace mfc
{
// Whether a command's menu item shows a check mark (its update handler sets it).
enum class MenuMark
{
    None,
    Check,
};

// A menu entry: a command (text, id and mark), a pop-up (text and entries) or a separator
// (neither text nor entries).
struct MenuEntry
{
    MenuEntry() = default;
    MenuEntry(std::string kCommandText, UINT nCommandID, MenuMark eCommandMark = MenuMark::None)
        : kText(std::move(kCommandText)), nID(nCommandID), eMark(eCommandMark)
    {
    }
    MenuEntry(std::string kPopupText, std::vector<MenuEntry> kEntries)
        : kText(std::move(kPopupText)), kPopup(std::move(kEntries))
    {
    }

    std::string kText;
    UINT nID = 0;
    MenuMark eMark = MenuMark::None;
    std::vector<MenuEntry> kPopup;

    bool IsSeparator() const { return kText.empty() && kPopup.empty(); }
    bool IsPopup() const { return !kPopup.empty(); }
};

struct MenuResource
{
    UINT nID = 0;
    std::vector<MenuEntry> kBar;
};

// Accelerator flags, and the key: a virtual-key code.
constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

struct AcceleratorEntry
{
    BYTE fVirt = FVIRTKEY;
    WORD key = 0;
    UINT cmd = 0;
};

struct AcceleratorResource
{
    UINT nID = 0;
    std::vector<AcceleratorEntry> kEntries;
};

// A tool button: its command (0 for a separator), a stock picture name of the toolkit
// (empty: the label is drawn as the picture) and a short label.
struct ToolBarButton
{
    ToolBarButton() = default;
    ToolBarButton(UINT nCommandID, std::string kArtName, std::string kShortLabel)
        : nID(nCommandID), kArt(std::move(kArtName)), kLabel(std::move(kShortLabel))
    {
    }

    UINT nID = 0;
    std::string kArt;
    std::string kLabel;
};

struct ToolBarResource
{
    UINT nID = 0;
    int cx = 16;
    int cy = 15;
    std::vector<ToolBarButton> kButtons;
};

// Control kinds of a dialog template.
enum class ControlKind
{
    Static,    // a text
    GroupBox,  // a framed group with a title
    Button,    // a push button
    DefButton, // the default push button
    CheckBox,  // an automatic check box
    Edit,      // a one-line edit
    ListBox,   // a list with notifications
    ComboList, // a drop-down list
    Tree,      // a tree view with buttons and lines
    Icon,      // the application icon
    Custom,    // a control the dialog's class makes itself (its window is a plain panel)
};

// Control styles the builder honours.
constexpr DWORD ES_NUMBER = 0x2000;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD LBS_SORT = 0x0002;
constexpr DWORD WS_DISABLED = 0x08000000;

// Positions and sizes are in dialog units (a quarter of the average character width and an
// eighth of the character height).
struct DialogControl
{
    DialogControl() = default;
    DialogControl(ControlKind eControlKind, UINT nControlID, std::string kControlText, int iX, int iY,
                  int iCX, int iCY, DWORD dwControlStyle = 0)
        : eKind(eControlKind), nID(nControlID), kText(std::move(kControlText)), x(iX), y(iY), cx(iCX),
          cy(iCY), dwStyle(dwControlStyle)
    {
    }

    ControlKind eKind = ControlKind::Static;
    UINT nID = 0;
    std::string kText;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    DWORD dwStyle = 0;
};

// A picture as the lines of an XPM image (header, colours, then the rows).
struct BitmapResource
{
    UINT nID = 0;
    std::vector<std::string> kXpm;
};

struct DialogResource
{
    UINT nID = 0;
    std::string kCaption;
    int cx = 0;
    int cy = 0;
    std::vector<DialogControl> kControls;
};

class Resources
{
public:
    static void AddMenu(MenuResource kMenu);
    static void AddAccelerators(AcceleratorResource kTable);
    static void AddToolBar(ToolBarResource kToolBar);
    static void AddString(UINT nID, std::string kText);
    static void AddDialog(DialogResource kDialog);
    static void AddBitmap(BitmapResource kBitmap);

    // Null (or false) when the id names nothing.
    static const MenuResource* FindMenu(UINT nID);
    static const AcceleratorResource* FindAccelerators(UINT nID);
    static const ToolBarResource* FindToolBar(UINT nID);
    static const DialogResource* FindDialog(UINT nID);
    static const BitmapResource* FindBitmap(UINT nID);
    static bool FindString(UINT nID, std::string& kText);
};
} // namespace mfc

class CString;
// The string resource's text; FALSE (and an empty text) when there is none.
BOOL AfxLoadString(UINT nID, CString& kText);
