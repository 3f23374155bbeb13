#include "editor/resources/EditorResources.h"

#include "editor/resources/PageResources.h"
#include "editor/resources/PaneResources.h"

#include "editor/resources/Resource.h"
#include "platform/mfc/Resources.h"
#include "platform/mfc/VirtualKey.h"

#include <algorithm>
#include <utility>

namespace
{
using mfc::MenuEntry;
using mfc::MenuMark;
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
    mfc::Resources::AddMenu({IDR_MAINFRAME,
                             {{"&File", FileMenu(false)},
                              {"&Edit", EditMenu(false)},
                              {"&View", Entries{{"&Toolbar", ID_VIEW_TOOLBAR, MenuMark::Check},
                                                {"&Status Bar", ID_VIEW_STATUS_BAR, MenuMark::Check},
                                                {"&Output Window", ID_VIEW_OUTPUT}}},
                              {"&Property", Entries{{"Show Template &List", ID_PROPERTY_SHOWTEMPLATELIST}}},
                              HELP_MENU}});
    mfc::Resources::AddMenu(
        {IDR_FITWRITYPE,
         {{"&File", FileMenu(true)},
          {"&Edit", EditMenu(true)},
          {"&View", Entries{{"&Toolbar", ID_VIEW_TOOLBAR, MenuMark::Check},
                            {"&Status Bar", ID_VIEW_STATUS_BAR, MenuMark::Check},
                            {"&Output Window", ID_VIEW_OUTPUT},
                            {},
                            {"&Wireframe Pick", ID_VIEW_WIREFRAMEPICK, MenuMark::Check},
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
                            {"See-&Through", ID_VIEW_SEETHROUGH, MenuMark::Check}}},
          {"&Property",
           Entries{{"Show Template &List", ID_PROPERTY_SHOWTEMPLATELIST},
                   {"Show &Selected Property Only", ID_PROPERTY_SHOWSELECTEDONLY, MenuMark::Check},
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

// A column of labelled number fields beside OK, Cancel and Apply.
void AddApplyDialog(UINT nID, const char* pcCaption, std::vector<std::pair<const char*, UINT>> kFields,
                    UINT nApplyID)
{
    using mfc::ControlKind;
    mfc::DialogResource kDialog{nID, pcCaption, 160, 0, {}};
    int y = 7;
    for (const auto& [pcLabel, nFieldID] : kFields)
    {
        kDialog.kControls.push_back({ControlKind::Static, 0, pcLabel, 7, y + 3, 40, 8});
        kDialog.kControls.push_back({ControlKind::Edit, nFieldID, "", 50, y, 50, 14});
        y += 18;
    }
    kDialog.cy = std::max(y + 3, 66);
    kDialog.kControls.push_back({ControlKind::DefButton, IDOK, "OK", 108, 7, 45, 14});
    kDialog.kControls.push_back({ControlKind::Button, IDCANCEL, "Cancel", 108, 25, 45, 14});
    kDialog.kControls.push_back({ControlKind::Button, nApplyID, "&Apply", 108, 43, 45, 14});
    mfc::Resources::AddDialog(std::move(kDialog));
}

// The option dialogs: Options, Edit Parent Script Name, Change Light, Move All Positions.
void AddOptionDialogs()
{
    using mfc::ControlKind;
    mfc::Resources::AddDialog(
        {IDD_OPTIONS,
         "Options",
         300,
         142,
         {{ControlKind::Static, 0,
           "Default model directory (ex. c:\\zenara\\current\\build\\data\\models\\ships\\):", 7, 7, 286, 8},
          {ControlKind::Edit, IDC_OPTIONS_MODELDIRECTORY, "", 7, 18, 286, 14},
          {ControlKind::Static, 0,
           "Default script directory (ex. c:\\zenara\\current\\build\\scripts\\ships\\hardpoints\\):", 7, 38,
           286, 8},
          {ControlKind::Edit, IDC_OPTIONS_SCRIPTDIRECTORY, "", 7, 49, 286, 14},
          {ControlKind::Static, 0, "Model texture path suffix (semicolon delimited):", 7, 69, 286, 8},
          {ControlKind::Edit, IDC_OPTIONS_TEXTUREPATH, "", 7, 80, 286, 14},
          {ControlKind::Static, 0, "Model scale:", 7, 103, 50, 8},
          {ControlKind::Edit, IDC_OPTIONS_MODELSCALE, "", 60, 100, 60, 14},
          {ControlKind::DefButton, IDOK, "OK", 189, 121, 50, 14},
          {ControlKind::Button, IDCANCEL, "Cancel", 243, 121, 50, 14}}});
    mfc::Resources::AddDialog(
        {IDD_PARENTSCRIPT,
         "Edit Parent Script Name",
         300,
         128,
         {{ControlKind::Static, 0, "Parent script:", 7, 7, 286, 8},
          {ControlKind::Edit, IDC_PARENTSCRIPT_NAME, "", 7, 18, 286, 14},
          {ControlKind::Static, 0,
           "(use package notation, i.e. \"Ships.Hardpoints.veyrun\" -- do not include .py)", 7, 35, 286, 8},
          {ControlKind::Static, 0,
           "Note: The parent script will be loaded before this script, and will have LoadPropertySet() "
           "called "
           "on it before this script.",
           7, 50, 286, 18},
          {ControlKind::Static, 0,
           "If you wish to override properties in the parent script, simply have the properties (on the same "
           "hardpoint) share a name -- the property in this script will override the parent script.",
           7, 72, 286, 26},
          {ControlKind::DefButton, IDOK, "OK", 189, 107, 50, 14},
          {ControlKind::Button, IDCANCEL, "Cancel", 243, 107, 50, 14}}});
    AddApplyDialog(IDD_CHANGELIGHT, "Change Light",
                   {{"&Dimmer:", IDC_LIGHT_DIMMER},
                    {"&Red:", IDC_LIGHT_RED},
                    {"&Green:", IDC_LIGHT_GREEN},
                    {"&Blue:", IDC_LIGHT_BLUE}},
                   IDC_LIGHT_APPLY);
    AddApplyDialog(
        IDD_MOVEALLPOSITIONS, "Move All Positions",
        {{"X offset:", IDC_MOVE_XOFFSET}, {"Y offset:", IDC_MOVE_YOFFSET}, {"Z offset:", IDC_MOVE_ZOFFSET}},
        IDC_MOVE_APPLY);
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
    AddOptionDialogs();
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
    RegisterPaneResources();
}
