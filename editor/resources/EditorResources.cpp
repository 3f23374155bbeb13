#include "editor/resources/EditorResources.h"

#include "editor/resources/PageResources.h"

#include "editor/resources/Resource.h"
#include "platform/mfc/Resources.h"
#include "platform/mfc/VirtualKey.h"

namespace
{
using mfc::MenuEntry;
using Entries = std::vector<MenuEntry>;

Entries FileMenu(bool bModel)
{
    Entries kFile{{"&Open...\tCtrl+O", ID_FILE_OPEN}};
    if (bModel)
    {
        kFile.push_back({"&Close", ID_FILE_CLOSE});
        kFile.push_back({"&Save\tCtrl+S", ID_FILE_SAVE});
        kFile.push_back({"Save &As...", ID_FILE_SAVE_AS});
    }
    kFile.push_back({"Save &Global Templates", ID_FILE_SAVEGLOBALTEMPLATES});
    kFile.push_back({});
    kFile.push_back({"Recent File", ID_FILE_MRU_FILE1});
    kFile.push_back({});
    kFile.push_back({"E&xit", ID_APP_EXIT});
    return kFile;
}

Entries EditMenu(bool bModel)
{
    Entries kEdit{{"&Undo\tCtrl+Z", ID_EDIT_UNDO},
                  {},
                  {"Cu&t\tCtrl+X", ID_EDIT_CUT},
                  {"&Copy\tCtrl+C", ID_EDIT_COPY},
                  {"&Paste\tCtrl+V", ID_EDIT_PASTE}};
    if (bModel)
    {
        kEdit.push_back({});
        kEdit.push_back({"&Options...", ID_EDIT_OPTIONS});
    }
    return kEdit;
}

const MenuEntry HELP_MENU{"&Help", Entries{{"&About Fitwright...", ID_APP_ABOUT}}};

void AddMenus()
{
    mfc::Resources::AddMenu(
        {IDR_MAINFRAME,
         {{"&File", FileMenu(false)},
          {"&Edit", EditMenu(false)},
          {"&View", Entries{{"&Toolbar", ID_VIEW_TOOLBAR}, {"&Status Bar", ID_VIEW_STATUS_BAR}}},
          {"&Property", Entries{{"Show Template &List", ID_PROPERTY_SHOWTEMPLATELIST}}},
          HELP_MENU}});
    mfc::Resources::AddMenu(
        {IDR_FITWRITYPE,
         {{"&File", FileMenu(true)},
          {"&Edit", EditMenu(true)},
          {"&View", Entries{{"&Toolbar", ID_VIEW_TOOLBAR},
                            {"&Status Bar", ID_VIEW_STATUS_BAR},
                            {},
                            {"&Wireframe Pick", ID_VIEW_WIREFRAMEPICK},
                            {"&Find Object\tCtrl+F", ID_VIEW_FINDOBJECT},
                            {},
                            {"&Pan Tool\tp", ID_VIEW_PANTOOL},
                            {"&Orbit Tool\to", ID_VIEW_ORBITTOOL},
                            {"&Zoom Tool\tz", ID_VIEW_ZOOMTOOL},
                            {"&Selection Tool\ts", ID_VIEW_SELECTIONTOOL},
                            {"&Locate Tool\tl", ID_VIEW_LOCATETOOL},
                            {"&Rotate Tool\tr", ID_VIEW_ROTATETOOL},
                            {},
                            {"Change &Light...", ID_VIEW_CHANGELIGHT},
                            {"See-&Through", ID_VIEW_SEETHROUGH}}},
          {"&Property", Entries{{"Show Template &List", ID_PROPERTY_SHOWTEMPLATELIST},
                                {"Show &Selected Property Only", ID_PROPERTY_SHOWSELECTEDONLY},
                                {},
                                {"&Parent Script...", ID_PROPERTY_PARENTSCRIPT},
                                {"&Move All Positions...", ID_PROPERTY_MOVEALLPOSITIONS}}},
          {"&Window", Entries{{"&Close", ID_FILE_CLOSE}}},
          HELP_MENU}});
}

void AddAccelerators()
{
    using mfc::FALT;
    using mfc::FCONTROL;
    using mfc::FSHIFT;
    using mfc::FVIRTKEY;
    constexpr BYTE CTRL = FVIRTKEY | FCONTROL;
    mfc::Resources::AddAccelerators({IDR_MAINFRAME,
                                     {{CTRL, 'O', ID_FILE_OPEN},
                                      {CTRL, 'S', ID_FILE_SAVE},
                                      {CTRL, 'N', ID_FILE_NEW},
                                      {CTRL, 'F', ID_VIEW_FINDOBJECT},
                                      {CTRL, 'R', ID_ACCEL_R},
                                      {CTRL, 'C', ID_EDIT_COPY},
                                      {CTRL, VK_INSERT, ID_EDIT_COPY},
                                      {CTRL, 'V', ID_EDIT_PASTE},
                                      {FVIRTKEY | FSHIFT, VK_INSERT, ID_EDIT_PASTE},
                                      {CTRL, 'X', ID_EDIT_CUT},
                                      {FVIRTKEY | FSHIFT, VK_DELETE, ID_EDIT_CUT},
                                      {CTRL, 'Z', ID_EDIT_UNDO},
                                      {FVIRTKEY | FALT, VK_BACK, ID_EDIT_UNDO},
                                      {FVIRTKEY, VK_F1 + 5, ID_NEXT_PANE},
                                      {FVIRTKEY | FSHIFT, VK_F1 + 5, ID_PREV_PANE}}});
}

void AddToolBar()
{
    mfc::Resources::AddToolBar({IDR_MAINFRAME,
                                16,
                                15,
                                {{ID_FILE_OPEN, "wxART_FILE_OPEN", "Open"},
                                 {ID_FILE_SAVE, "wxART_FILE_SAVE", "Save"},
                                 {},
                                 {ID_EDIT_CUT, "wxART_CUT", "Cut"},
                                 {ID_EDIT_COPY, "wxART_COPY", "Copy"},
                                 {ID_EDIT_PASTE, "wxART_PASTE", "Paste"},
                                 {},
                                 {ID_FILE_PRINT, "wxART_PRINT", "Print"},
                                 {ID_APP_ABOUT, "wxART_HELP", "About"},
                                 {},
                                 {ID_VIEW_PANTOOL, "", "Pan"},
                                 {ID_VIEW_ORBITTOOL, "", "Orbit"},
                                 {ID_VIEW_ZOOMTOOL, "", "Zoom"},
                                 {ID_VIEW_SELECTIONTOOL, "", "Selection"},
                                 {ID_VIEW_LOCATETOOL, "", "Locate"}}});
}

void AddStrings()
{
    mfc::Resources::AddString(AFX_IDS_APP_TITLE, "Fitwright");
    mfc::Resources::AddString(AFX_IDS_IDLEMESSAGE, "Ready");
    mfc::Resources::AddString(IDR_MAINFRAME, "Fitwright");
    mfc::Resources::AddString(IDR_FITWRITYPE, "\nFitwri\nFitwri\n\n\nFitwright.Document\nFitwri Document");
    mfc::Resources::AddString(ID_INDICATOR_MODE, "Selection/Pick Mode");
    mfc::Resources::AddString(ID_INDICATOR_PICKPOINT, "(0.0000000000, 0.0000000000, 0.0000000000)");
    mfc::Resources::AddString(ID_INDICATOR_PICKNORMAL, "Normal: (0.0000000000, 0.0000000000, 0.0000000000)");
}

void AddDialogs()
{
    using mfc::ControlKind;
    mfc::Resources::AddDialog(
        {IDD_ABOUTBOX,
         "About Fitwright",
         235,
         62,
         {{ControlKind::Icon, 0, "", 11, 17, 20, 20},
          {ControlKind::Static, 0, "Fitwright Version 1.0", 40, 10, 140, 8},
          {ControlKind::Static, 0, "Made by the Fitwright team for the ships' makers.", 40, 25, 188, 8},
          {ControlKind::Static, 0, "The engine inside is licensed for use with this editor.", 40, 37, 188, 8},
          {ControlKind::DefButton, IDOK, "OK", 178, 7, 50, 14}}});
}
} // namespace

void RegisterEditorResources()
{
    AddMenus();
    AddAccelerators();
    AddToolBar();
    AddStrings();
    AddDialogs();
    RegisterPageResources();
}
