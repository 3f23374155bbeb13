#pragma once
// The editor's resource ids: menus, tool bar, accelerators, dialogs, strings and commands.

#include "platform/mfc/Afx.h"

constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT IDR_FITWRITYPE = 129;
constexpr UINT IDD_ABOUTBOX = 100;

// Status bar panes.
constexpr UINT ID_INDICATOR_MODE = 61216;
constexpr UINT ID_INDICATOR_PICKPOINT = 61217;
constexpr UINT ID_INDICATOR_PICKNORMAL = 61218;

// Commands.
constexpr UINT ID_VIEW_FINDOBJECT = 32771;
constexpr UINT ID_ACCEL_R = 32772;
constexpr UINT ID_VIEW_PANTOOL = 32775;
constexpr UINT ID_VIEW_ORBITTOOL = 32776;
constexpr UINT ID_VIEW_ZOOMTOOL = 32777;
constexpr UINT ID_VIEW_SELECTIONTOOL = 32778;
constexpr UINT ID_PROPERTY_SHOWTEMPLATELIST = 32781;
constexpr UINT ID_FILE_SAVEGLOBALTEMPLATES = 32783;
constexpr UINT ID_PROPERTY_SHOWSELECTEDONLY = 32784;
constexpr UINT ID_VIEW_LOCATETOOL = 32785;
constexpr UINT ID_VIEW_ROTATETOOL = 32788;
constexpr UINT ID_VIEW_WIREFRAMEPICK = 32789;
constexpr UINT ID_EDIT_OPTIONS = 32790;
constexpr UINT ID_PROPERTY_PARENTSCRIPT = 32791;
constexpr UINT ID_VIEW_CHANGELIGHT = 32792;
constexpr UINT ID_PROPERTY_MOVEALLPOSITIONS = 32793;
constexpr UINT ID_VIEW_SEETHROUGH = 32795;

// The list-view style commands of the right pane.
constexpr UINT ID_VIEW_LARGEICON = 59408;
constexpr UINT ID_VIEW_SMALLICON = 59409;
constexpr UINT ID_VIEW_LIST = 59410;
constexpr UINT ID_VIEW_DETAILS = 59411;
constexpr UINT ID_VIEW_LINEUP = 59412;
constexpr UINT ID_VIEW_BYNAME = 59413;
