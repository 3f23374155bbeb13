#include "platform/mfc/ModalService.h"

#include "platform/mfc/CWinApp.h"
#include "platform/mfc/CWnd.h"

#include <wx/msgdlg.h>

namespace
{
mfc::ModalHook* s_pkHook = nullptr;

// The system layer's boxes (MessageBoxA) come here once installed.
class ServiceBridge : public win32::MessageBoxService
{
public:
    int Show(HWND hOwner, const char* pcText, const char* pcCaption, uint32_t uiType) override
    {
        return mfc::ModalService::MessageBox(CWnd::FromHandle(hOwner), pcText, pcCaption, uiType);
    }
};

ServiceBridge s_kBridge;
win32::MessageBoxService* s_pkPreviousService = nullptr;
bool s_bInstalled = false;

int ShowMessageDialog(CWnd* pkOwner, const std::string& kText, const std::string& kCaption, UINT uiType)
{
    long lStyle = 0;
    switch (uiType & MB_TYPEMASK)
    {
    case MB_OKCANCEL:
        lStyle = wxOK | wxCANCEL;
        break;
    case MB_YESNOCANCEL:
        lStyle = wxYES_NO | wxCANCEL;
        break;
    case MB_YESNO:
        lStyle = wxYES_NO;
        break;
    default:
        lStyle = wxOK;
        break;
    }
    switch (uiType & 0xF0)
    {
    case MB_ICONERROR:
        lStyle |= wxICON_ERROR;
        break;
    case MB_ICONQUESTION:
        lStyle |= wxICON_QUESTION;
        break;
    case MB_ICONWARNING:
        lStyle |= wxICON_WARNING;
        break;
    default:
        lStyle |= (uiType & MB_TYPEMASK) == MB_YESNO ? wxICON_QUESTION : wxICON_INFORMATION;
        break;
    }
    wxWindow* pkParent = pkOwner != nullptr ? pkOwner->GetToolkitWindow() : nullptr;
    wxMessageDialog kDialog(pkParent, wxString::FromUTF8(kText.c_str()), wxString::FromUTF8(kCaption.c_str()),
                            lStyle);
    switch (kDialog.ShowModal())
    {
    case wxID_YES:
        return IDYES;
    case wxID_NO:
        return IDNO;
    case wxID_CANCEL:
        return IDCANCEL;
    default:
        return IDOK;
    }
}
} // namespace

namespace mfc
{
ModalHook::~ModalHook() = default;

ModalHook* ModalService::SetHook(ModalHook* pkHook)
{
    ModalHook* pkOld = s_pkHook;
    s_pkHook = pkHook;
    return pkOld;
}

ModalHook* ModalService::GetHook()
{
    return s_pkHook;
}

bool ModalService::AskHook(ModalRequest& kRequest, int& iAnswer)
{
    // Every modal request comes here first. A dialog that comes up takes the mouse from
    // whichever window held it: a grab kept through it would leave the dialog deaf to clicks.
    ReleaseCapture();
    if (s_pkHook == nullptr)
        return false;
    iAnswer = s_pkHook->Answer(kRequest);
    return true;
}

int ModalService::MessageBox(CWnd* pkOwner, const char* pcText, const char* pcCaption, UINT uiType)
{
    ModalRequest kRequest;
    kRequest.eKind = ModalRequest::Kind::MessageBox;
    kRequest.kText = pcText != nullptr ? pcText : "";
    if (pcCaption != nullptr)
        kRequest.kCaption = pcCaption;
    else if (CWinApp* pkApp = AfxGetApp(); pkApp != nullptr && pkApp->m_pszAppName != nullptr)
        kRequest.kCaption = pkApp->m_pszAppName;
    kRequest.uiType = uiType;
    int iAnswer = 0;
    if (AskHook(kRequest, iAnswer))
        return iAnswer;
    if (pkOwner == nullptr)
        pkOwner = AfxGetMainWnd();
    return ShowMessageDialog(pkOwner, kRequest.kText, kRequest.kCaption, uiType);
}

void ModalService::InstallMessageBoxService()
{
    if (s_bInstalled)
        return;
    s_pkPreviousService = win32::SetMessageBoxService(&s_kBridge);
    s_bInstalled = true;
}

void ModalService::RemoveMessageBoxService()
{
    if (!s_bInstalled)
        return;
    win32::SetMessageBoxService(s_pkPreviousService);
    s_pkPreviousService = nullptr;
    s_bInstalled = false;
}
} // namespace mfc

int AfxMessageBox(const char* pcText, UINT nType, UINT)
{
    return mfc::ModalService::MessageBox(nullptr, pcText, nullptr, nType);
}
