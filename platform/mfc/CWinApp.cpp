#include "platform/mfc/CWinApp.h"

#include "platform/mfc/CCmdUI.h"
#include "platform/mfc/CCommandLineInfo.h"
#include "platform/mfc/CDocTemplate.h"
#include "platform/mfc/CDocument.h"
#include "platform/mfc/CFileDialog.h"
#include "platform/mfc/CFrameWnd.h"
#include "platform/mfc/CRecentFileList.h"
#include "platform/mfc/CView.h"
#include "platform/mfc/ModalService.h"
#include "platform/mfc/ToolkitAssertions.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/fileconf.h>
#include <wx/init.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace
{
CWinApp* s_pkApp = nullptr;

// The toolkit's application object: it hands the idle time to the framework's application.
class ToolkitApp : public wxApp
{
public:
    explicit ToolkitApp(CWinApp* pkApp) : m_pkApp(pkApp)
    {
        Bind(wxEVT_IDLE,
             [this](wxIdleEvent& kEvent)
             {
                 kEvent.Skip();
                 if (m_pkApp->OnIdle(m_lCount++))
                     kEvent.RequestMore();
                 else
                     m_lCount = 0;
             });
    }
    // The framework parses the command line itself.
    bool OnInit() override { return true; }

private:
    CWinApp* m_pkApp;
    LONG m_lCount = 0;
};
} // namespace

CWinApp* AfxGetApp()
{
    return s_pkApp;
}

CWnd* AfxGetMainWnd()
{
    return s_pkApp != nullptr ? s_pkApp->m_pMainWnd : nullptr;
}

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST, OnOpenRecentFile)
ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

CWinApp::CWinApp(const char* pcAppName) : m_pszAppName(pcAppName)
{
    s_pkApp = this;
}

CWinApp::~CWinApp()
{
    if (s_pkApp == this)
        s_pkApp = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    if (m_spRecentFileList)
        m_spRecentFileList->WriteList();
    if (m_spProfile)
        m_spProfile->Flush();
    return m_iExitCode;
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    if (lCount > 0)
        return FALSE;
    for (CFrameWnd* pkFrame : CFrameWnd::GetAllFrames())
        pkFrame->OnIdleUpdateCmdUI();
    return TRUE;
}

int CWinApp::Run(int argc, char** argv)
{
    if (StartUp(argc, argv))
    {
        m_spLoop.reset();
        if (m_pMainWnd != nullptr)
            wxTheApp->OnRun();
    }
    return ShutDown();
}

BOOL CWinApp::StartUp(int argc, char** argv)
{
    // From the first toolkit call on, an assertion is a line in the output, never a dialog
    // that stops the program.
    mfc::ToolkitAssertions::Install();
    wxApp::SetInstance(new ToolkitApp(this));
    int iArgc = argc;
    if (!wxEntryStart(iArgc, argv))
        return FALSE;
    m_bToolkitUp = true;
    // The toolkit took the numeric locale from the environment: scripts, configuration
    // files and number parsing must see a decimal point.
    std::setlocale(LC_NUMERIC, "C");
    if (!wxTheApp->CallOnInit())
        return FALSE;
    mfc::ModalService::InstallMessageBoxService();
    m_bInitDone = true;
    return InitInstance();
}

void CWinApp::PumpMessages()
{
    if (!m_bToolkitUp)
        return;
    if (wxEventLoopBase::GetActive() == nullptr)
    {
        if (!m_spLoop)
            m_spLoop = std::make_unique<wxGUIEventLoop>();
        wxEventLoopBase::SetActive(m_spLoop.get());
    }
    wxEventLoopBase* pkLoop = wxEventLoopBase::GetActive();
    for (int i = 0; i < 100; ++i)
    {
        while (pkLoop->Pending())
            pkLoop->Dispatch();
        wxTheApp->ProcessPendingEvents();
        const bool bMore = wxTheApp->ProcessIdle();
        if (!bMore && !pkLoop->Pending() && !wxTheApp->HasPendingEvents())
            break;
    }
}

int CWinApp::ShutDown()
{
    if (m_bInitDone)
    {
        if (m_pMainWnd != nullptr)
        {
            CloseAllDocuments(TRUE);
            if (m_pMainWnd != nullptr)
                m_pMainWnd->DestroyWindow();
            PumpMessages();
        }
        m_iExitCode = ExitInstance();
        m_bInitDone = false;
    }
    mfc::ModalService::RemoveMessageBoxService();
    m_kTemplates.clear();
    if (m_bToolkitUp)
    {
        if (m_spLoop)
        {
            wxEventLoopBase::SetActive(nullptr);
            m_spLoop.reset();
        }
        wxTheApp->OnExit();
        wxEntryCleanup();
        m_bToolkitUp = false;
    }
    m_spProfile.reset();
    return m_iExitCode;
}

void CWinApp::MainWindowDestroyed()
{
    m_pMainWnd = nullptr;
    if (wxTheApp != nullptr && wxTheApp->IsMainLoopRunning())
        wxTheApp->ExitMainLoop();
}

CDocument* CWinApp::OpenDocumentFile(const char* pcFileName)
{
    if (m_kTemplates.empty())
        return nullptr;
    for (const auto& spTemplate : m_kTemplates)
        if (CDocument* pkOpen = spTemplate->FindOpenDocument(pcFileName))
        {
            POSITION pos = pkOpen->GetFirstViewPosition();
            if (CView* pkView = pos != nullptr ? pkOpen->GetNextView(pos) : nullptr)
                if (CFrameWnd* pkFrame = pkView->GetParentFrame())
                    pkFrame->ActivateFrame();
            return pkOpen;
        }
    return m_kTemplates.front()->OpenDocumentFile(pcFileName);
}

void CWinApp::AddToRecentFileList(const char* pcPathName)
{
    if (m_spRecentFileList)
        m_spRecentFileList->Add(pcPathName);
}

CString CWinApp::GetProfilePath() const
{
    std::filesystem::path kFolder;
    if (const char* pcConfig = std::getenv("XDG_CONFIG_HOME"); pcConfig != nullptr && *pcConfig != '\0')
        kFolder = pcConfig;
    else if (const char* pcHome = std::getenv("HOME"); pcHome != nullptr && *pcHome != '\0')
        kFolder = std::filesystem::path(pcHome) / ".config";
    else
        kFolder = ".";
    if (!m_strRegistryKey.IsEmpty())
        kFolder /= m_strRegistryKey.Str();
    return CString(
        (kFolder / (std::string(m_pszAppName != nullptr ? m_pszAppName : "app") + ".conf")).string());
}

void CWinApp::SetRegistryKey(const char* pcRegistryKey)
{
    m_strRegistryKey = pcRegistryKey;
    m_spProfile.reset();
}

wxFileConfig* CWinApp::GetProfile()
{
    if (!m_spProfile)
    {
        const CString kPath = GetProfilePath();
        m_spProfile = std::make_unique<wxFileConfig>(wxEmptyString, wxEmptyString, wxString::FromUTF8(kPath),
                                                     wxEmptyString, wxCONFIG_USE_LOCAL_FILE);
    }
    return m_spProfile.get();
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    if (nMaxMRU == 0)
        return;
    m_spRecentFileList = std::make_unique<CRecentFileList>(ID_FILE_MRU_FILE1, "Recent File List", "File%d",
                                                           static_cast<int>(nMaxMRU));
    m_spRecentFileList->ReadList();
}

CString CWinApp::GetProfileString(const char* pcSection, const char* pcEntry, const char* pcDefault)
{
    wxString kValue;
    const wxString kKey = wxString("/") + wxString::FromUTF8(pcSection) + "/" + wxString::FromUTF8(pcEntry);
    if (!GetProfile()->Read(kKey, &kValue))
        return CString(pcDefault != nullptr ? pcDefault : "");
    return CString(std::string(kValue.utf8_str()));
}

BOOL CWinApp::WriteProfileString(const char* pcSection, const char* pcEntry, const char* pcValue)
{
    wxFileConfig* pkProfile = GetProfile();
    const wxString kKey = wxString("/") + wxString::FromUTF8(pcSection) + "/" + wxString::FromUTF8(pcEntry);
    bool bDone = pcValue == nullptr ? (pkProfile->DeleteEntry(kKey), true)
                                    : pkProfile->Write(kKey, wxString::FromUTF8(pcValue));
    std::error_code kError;
    std::filesystem::create_directories(std::filesystem::path(GetProfilePath().Str()).parent_path(), kError);
    bDone = pkProfile->Flush() && bDone;
    return bDone ? TRUE : FALSE;
}

int CWinApp::GetProfileInt(const char* pcSection, const char* pcEntry, int nDefault)
{
    const CString kText = GetProfileString(pcSection, pcEntry, nullptr);
    if (kText.IsEmpty())
        return nDefault;
    return std::atoi(kText);
}

BOOL CWinApp::WriteProfileInt(const char* pcSection, const char* pcEntry, int nValue)
{
    CString kText;
    kText.Format("%d", nValue);
    return WriteProfileString(pcSection, pcEntry, kText);
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    m_kTemplates.emplace_back(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const
{
    return m_kTemplates.empty() ? nullptr : reinterpret_cast<POSITION>(uintptr_t{1});
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& rPosition) const
{
    const size_t uiIndex = reinterpret_cast<uintptr_t>(rPosition) - 1;
    CDocTemplate* pkTemplate = uiIndex < m_kTemplates.size() ? m_kTemplates[uiIndex].get() : nullptr;
    rPosition = uiIndex + 1 < m_kTemplates.size() ? reinterpret_cast<POSITION>(uiIndex + 2) : nullptr;
    return pkTemplate;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    for (const auto& spTemplate : m_kTemplates)
        spTemplate->CloseAllDocuments(bEndSession);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& kInfo)
{
    const int iArgc = wxTheApp != nullptr ? wxTheApp->argc : 0;
    for (int i = 1; i < iArgc; ++i)
    {
        const std::string kArg(wxTheApp->argv[i].utf8_str());
        const bool bFlag = !kArg.empty() && (kArg[0] == '-' || kArg[0] == '/');
        kInfo.ParseParam(bFlag ? kArg.c_str() + 1 : kArg.c_str(), bFlag, i + 1 == iArgc);
    }
}

void CWinApp::OnFileNew()
{
    if (!m_kTemplates.empty())
        m_kTemplates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen()
{
    CFileDialog kDialog(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, "All Files (*.*)|*.*||",
                        m_pMainWnd);
    if (kDialog.DoModal() == IDOK)
        OpenDocumentFile(kDialog.GetPathName());
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != nullptr)
        m_pMainWnd->OnClose();
}

BOOL CWinApp::OnOpenRecentFile(UINT nID)
{
    if (!m_spRecentFileList)
        return FALSE;
    const int iIndex = static_cast<int>(nID - ID_FILE_MRU_FILE1);
    if (iIndex < 0 || iIndex >= m_spRecentFileList->GetSize())
        return FALSE;
    const CString kPath = (*m_spRecentFileList)[iIndex];
    // A file that no longer opens leaves the list.
    if (OpenDocumentFile(kPath) == nullptr)
        m_spRecentFileList->Remove(iIndex);
    return TRUE;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_spRecentFileList && m_spRecentFileList->GetSize() > 0);
}
