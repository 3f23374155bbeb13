#pragma once
// Every modal dialog and message box of the application goes through here. With a hook
// installed (tests) the hook answers instead of a person; without one the real dialog shows.

#include "platform/mfc/Afx.h"

#include <string>

class CWnd;
class CDialog;
class CFileDialog;
class CColorDialog;

namespace mfc
{
struct ModalRequest
{
    enum class Kind
    {
        MessageBox,
        FileDialog,
        Dialog,
        ColorDialog,
    };
    Kind eKind = Kind::MessageBox;
    // Message box: its text, caption and type (buttons and icon).
    std::string kText;
    std::string kCaption;
    UINT uiType = 0;
    // File dialog: the hook picks a file with CFileDialog::SetPathName and answers IDOK.
    CFileDialog* pkFileDialog = nullptr;
    // Dialog: its window exists and is initialised; the hook may fill its controls, and an
    // IDOK answer then runs the dialog's OnOK (IDCANCEL its OnCancel).
    CDialog* pkDialog = nullptr;
    CColorDialog* pkColorDialog = nullptr;
};

class ModalHook
{
public:
    virtual ~ModalHook();
    // The button or result the request ends with (IDOK, IDCANCEL, IDYES, ...).
    virtual int Answer(ModalRequest& kRequest) = 0;
};

class ModalService
{
public:
    // Installs a hook (null removes it) and hands back the one it replaces.
    static ModalHook* SetHook(ModalHook* pkHook);
    static ModalHook* GetHook();

    // A message box owned by the window (null: the main window), captioned with the
    // application's title when no caption is given.
    static int MessageBox(CWnd* pkOwner, const char* pcText, const char* pcCaption, UINT uiType);

    // Routes the system layer's message boxes through this service.
    static void InstallMessageBoxService();
    static void RemoveMessageBoxService();

    // Answers a request through the hook; false when none is installed. Every modal dialog and
    // message box asks here first, and the mouse capture ends here.
    static bool AskHook(ModalRequest& kRequest, int& iAnswer);
};
} // namespace mfc
