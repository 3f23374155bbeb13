#include "platform/win32/MessageBox.h"

#include <atomic>
#include <cstdio>
#include <iterator>

namespace
{
constinit std::atomic<win32::MessageBoxService*> s_pkService{nullptr};

struct ButtonRow
{
    int aiButtons[3];
    int iCount;
};

// Buttons left to right for each box type.
constexpr ButtonRow BUTTONS[] = {
    {{IDOK}, 1},                       // MB_OK
    {{IDOK, IDCANCEL}, 2},             // MB_OKCANCEL
    {{IDABORT, IDRETRY, IDIGNORE}, 3}, // MB_ABORTRETRYIGNORE
    {{IDYES, IDNO, IDCANCEL}, 3},      // MB_YESNOCANCEL
    {{IDYES, IDNO}, 2},                // MB_YESNO
    {{IDRETRY, IDCANCEL}, 2},          // MB_RETRYCANCEL
};
} // namespace

int MessageBoxA(HWND hOwner, const char* pcText, const char* pcCaption, uint32_t uiType)
{
    if (win32::MessageBoxService* pkService = s_pkService.load())
        return pkService->Show(hOwner, pcText, pcCaption, uiType);
    std::fprintf(stderr, "%s: %s\n", pcCaption != nullptr ? pcCaption : "Error",
                 pcText != nullptr ? pcText : "");
    return win32::DefaultMessageBoxAnswer(uiType);
}

namespace win32
{
MessageBoxService::~MessageBoxService() = default;

MessageBoxService* SetMessageBoxService(MessageBoxService* pkService)
{
    return s_pkService.exchange(pkService);
}

int DefaultMessageBoxAnswer(uint32_t uiType)
{
    const uint32_t uiButtons = uiType & MB_TYPEMASK;
    if (uiButtons >= std::size(BUTTONS))
        return IDOK;
    const ButtonRow& kRow = BUTTONS[uiButtons];
    const int iDefault = static_cast<int>((uiType & MB_DEFMASK) >> 8);
    return kRow.aiButtons[iDefault < kRow.iCount ? iDefault : 0];
}
} // namespace win32
