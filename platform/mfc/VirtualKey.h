#pragma once
// Keys as the editor's handlers know them: virtual-key codes (letters and digits are their
// upper-case ASCII codes).

#include "platform/mfc/Afx.h"

constexpr UINT VK_BACK = 0x08;
constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_SHIFT = 0x10;
constexpr UINT VK_CONTROL = 0x11;
constexpr UINT VK_MENU = 0x12;
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_SPACE = 0x20;
constexpr UINT VK_PRIOR = 0x21;
constexpr UINT VK_NEXT = 0x22;
constexpr UINT VK_END = 0x23;
constexpr UINT VK_HOME = 0x24;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;
constexpr UINT VK_INSERT = 0x2D;
constexpr UINT VK_DELETE = 0x2E;
constexpr UINT VK_NUMPAD0 = 0x60;
constexpr UINT VK_MULTIPLY = 0x6A;
constexpr UINT VK_ADD = 0x6B;
constexpr UINT VK_SEPARATOR = 0x6C;
constexpr UINT VK_SUBTRACT = 0x6D;
constexpr UINT VK_DECIMAL = 0x6E;
constexpr UINT VK_DIVIDE = 0x6F;
constexpr UINT VK_F1 = 0x70;
constexpr UINT VK_F24 = 0x87;

namespace mfc
{
// The virtual-key code of a toolkit key code; 0 for keys without one.
UINT VirtualKeyFromToolkit(int iToolkitKey);
// The toolkit key code of a virtual-key code; 0 for codes without one.
int ToolkitKeyFromVirtualKey(UINT nVirtualKey);
} // namespace mfc

// True while the key (VK_SHIFT, VK_CONTROL, VK_MENU, ...) is held: the high bit of the answer.
short GetKeyState(int nVirtKey);
