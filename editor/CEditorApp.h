#pragma once

#include "platform/mfc/CWinApp.h"

#include <memory>
#include <string>

struct _object;

class COutputWindow;
class CPropertyDoc;

// The editor application: starts the engine and the global templates, opens models with
// their property scripts, redraws the active model when idle and keeps the options.
class CEditorApp : public CWinApp
{
public:
    CEditorApp();
    ~CEditorApp() override;

    // The application object, when it is the editor.
    static CEditorApp* GetEditorApp();

    BOOL InitInstance() override;
    int ExitInstance() override;
    BOOL OnIdle(LONG lCount) override;
    CDocument* OpenDocumentFile(const char* pcFileName) override;
    void AddToRecentFileList(const char* pcPathName) override;

    // Runs a script file in the interpreter's main module; "Couldn't load script file." when
    // it cannot be opened.
    void RunScriptFile(CString kPath);

    CString GetModelDirectory();
    CString GetScriptDirectory();
    float GetModelScale();
    void SetTexturePath(const char* pcText);
    const char* GetTexturePath() const { return m_pszTexturePath; }
    const char* GetStartDirectory() const { return m_pszStartDirectory; }
    // The module GlobalPropertyTemplates as imported at start-up; null when that failed.
    _object* GetGlobalTemplatesModule() const { return m_pGlobalTemplatesModule; }

    // The script next to a model: its path with the extension ".py", matched without regard
    // to case in the model's folder; empty when there is none.
    static std::string FindModelScript(const char* pcModelPath);

    // Writes GlobalPropertyTemplates.py into the start-up folder (command 32783); a message
    // box reports a failure. Refused, with the file left as it is, when that file failed to
    // run at start-up: only the templates before its error are known.
    void SaveGlobalTemplates();

    // Where script output and the debugger output show; null before start-up and after exit.
    COutputWindow* GetOutputWindow() const { return m_spOutputWindow.get(); }

protected:
    void OnFileOpen();
    void OnAppAbout();
    void OnViewOutput();

    DECLARE_MESSAGE_MAP()

private:
    CPropertyDoc* GetActivePropertyDocument();

    _object* m_pGlobalTemplatesModule = nullptr;
    char* m_pszStartDirectory = nullptr;
    char* m_pszTexturePath = nullptr;
    std::unique_ptr<COutputWindow> m_spOutputWindow;
    // Why the global templates file that exists in the start-up folder failed to run there;
    // empty when it ran (or there was none).
    std::string m_kGlobalTemplatesFailure;
};
