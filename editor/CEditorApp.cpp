#include "editor/CEditorApp.h"

#include "editor/CAboutDlg.h"
#include "editor/CChildFrame.h"
#include "editor/CMainFrame.h"
#include "editor/CNifView.h"
#include "editor/COutputWindow.h"
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
#include "scripting/PythonApi.h"

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

std::string TextOf(PyObject* pkObject)
{
    PyObject* pkText = pkObject != nullptr ? PyObject_Str(pkObject) : nullptr;
    const char* pcText = pkText != nullptr ? PyUnicode_AsUTF8(pkText) : nullptr;
    std::string kText = pcText != nullptr ? pcText : "";
    Py_XDECREF(pkText);
    PyErr_Clear();
    return kText;
}

// The last script error the interpreter reported, in one line: where in the named file it
// arose and what it was ("line 25: AttributeError: ..."). Empty when none was reported.
std::string DescribeLastScriptError(const char* pcFileName)
{
    PyObject* pkError = PySys_GetObject("last_value");
    if (pkError == nullptr || pkError == Py_None)
        return {};
    const std::string kWhat = std::string(Py_TYPE(pkError)->tp_name) + ": " + TextOf(pkError);
    // A syntax error names its line itself; any other error arose in the file's deepest frame.
    if (PyErr_GivenExceptionMatches(pkError, PyExc_SyntaxError))
        return kWhat;
    std::string kLine;
    PyObject* pkTraceback = PyException_GetTraceback(pkError);
    while (pkTraceback != nullptr && pkTraceback != Py_None)
    {
        PyObject* pkFrame = PyObject_GetAttrString(pkTraceback, "tb_frame");
        PyObject* pkCode = pkFrame != nullptr ? PyObject_GetAttrString(pkFrame, "f_code") : nullptr;
        PyObject* pkFile = pkCode != nullptr ? PyObject_GetAttrString(pkCode, "co_filename") : nullptr;
        const std::string kFile = TextOf(pkFile);
        if (kFile.size() >= std::strlen(pcFileName) &&
            kFile.compare(kFile.size() - std::strlen(pcFileName), std::string::npos, pcFileName) == 0)
            kLine = "line " + TextOf(PyObject_GetAttrString(pkTraceback, "tb_lineno")) + ": ";
        Py_XDECREF(pkFile);
        Py_XDECREF(pkCode);
        Py_XDECREF(pkFrame);
        PyObject* pkNext = PyObject_GetAttrString(pkTraceback, "tb_next");
        Py_DECREF(pkTraceback);
        pkTraceback = pkNext;
    }
    Py_XDECREF(pkTraceback);
    PyErr_Clear();
    return kLine + kWhat;
}
} // namespace

BEGIN_MESSAGE_MAP(CEditorApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
ON_COMMAND(ID_FILE_NEW, OnFileNew)
ON_COMMAND(ID_FILE_SAVEGLOBALTEMPLATES, SaveGlobalTemplates)
ON_COMMAND(ID_VIEW_OUTPUT, OnViewOutput)
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
    m_spOutputWindow = std::make_unique<COutputWindow>();

    // The system objects in their order (the interpreter starts and imports App), the
    // property types and the renderer's hooks.
    if (!EngineStartup::Startup(m_pszStartDirectory))
        return FALSE;
    m_spOutputWindow->ConnectScripts();
    m_pGlobalTemplatesModule = PyEmbed::GetModule("GlobalPropertyTemplates", 0);
    const std::string kGlobalTemplates =
        std::string(m_pszStartDirectory) + "/" + SKPropertyScriptFile::GLOBAL_TEMPLATES_FILE;
    if (m_pGlobalTemplatesModule == nullptr && win32::FileExists(kGlobalTemplates))
    {
        m_kGlobalTemplatesFailure = DescribeLastScriptError(SKPropertyScriptFile::GLOBAL_TEMPLATES_FILE);
        if (m_kGlobalTemplatesFailure.empty())
            m_kGlobalTemplatesFailure = "it raised an error";
    }

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
    m_spOutputWindow->CreateFrame(pkMainFrame->GetToolkitWindow());
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
    if (m_spOutputWindow)
        m_spOutputWindow->DisconnectScripts();
    EngineStartup::Shutdown();
    m_spOutputWindow.reset();
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
    // Every script runs in the one main module: what an earlier script defined must not pass
    // for this one's loader or parent name, also when this one cannot be read.
    PyEmbed::RunSimpleString("import __main__ as _m\n"
                             "_m.__dict__.pop('LoadPropertySet', None)\n"
                             "_m.__dict__.pop('ParentPropertyScript', None)\n"
                             "del _m\n");
    std::FILE* pkFile = std::fopen(kPath, "r");
    if (pkFile == nullptr)
    {
        AfxMessageBox("Couldn't load script file.", MB_OK);
        return;
    }
    std::fclose(pkFile);
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
    const CString kFile = CString(pcFolder) + "/" + SKPropertyScriptFile::GLOBAL_TEMPLATES_FILE;
    if (!m_kGlobalTemplatesFailure.empty())
    {
        AfxMessageBox("Couldn't save the global templates: " + kFile + " failed when Fitwright started (" +
                          m_kGlobalTemplatesFailure.c_str() +
                          "), so only the templates before that error were read, and saving would lose "
                          "the others. The file was left as it is: correct it and restart Fitwright. The "
                          "output window shows the whole error.",
                      MB_OK | MB_ICONERROR);
        return;
    }
    if (!SKPropertyScriptFile::SaveGlobalTemplates(pcFolder, g_kModelPropertyManager))
        AfxMessageBox(CString("Couldn't save the global templates file ") + pcFolder + "/" +
                          SKPropertyScriptFile::GLOBAL_TEMPLATES_FILE + ".",
                      MB_OK | MB_ICONERROR);
}

void CEditorApp::OnViewOutput()
{
    if (m_spOutputWindow)
        m_spOutputWindow->Show();
}

void CEditorApp::OnAppAbout()
{
    CAboutDlg kDialog;
    kDialog.DoModal();
}
