#include "platform/mfc/VirtualKey.h"

#include <wx/defs.h>
#include <wx/utils.h>

#include <iterator>

namespace
{
struct KeyPair
{
    UINT nVirtual;
    int iToolkit;
};

constexpr KeyPair KEYS[] = {
    {VK_BACK, WXK_BACK},
    {VK_TAB, WXK_TAB},
    {VK_RETURN, WXK_RETURN},
    {VK_SHIFT, WXK_SHIFT},
    {VK_CONTROL, WXK_CONTROL},
    {VK_MENU, WXK_ALT},
    {VK_ESCAPE, WXK_ESCAPE},
    {VK_SPACE, WXK_SPACE},
    {VK_PRIOR, WXK_PAGEUP},
    {VK_NEXT, WXK_PAGEDOWN},
    {VK_END, WXK_END},
    {VK_HOME, WXK_HOME},
    {VK_LEFT, WXK_LEFT},
    {VK_UP, WXK_UP},
    {VK_RIGHT, WXK_RIGHT},
    {VK_DOWN, WXK_DOWN},
    {VK_INSERT, WXK_INSERT},
    {VK_DELETE, WXK_DELETE},
    {VK_MULTIPLY, WXK_NUMPAD_MULTIPLY},
    {VK_ADD, WXK_NUMPAD_ADD},
    {VK_SEPARATOR, WXK_NUMPAD_SEPARATOR},
    {VK_SUBTRACT, WXK_NUMPAD_SUBTRACT},
    {VK_DECIMAL, WXK_NUMPAD_DECIMAL},
    {VK_DIVIDE, WXK_NUMPAD_DIVIDE},
};
} // namespace

namespace mfc
{
UINT VirtualKeyFromToolkit(int iToolkitKey)
{
    if (iToolkitKey >= 'a' && iToolkitKey <= 'z')
        return static_cast<UINT>(iToolkitKey - 'a' + 'A');
    if ((iToolkitKey >= 'A' && iToolkitKey <= 'Z') || (iToolkitKey >= '0' && iToolkitKey <= '9'))
        return static_cast<UINT>(iToolkitKey);
    if (iToolkitKey >= WXK_F1 && iToolkitKey <= WXK_F24)
        return VK_F1 + static_cast<UINT>(iToolkitKey - WXK_F1);
    if (iToolkitKey >= WXK_NUMPAD0 && iToolkitKey <= WXK_NUMPAD9)
        return VK_NUMPAD0 + static_cast<UINT>(iToolkitKey - WXK_NUMPAD0);
    for (const KeyPair& kPair : KEYS)
        if (kPair.iToolkit == iToolkitKey)
            return kPair.nVirtual;
    return 0;
}

int ToolkitKeyFromVirtualKey(UINT nVirtualKey)
{
    if ((nVirtualKey >= 'A' && nVirtualKey <= 'Z') || (nVirtualKey >= '0' && nVirtualKey <= '9'))
        return static_cast<int>(nVirtualKey);
    if (nVirtualKey >= VK_F1 && nVirtualKey <= VK_F24)
        return WXK_F1 + static_cast<int>(nVirtualKey - VK_F1);
    if (nVirtualKey >= VK_NUMPAD0 && nVirtualKey <= VK_NUMPAD0 + 9)
        return WXK_NUMPAD0 + static_cast<int>(nVirtualKey - VK_NUMPAD0);
    for (const KeyPair& kPair : KEYS)
        if (kPair.nVirtual == nVirtualKey)
            return kPair.iToolkit;
    return 0;
}
} // namespace mfc

short GetKeyState(int nVirtKey)
{
    const int iKey = mfc::ToolkitKeyFromVirtualKey(static_cast<UINT>(nVirtKey));
    if (iKey == 0)
        return 0;
    return wxGetKeyState(static_cast<wxKeyCode>(iKey)) ? static_cast<short>(0x8000) : 0;
}
