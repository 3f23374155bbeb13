#pragma once

#include "platform/win32/Window.h"

#include <cstdint>

// Buttons (the low four bits of a box's type), icons and the default button.
constexpr uint32_t MB_OK = 0x0;
constexpr uint32_t MB_OKCANCEL = 0x1;
constexpr uint32_t MB_ABORTRETRYIGNORE = 0x2;
constexpr uint32_t MB_YESNOCANCEL = 0x3;
constexpr uint32_t MB_YESNO = 0x4;
constexpr uint32_t MB_RETRYCANCEL = 0x5;
constexpr uint32_t MB_TYPEMASK = 0xF;
constexpr uint32_t MB_ICONERROR = 0x10;
constexpr uint32_t MB_ICONQUESTION = 0x20;
constexpr uint32_t MB_ICONWARNING = 0x30;
constexpr uint32_t MB_ICONINFORMATION = 0x40;
constexpr uint32_t MB_DEFBUTTON1 = 0x0;
constexpr uint32_t MB_DEFBUTTON2 = 0x100;
constexpr uint32_t MB_DEFBUTTON3 = 0x200;
constexpr uint32_t MB_DEFMASK = 0xF00;

// The button that closed a box.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Shows a modal message box through the installed service and answers the button chosen.
int MessageBoxA(HWND hOwner, const char* pcText, const char* pcCaption, uint32_t uiType);

namespace win32
{
// Who shows message boxes. Without one installed the text goes to standard error and the
// box answers its default button, so code runs the same without a display.
class MessageBoxService
{
public:
    virtual ~MessageBoxService();
    virtual int Show(HWND hOwner, const char* pcText, const char* pcCaption, uint32_t uiType) = 0;
};

// Installs a service (null restores the default) and hands back the one it replaces.
MessageBoxService* SetMessageBoxService(MessageBoxService* pkService);

// The answer of a box of this type when the user just accepts it: its default button.
int DefaultMessageBoxAnswer(uint32_t uiType);
} // namespace win32
