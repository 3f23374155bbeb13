#include "editor/CEditorApp.h"

#include "editor/CAboutDlg.h"
#include "editor/CChildFrame.h"
#include "editor/CMainFrame.h"
#include "editor/CNifView.h"
#include "editor/CPropertyDoc.h"
#include "editor/CPropertyView.h"
#include "editor/resources/EditorResources.h"
#include "editor/resources/Resource.h"
#include "engine/EngineStartup.h"
#include "platform/mfc/CCommandLineInfo.h"
#include "platform/mfc/CFileDialog.h"
#include "platform/mfc/CMultiDocTemplate.h"
#include "platform/win32/CaseBlindPath.h"
#include "properties/PropertyTypeRegistry.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SKPropertyScriptFile.h"
#include "scripting/PyEmbed.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <unistd.h>

namespace
{
bool EndsWithNif(const char* pcPath)
{
    const size_t uiLength = pcPath != nullptr ? std::strlen(pcPath) : 0;
    return uiLength >= 4 && strcasecmp(pcPath + uiLength - 4, ".nif") == 0;
}

char* CopyText(const char* pcText)
{
    if (pcText == nullptr)
        return nullptr;
    const size_t uiSize = std::strlen(pcText) + 1;
    char* pcCopy = new char[uiSize];
    std::memcpy(pcCopy, pcText, uiSize);
    return pcCopy;
}

const char* const SCRIPT_FILTER = "Python Scripts (*.py)|*.py||";
} // namespace

BEGIN_MESSAGE_MAP(CEditorApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
ON_COMMAND(ID_FILE_NEW, OnFileNew)
ON_COMMAND(ID_FILE_SAVEGLOBALTEMPLATES, SaveGlobalTemplates)
END_MESSAGE_MAP()

CEditorApp::CEditorApp() : CWinApp("Fitwright") {}

CEditorApp::~CEditorApp()
{
    delete[] m_pszStartDirectory;
    delete[] m_pszTexturePath;
}

CEditorApp* CEditorApp::GetEditorApp()
{
    return dynamic_cast<CEditorApp*>(AfxGetApp());
}

BOOL CEditorApp::InitInstance()
{
    // The start-up folder: the global templates script is written there later, wherever
    // the file dialogs have been.
    char* pcDirectory = getcwd(nullptr, 0);
    m_pszStartDirectory = CopyText(pcDirectory != nullptr ? pcDirectory : ".");
    std::free(pcDirectory);

    // The system objects in their order (the interpreter starts and imports App), the
    // property types and the renderer's hooks.
    if (!EngineStartup::Startup(m_pszStartDirectory))
        return FALSE;
    m_pGlobalTemplatesModule = PyEmbed::GetModule("GlobalPropertyTemplates", 0);

    AfxEnableControlContainer();
    RegisterEditorResources();
    SetRegistryKey("Skyrandt");
    LoadStdProfileSettings(4);

    AddDocTemplate(new CMultiDocTemplate(IDR_FITWRITYPE, RUNTIME_CLASS(CPropertyDoc),
                                         RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CPropertyView)));
    auto* pkMainFrame = new CMainFrame;
    if (!pkMainFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE))
        return FALSE;
    m_pMainWnd = pkMainFrame;

    // The command line is read but opens nothing.
    CCommandLineInfo kCommandLine;
    ParseCommandLine(kCommandLine);

    pkMainFrame->ShowWindow(m_nCmdShow);
    pkMainFrame->UpdateWindow();
    RegisterPropertyTypes();
    SetTexturePath(GetProfileString("Options", "TexturePath", ""));
    return TRUE;
}

int CEditorApp::ExitInstance()
{
    delete[] m_pszStartDirectory;
    m_pszStartDirectory = nullptr;
    UnregisterPropertyTypes();
    m_pGlobalTemplatesModule = nullptr;
    EngineStartup::Shutdown();
    return CWinApp::ExitInstance();
}

BOOL CEditorApp::OnIdle(LONG lCount)
{
    if (CWinApp::OnIdle(lCount))
        return TRUE;
    auto* pkMain = dynamic_cast<CFrameWnd*>(m_pMainWnd);
    CFrameWnd* pkFrame = pkMain != nullptr ? pkMain->GetActiveFrame() : nullptr;
    if (pkFrame == nullptr || pkFrame == pkMain)
        return FALSE;
    CView* pkView = pkFrame->GetActiveView();
    auto* pkDoc = dynamic_cast<CPropertyDoc*>(pkView != nullptr ? pkView->GetDocument() : nullptr);
    if (CNifView* pkNifView = pkDoc != nullptr ? pkDoc->GetNifView() : nullptr)
        pkNifView->Redraw();
    return FALSE;
}

CPropertyDoc* CEditorApp::GetActivePropertyDocument()
{
    auto* pkMain = dynamic_cast<CFrameWnd*>(m_pMainWnd);
    CFrameWnd* pkFrame = pkMain != nullptr ? pkMain->GetActiveFrame() : nullptr;
    return pkFrame != nullptr ? dynamic_cast<CPropertyDoc*>(pkFrame->GetActiveDocument()) : nullptr;
}

void CEditorApp::OnFileOpen()
{
    CPropertyDoc* pkDoc = GetActivePropertyDocument();
    const DWORD dwFlags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    CFileDialog kDialog = pkDoc != nullptr ? CFileDialog(TRUE, ".py", GetScriptDirectory() + "*.py", dwFlags,
                                                         SCRIPT_FILTER, m_pMainWnd)
                                           : CFileDialog(TRUE, ".nif", GetModelDirectory() + "*.nif", dwFlags,
                                                         "Models (*.nif)|*.nif||", m_pMainWnd);
    if (kDialog.DoModal() != IDOK)
        return;
    const CString kPath = kDialog.GetPathName();
    if (EndsWithNif(kPath))
    {
        OpenDocumentFile(kPath);
        return;
    }
    if (pkDoc == nullptr)
    {
        AfxMessageBox("You don't have a model loaded, so you can't load a script right now.", MB_OK);
        return;
    }
    RunScriptFile(kPath);
    pkDoc->CallLoadPropertySet();
}

std::string CEditorApp::FindModelScript(const char* pcModelPath)
{
    std::string kScript = pcModelPath != nullptr ? pcModelPath : "";
    const size_t uiSlash = kScript.find_last_of("/\\");
    const size_t uiDot = kScript.rfind('.');
    if (uiDot != std::string::npos && (uiSlash == std::string::npos || uiDot > uiSlash))
        kScript.erase(uiDot);
    kScript += ".py";
    if (!win32::FileExists(kScript))
        return {};
    return win32::ResolvePath(kScript);
}

CDocument* CEditorApp::OpenDocumentFile(const char* pcFileName)
{
    auto* pkDoc = dynamic_cast<CPropertyDoc*>(CWinApp::OpenDocumentFile(pcFileName));
    if (pkDoc == nullptr)
        return nullptr;
    const std::string kScript = FindModelScript(pcFileName);
    if (!kScript.empty())
    {
        RunScriptFile(kScript.c_str());
        pkDoc->CallLoadPropertySet();
        return pkDoc;
    }
    if (AfxMessageBox("No model script found, do you want to load one?", MB_YESNO) == IDYES)
    {
        CFileDialog kDialog(TRUE, ".py", GetScriptDirectory() + "*.py",
                            OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, SCRIPT_FILTER, m_pMainWnd);
        if (kDialog.DoModal() == IDOK)
        {
            RunScriptFile(kDialog.GetPathName());
            pkDoc->CallLoadPropertySet();
        }
    }
    return pkDoc;
}

void CEditorApp::RunScriptFile(CString kPath)
{
    std::FILE* pkFile = std::fopen(kPath, "r");
    if (pkFile == nullptr)
    {
        AfxMessageBox("Couldn't load script file.", MB_OK);
        return;
    }
    std::fclose(pkFile);
    // Every script runs in the one main module: what an earlier script defined must not pass
    // for this one's loader or parent name.
    PyEmbed::RunSimpleString("import __main__ as _m\n"
                             "_m.__dict__.pop('LoadPropertySet', None)\n"
                             "_m.__dict__.pop('ParentPropertyScript', None)\n"
                             "del _m\n");
    PyEmbed::RunSimpleFile(kPath);
}

void CEditorApp::AddToRecentFileList(const char* pcPathName)
{
    if (EndsWithNif(pcPathName))
        CWinApp::AddToRecentFileList(pcPathName);
}

CString CEditorApp::GetModelDirectory()
{
    return GetProfileString("Options", "ModelDirectory", "");
}

CString CEditorApp::GetScriptDirectory()
{
    return GetProfileString("Options", "ScriptDirectory", "");
}

float CEditorApp::GetModelScale()
{
    float fScale = 1.0f;
    const CString kText = GetProfileString("Options", "ModelScale", "");
    if (!kText.IsEmpty())
        std::sscanf(kText, "%f", &fScale);
    // A scale of 0 or none at all (a hand-edited profile) would make every model vanish.
    if (fScale == 0.0f || !std::isfinite(fScale))
        return 1.0f;
    return fScale;
}

void CEditorApp::SetTexturePath(const char* pcText)
{
    delete[] m_pszTexturePath;
    m_pszTexturePath = CopyText(pcText);
}

void CEditorApp::SaveGlobalTemplates()
{
    // The start-up folder, wherever the file dialogs have been since.
    const char* pcFolder = m_pszStartDirectory != nullptr ? m_pszStartDirectory : ".";
    if (!SKPropertyScriptFile::SaveGlobalTemplates(pcFolder, g_kModelPropertyManager))
        AfxMessageBox(CString("Couldn't save the global templates file ") + pcFolder + "/" +
                          SKPropertyScriptFile::GLOBAL_TEMPLATES_FILE + ".",
                      MB_OK | MB_ICONERROR);
}

void CEditorApp::OnAppAbout()
{
    CAboutDlg kDialog;
    kDialog.DoModal();
}
