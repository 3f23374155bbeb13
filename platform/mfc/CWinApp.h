#pragma once

#include "platform/mfc/CCmdTarget.h"
#include "platform/mfc/CString.h"

#include <memory>
#include <vector>

class CDocTemplate;
class CDocument;
class CCmdUI;
class CCommandLineInfo;
class CRecentFileList;
class wxFileConfig;
class wxGUIEventLoop;

// The application: it starts the toolkit, runs InitInstance, the message loop with its idle
// calls, and ExitInstance; it keeps the document templates, the recent files and the
// profile (a configuration file per registry key and application).
class CWinApp : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinApp)

public:
    explicit CWinApp(const char* pcAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    // The base saves the recent files and answers the exit code.
    virtual int ExitInstance();
    // Called while the message queue is empty with a count from 0; TRUE asks for another
    // call. The base does its idle work at count 0 and answers FALSE from count 1 on.
    virtual BOOL OnIdle(LONG lCount);
    virtual CDocument* OpenDocumentFile(const char* pcFileName);
    virtual void AddToRecentFileList(const char* pcPathName);

    // The whole program: toolkit, InitInstance, loop, ExitInstance; the exit code.
    int Run(int argc, char** argv);
    // The same in steps, for tests: StartUp (FALSE when the toolkit or InitInstance fails),
    // PumpMessages (handles what is queued and the idle calls), ShutDown (closes what is
    // open, ExitInstance, toolkit down).
    BOOL StartUp(int argc, char** argv);
    void PumpMessages();
    int ShutDown();

    // Profile. The file is <configuration folder>/<registry key>/<application>.conf; the
    // configuration folder is $XDG_CONFIG_HOME or ~/.config.
    void SetRegistryKey(const char* pcRegistryKey);
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    CString GetProfileString(const char* pcSection, const char* pcEntry, const char* pcDefault = nullptr);
    // A null value removes the entry.
    BOOL WriteProfileString(const char* pcSection, const char* pcEntry, const char* pcValue);
    int GetProfileInt(const char* pcSection, const char* pcEntry, int nDefault);
    BOOL WriteProfileInt(const char* pcSection, const char* pcEntry, int nValue);
    CString GetProfilePath() const;

    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& rPosition) const;
    void CloseAllDocuments(BOOL bEndSession);
    void ParseCommandLine(CCommandLineInfo& kInfo);
    CRecentFileList* GetRecentFileList() const { return m_spRecentFileList.get(); }

    // The main frame went away: the loop ends.
    void MainWindowDestroyed();

    CWnd* m_pMainWnd = nullptr;
    int m_nCmdShow = 1;
    const char* m_pszAppName = nullptr;

protected:
    void OnFileNew();
    void OnFileOpen();
    void OnAppExit();
    BOOL OnOpenRecentFile(UINT nID);
    void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()

private:
    wxFileConfig* GetProfile();

    CString m_strRegistryKey;
    std::unique_ptr<wxFileConfig> m_spProfile;
    std::unique_ptr<CRecentFileList> m_spRecentFileList;
    std::vector<std::unique_ptr<CDocTemplate>> m_kTemplates;
    std::vector<char*> m_kArgv;
    std::unique_ptr<wxGUIEventLoop> m_spLoop;
    LONG m_lIdleCount = 0;
    bool m_bToolkitUp = false;
    bool m_bInitDone = false;
    int m_iExitCode = 0;
};
