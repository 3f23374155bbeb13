#pragma once
// The shared vocabulary of the user-interface layer: the integer types, window styles,
// framework command ids and the few global functions every editor class reaches for.

#include "platform/win32/MessageBox.h"
#include "platform/win32/Window.h"

#include <cstdint>

using BOOL = int;
constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
using UINT = uint32_t;
using LONG = int32_t;
using DWORD = uint32_t;
using WORD = uint16_t;
using BYTE = uint8_t;
using UINT_PTR = uintptr_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using COLORREF = uint32_t;
using LPCTSTR = const char*;
using LPCSTR = const char*;

// An opaque place in one of the framework's lists; null past the end.
using POSITION = struct FrameworkPosition*;

struct CSize
{
    int cx = 0;
    int cy = 0;
};

struct CPoint
{
    int x = 0;
    int y = 0;
};

struct NMHDR
{
    HWND hwndFrom = nullptr;
    UINT_PTR idFrom = 0;
    UINT code = 0;
};

constexpr COLORREF RGB(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c)
{
    return static_cast<int>(c & 0xFF);
}
constexpr int GetGValue(COLORREF c)
{
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int GetBValue(COLORREF c)
{
    return static_cast<int>((c >> 16) & 0xFF);
}

// Window styles (only their presence matters to the layer).
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;

// SetWindowPos flags.
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOACTIVATE = 0x0010;

// Key and button flags of mouse messages.
constexpr UINT MK_LBUTTON = 0x0001;
constexpr UINT MK_RBUTTON = 0x0002;
constexpr UINT MK_SHIFT = 0x0004;
constexpr UINT MK_CONTROL = 0x0008;
constexpr UINT MK_MBUTTON = 0x0010;

// Messages the layer dispatches through message maps.
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_COMMAND = 0x0111;

// Command codes: a command, its update query, and the controls' notifications.
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;
constexpr int BN_CLICKED = 0;
constexpr int LBN_SELCHANGE = 1;
constexpr int LBN_DBLCLK = 2;
constexpr int CBN_SELCHANGE = 1;
constexpr int EN_CHANGE = 0x0300;

// Framework command ids.
constexpr UINT ID_FILE_NEW = 57600;
constexpr UINT ID_FILE_OPEN = 57601;
constexpr UINT ID_FILE_CLOSE = 57602;
constexpr UINT ID_FILE_SAVE = 57603;
constexpr UINT ID_FILE_SAVE_AS = 57604;
constexpr UINT ID_FILE_PRINT = 57607;
constexpr UINT ID_FILE_MRU_FILE1 = 57616;
constexpr UINT ID_FILE_MRU_FILE4 = 57619;
constexpr UINT ID_FILE_MRU_LAST = 57631;
constexpr UINT ID_EDIT_COPY = 57634;
constexpr UINT ID_EDIT_CUT = 57635;
constexpr UINT ID_EDIT_PASTE = 57637;
constexpr UINT ID_EDIT_UNDO = 57643;
constexpr UINT ID_WINDOW_NEW = 57648;
constexpr UINT ID_WINDOW_ARRANGE = 57649;
constexpr UINT ID_WINDOW_CASCADE = 57650;
constexpr UINT ID_WINDOW_TILE_HORZ = 57651;
constexpr UINT ID_WINDOW_TILE_VERT = 57652;
constexpr int IDHELP = 9;
constexpr UINT ID_APPLY_NOW = 0x3021;
constexpr UINT ID_APP_ABOUT = 57664;
constexpr UINT ID_APP_EXIT = 57665;
constexpr UINT ID_NEXT_PANE = 57680;
constexpr UINT ID_PREV_PANE = 57681;
constexpr UINT ID_SEPARATOR = 0;
constexpr UINT ID_INDICATOR_CAPS = 59137;
constexpr UINT ID_INDICATOR_NUM = 59138;
constexpr UINT ID_INDICATOR_SCRL = 59139;
constexpr UINT ID_VIEW_TOOLBAR = 59392;
constexpr UINT ID_VIEW_STATUS_BAR = 59393;
constexpr UINT AFX_IDW_PANE_FIRST = 59648;
constexpr UINT AFX_IDS_APP_TITLE = 57344;
constexpr UINT AFX_IDS_IDLEMESSAGE = 57345;

// File dialog flags.
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

class CWinApp;
class CWnd;

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// A message box captioned with the application's title, through the modal service.
int AfxMessageBox(const char* pcText, UINT nType = MB_OK, UINT nIDHelp = 0);
// Nothing to do here: the toolkit's controls need no container or 3D switch.
inline void AfxEnableControlContainer() {}
