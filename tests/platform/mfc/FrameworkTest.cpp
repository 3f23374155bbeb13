// The framework layer driven as the editor drives it, on real windows: an MDI application
// whose document frames split into three views of one document.
#include "platform/mfc/CCmdUI.h"
#include "platform/mfc/CDataExchange.h"
#include "platform/mfc/CDialog.h"
#include "platform/mfc/CDocument.h"
#include "platform/mfc/CFileDialog.h"
#include "platform/mfc/CMDIChildWnd.h"
#include "platform/mfc/CMDIFrameWnd.h"
#include "platform/mfc/CMultiDocTemplate.h"
#include "platform/mfc/CRecentFileList.h"
#include "platform/mfc/CSplitterWnd.h"
#include "platform/mfc/CStatusBar.h"
#include "platform/mfc/CView.h"
#include "platform/mfc/CWinApp.h"
#include "platform/mfc/RecordingModalHook.h"
#include "platform/mfc/Resources.h"
#include "platform/mfc/VirtualKey.h"
#include "platform/win32/DebugOutput.h"
#include "tests/support/TempFolder.h"
#include "tests/support/display/MenuDriver.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <wx/debug.h>
#include <wx/defs.h>
#include <wx/display.h>
#include <wx/menu.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace
{
constexpr UINT IDR_MAIN = 300;
constexpr UINT IDR_DOC = 301;
constexpr UINT IDD_NUMBERS = 302;
constexpr UINT ID_VIEW_CMD = 40001;
constexpr UINT ID_DOC_CMD = 40002;
constexpr UINT ID_CHILD_CMD = 40003;
constexpr UINT ID_MAIN_CMD = 40004;
constexpr UINT ID_APP_CMD = 40005;
constexpr UINT ID_NOBODY = 40006;
constexpr UINT ID_SHARED = 40007;
constexpr UINT ID_CHECKED = 40008;
constexpr int IDC_FLOAT = 1000;
constexpr int IDC_INT = 1001;
constexpr int IDC_UINT = 1002;

std::vector<std::string> g_kLog;

class TestDoc : public CDocument
{
    DECLARE_DYNCREATE(TestDoc)

public:
    ~TestDoc() override { g_kLog.push_back("doc deleted"); }
    BOOL OnOpenDocument(const char* pcPath) override
    {
        if (std::string(pcPath).find("bad") != std::string::npos)
            return FALSE;
        return CDocument::OnOpenDocument(pcPath);
    }
    void OnDocCmd() { g_kLog.push_back("doc"); }
    void OnShared() { g_kLog.push_back("doc shared"); }

    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestDoc, CDocument)
BEGIN_MESSAGE_MAP(TestDoc, CDocument)
ON_COMMAND(ID_DOC_CMD, OnDocCmd)
ON_COMMAND(ID_SHARED, OnShared)
END_MESSAGE_MAP()

class TestView : public CView
{
    DECLARE_DYNCREATE(TestView)

public:
    void OnUpdate(CView*, LPARAM, CObject*) override
    {
        g_kLog.push_back("update " + std::to_string(GetDlgCtrlID()));
    }
    void OnViewCmd() { g_kLog.push_back("view"); }

    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestView, CView)
BEGIN_MESSAGE_MAP(TestView, CView)
ON_COMMAND(ID_VIEW_CMD, OnViewCmd)
END_MESSAGE_MAP()

class TestChild : public CMDIChildWnd
{
    DECLARE_DYNCREATE(TestChild)

public:
    CSplitterWnd m_kSplitter;
    int m_iChecked = 1;

protected:
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override
    {
        if (!m_kSplitter.CreateStatic(this, 1, 3))
            return FALSE;
        return m_kSplitter.CreateView(0, 0, RUNTIME_CLASS(TestView), CSize{200, 100}, pContext) &&
               m_kSplitter.CreateView(0, 1, RUNTIME_CLASS(TestView), CSize{400, 500}, pContext) &&
               m_kSplitter.CreateView(0, 2, RUNTIME_CLASS(TestView), CSize{200, 100}, pContext);
    }
    void PostNcDestroy() override
    {
        g_kLog.push_back("child gone");
        CMDIChildWnd::PostNcDestroy();
    }
    void OnChildCmd() { g_kLog.push_back("child"); }
    void OnShared() { g_kLog.push_back("child shared"); }
    void OnUpdateChecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_iChecked); }

    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestChild, CMDIChildWnd)
BEGIN_MESSAGE_MAP(TestChild, CMDIChildWnd)
ON_COMMAND(ID_CHILD_CMD, OnChildCmd)
ON_COMMAND(ID_SHARED, OnShared)
ON_COMMAND(ID_CHECKED, OnChildCmd)
ON_UPDATE_COMMAND_UI(ID_CHECKED, OnUpdateChecked)
END_MESSAGE_MAP()

class TestMain : public CMDIFrameWnd
{
public:
    CStatusBar m_kStatusBar;

protected:
    int OnCreate(LPCREATESTRUCT lpcs) override
    {
        if (CMDIFrameWnd::OnCreate(lpcs) == -1 || !m_kStatusBar.Create(this))
            return -1;
        static const UINT s_anIndicators[] = {ID_SEPARATOR, 310, ID_INDICATOR_CAPS};
        return m_kStatusBar.SetIndicators(s_anIndicators, 3) ? 0 : -1;
    }
    void OnMainCmd() { g_kLog.push_back("main"); }

    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(TestMain, CMDIFrameWnd)
ON_COMMAND(ID_MAIN_CMD, OnMainCmd)
END_MESSAGE_MAP()

class TestApp : public CWinApp
{
public:
    TestApp() : CWinApp("Test") {}

    BOOL InitInstance() override
    {
        SetRegistryKey("TestCo");
        LoadStdProfileSettings(4);
        AddDocTemplate(new CMultiDocTemplate(IDR_DOC, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(TestChild),
                                             RUNTIME_CLASS(TestView)));
        auto* pkMain = new TestMain;
        if (!pkMain->LoadFrame(IDR_MAIN))
            return FALSE;
        m_pMainWnd = pkMain;
        pkMain->ShowWindow(SW_SHOW);
        return TRUE;
    }
    BOOL OnIdle(LONG lCount) override
    {
        m_kIdleCounts.push_back(lCount);
        return CWinApp::OnIdle(lCount);
    }
    void OnAppCmd() { g_kLog.push_back("app"); }

    std::vector<LONG> m_kIdleCounts;

    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(TestApp, CWinApp)
ON_COMMAND(ID_APP_CMD, OnAppCmd)
ON_COMMAND(ID_SHARED, OnAppCmd)
ON_COMMAND(ID_FILE_NEW, OnFileNew)
END_MESSAGE_MAP()

void AddResources()
{
    mfc::Resources::AddString(IDR_MAIN, "Test");
    mfc::Resources::AddString(IDR_DOC, "\nPage\nPage");
    mfc::Resources::AddString(310, "Pane text");
    using Entries = std::vector<mfc::MenuEntry>;
    mfc::Resources::AddMenu(
        {IDR_MAIN, {{"&File", Entries{{"&New", ID_FILE_NEW}, {}, {"Recent File", ID_FILE_MRU_FILE1}}}}});
    mfc::Resources::AddMenu(
        {IDR_DOC,
         {{"&File", Entries{{"&Close", ID_FILE_CLOSE}, {"Recent File", ID_FILE_MRU_FILE1}}},
          // The second item's handler sets a check mark its entry does not announce.
          {"&View",
           Entries{{"&Status Bar", ID_VIEW_STATUS_BAR, mfc::MenuMark::Check}, {"&Checked", ID_CHECKED}}}}});
    using mfc::ControlKind;
    mfc::Resources::AddDialog({IDD_NUMBERS,
                               "Numbers",
                               100,
                               60,
                               {{ControlKind::Edit, IDC_FLOAT, "", 5, 5, 60, 12},
                                {ControlKind::Edit, IDC_INT, "", 5, 20, 60, 12},
                                {ControlKind::Edit, IDC_UINT, "", 5, 35, 60, 12},
                                {ControlKind::DefButton, IDOK, "OK", 70, 5, 25, 14},
                                {ControlKind::Button, IDCANCEL, "Cancel", 70, 22, 25, 14}}});
}

class FrameworkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("XDG_CONFIG_HOME", m_kConfig.Path().c_str(), 1);
        g_kLog.clear();
        AddResources();
        char acName[] = "test";
        char* apcArgv[] = {acName, nullptr};
        ASSERT_TRUE(m_kApp.StartUp(1, apcArgv));
        m_kApp.PumpMessages();
    }
    void TearDown() override { m_kApp.ShutDown(); }

    CDocTemplate* Template()
    {
        POSITION pos = m_kApp.GetFirstDocTemplatePosition();
        return m_kApp.GetNextDocTemplate(pos);
    }
    int DocumentCount()
    {
        int iCount = 0;
        for (POSITION pos = Template()->GetFirstDocPosition(); pos != nullptr; Template()->GetNextDoc(pos))
            ++iCount;
        return iCount;
    }
    TestMain* Main() { return static_cast<TestMain*>(m_kApp.m_pMainWnd); }
    std::string Title(CWnd* pkWnd) { return pkWnd->GetWindowText().Str(); }

    TempFolder m_kConfig;
    TempFolder m_kFiles;
    TestApp m_kApp;
};

TEST_F(FrameworkTest, OpeningMakesOneFramePerDocumentWithItsTitleAndRecentFile)
{
    const std::string kPath = m_kFiles.WriteFile("a.txt", "x");
    CDocument* pkDoc = m_kApp.OpenDocumentFile(kPath.c_str());
    ASSERT_NE(pkDoc, nullptr);
    m_kApp.PumpMessages();
    EXPECT_EQ(pkDoc->GetTitle(), "a.txt");
    EXPECT_EQ(Title(Main()), "Test - a.txt");
    ASSERT_NE(Main()->MDIGetActive(), nullptr);
    EXPECT_EQ(Title(Main()->MDIGetActive()), "a.txt");
    auto* pkChild = static_cast<TestChild*>(Main()->MDIGetActive());
    for (int iCol = 0; iCol < 3; ++iCol)
    {
        CWnd* pkPane = pkChild->m_kSplitter.GetPane(0, iCol);
        ASSERT_TRUE(pkPane != nullptr && pkPane->IsKindOf(RUNTIME_CLASS(TestView)));
        EXPECT_EQ(static_cast<CView*>(pkPane)->GetDocument(), pkDoc);
    }
    // The first pane is the active view; the views answer their size from the widgets.
    EXPECT_EQ(pkChild->GetActiveView(), pkChild->m_kSplitter.GetPane(0, 0));
    RECT kRect;
    pkChild->m_kSplitter.GetPane(0, 1)->GetClientRect(&kRect);
    EXPECT_GT(kRect.right, 0);
    EXPECT_GT(kRect.bottom, 0);

    // The same file spelled in other case is the same document.
    std::string kUpper = m_kFiles.Path("A.TXT");
    EXPECT_EQ(m_kApp.OpenDocumentFile(kUpper.c_str()), pkDoc);
    EXPECT_EQ(DocumentCount(), 1);
    ASSERT_EQ(m_kApp.GetRecentFileList()->GetSize(), 1);
    EXPECT_EQ((*m_kApp.GetRecentFileList())[0], kPath.c_str());
}

TEST_F(FrameworkTest, AFailedOpenTakesItsFrameAndDocumentAway)
{
    const std::string kPath = m_kFiles.WriteFile("bad.txt", "x");
    EXPECT_EQ(m_kApp.OpenDocumentFile(kPath.c_str()), nullptr);
    EXPECT_EQ(m_kApp.OpenDocumentFile(m_kFiles.Path("missing.txt").c_str()), nullptr);
    EXPECT_EQ(DocumentCount(), 0);
    // The document goes with its last view, before its frame's last call.
    EXPECT_EQ((std::vector<std::string>{"doc deleted", "child gone", "doc deleted", "child gone"}), g_kLog);
    EXPECT_EQ(m_kApp.GetRecentFileList()->GetSize(), 0);
}

TEST_F(FrameworkTest, CommandsRunAlongTheRouteAndUnhandledOnesAreDisabled)
{
    // Without a document the main frame and the application answer.
    EXPECT_TRUE(Main()->RouteCommand(ID_MAIN_CMD));
    EXPECT_TRUE(Main()->RouteCommand(ID_SHARED));
    EXPECT_FALSE(Main()->RouteCommand(ID_DOC_CMD));
    EXPECT_EQ((std::vector<std::string>{"main", "app"}), g_kLog);
    g_kLog.clear();

    m_kApp.OpenDocumentFile(m_kFiles.WriteFile("a.txt", "x").c_str());
    g_kLog.clear();
    for (UINT nID : {ID_VIEW_CMD, ID_DOC_CMD, ID_CHILD_CMD, ID_MAIN_CMD, ID_APP_CMD, ID_SHARED})
        EXPECT_TRUE(Main()->RouteCommand(nID));
    // The document comes before its frame on the way.
    EXPECT_EQ((std::vector<std::string>{"view", "doc", "child", "main", "app", "doc shared"}), g_kLog);

    CCmdUI kNobody(ID_NOBODY);
    Main()->UpdateCommandUI(kNobody);
    EXPECT_FALSE(kNobody.m_bEnabled);
    EXPECT_FALSE(Main()->RouteCommand(ID_NOBODY));
    CCmdUI kChecked(ID_CHECKED);
    Main()->UpdateCommandUI(kChecked);
    EXPECT_TRUE(kChecked.m_bEnabled);
    EXPECT_EQ(kChecked.m_nCheck, 1);
}

TEST_F(FrameworkTest, AnOpenedMenuShowsTheCheckMarksItsHandlersSet)
{
    m_kApp.OpenDocumentFile(m_kFiles.WriteFile("a.txt", "x").c_str());
    m_kApp.PumpMessages();
    auto* pkChild = static_cast<TestChild*>(Main()->MDIGetActive());
    ASSERT_NE(pkChild, nullptr);
    wxMenu* pkView = pkChild->GetMenuBar()->GetMenu(1);
    wxWindow* pkStatusBar = Main()->m_kStatusBar.GetToolkitWindow();
    const auto Show = [&](UINT nID)
    {
        menu::Open(pkView);
        m_kApp.PumpMessages();
        return menu::Find(pkView, nID);
    };

    // The document frame has no status bar: the main frame's answers, and its command shows
    // and hides the bar.
    menu::ItemState kBar = Show(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(kBar.bEnabled && kBar.bCheckable && kBar.bChecked);
    EXPECT_TRUE(Main()->RouteCommand(ID_VIEW_STATUS_BAR));
    EXPECT_FALSE(pkStatusBar->IsShown());
    kBar = Show(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(kBar.bEnabled && !kBar.bChecked);
    EXPECT_TRUE(Main()->RouteCommand(ID_VIEW_STATUS_BAR));
    EXPECT_TRUE(pkStatusBar->IsShown());

    // A plain item asked for a mark becomes a check item in its place.
    menu::ItemState kChecked = Show(ID_CHECKED);
    EXPECT_TRUE(kChecked.bCheckable && kChecked.bChecked);
    EXPECT_EQ(kChecked.kLabel, "Checked");
    EXPECT_EQ(menu::Items(pkView).back().nID, ID_CHECKED);
    pkChild->m_iChecked = 0;
    EXPECT_FALSE(Show(ID_CHECKED).bChecked);
}

void AppendToText(void* pvText, const char* pcText)
{
    *static_cast<std::string*>(pvText) += pcText;
}

TEST_F(FrameworkTest, AToolkitAssertionIsWrittenToTheDebugOutputAndTheProgramCarriesOn)
{
    std::string kOutput;
    const win32::DebugOutputTarget kCapture{&AppendToText, &kOutput};
    ASSERT_TRUE(win32::BeginDebugOutputCapture(kCapture));
    // Under the tests' main it also fails the test that raised it.
    EXPECT_NONFATAL_FAILURE(wxFAIL_MSG("a marker of this test"), "a marker of this test");
    win32::EndDebugOutputCapture(kCapture);
    EXPECT_NE(kOutput.find("FrameworkTest.cpp("), std::string::npos) << kOutput;
    EXPECT_NE(kOutput.find("toolkit assertion"), std::string::npos) << kOutput;
    EXPECT_NE(kOutput.find("a marker of this test\n"), std::string::npos) << kOutput;
    EXPECT_TRUE(Main()->RouteCommand(ID_MAIN_CMD));
}

TEST_F(FrameworkTest, UpdatesReachEveryViewButTheSenderInOrder)
{
    CDocument* pkDoc = m_kApp.OpenDocumentFile(m_kFiles.WriteFile("a.txt", "x").c_str());
    POSITION pos = pkDoc->GetFirstViewPosition();
    CView* pkFirst = pkDoc->GetNextView(pos);
    g_kLog.clear();
    pkDoc->UpdateAllViews(pkFirst);
    EXPECT_EQ((std::vector<std::string>{"update 59649", "update 59650"}), g_kLog);
}

TEST_F(FrameworkTest, ClosingTheFrameDestroysItBeforeItsDocument)
{
    m_kApp.OpenDocumentFile(m_kFiles.WriteFile("a.txt", "x").c_str());
    m_kApp.PumpMessages();
    g_kLog.clear();
    EXPECT_TRUE(Main()->RouteCommand(ID_FILE_CLOSE));
    m_kApp.PumpMessages();
    EXPECT_EQ((std::vector<std::string>{"child gone", "doc deleted"}), g_kLog);
    EXPECT_EQ(DocumentCount(), 0);
    EXPECT_EQ(Title(Main()), "Test");
}

TEST_F(FrameworkTest, FileNewNamesTheDocumentFromTheTemplate)
{
    EXPECT_TRUE(Main()->RouteCommand(ID_FILE_NEW));
    ASSERT_EQ(DocumentCount(), 1);
    POSITION pos = Template()->GetFirstDocPosition();
    EXPECT_EQ(Template()->GetNextDoc(pos)->GetTitle(), "Page1");
}

TEST_F(FrameworkTest, MessageBoxesAndFileDialogsGoThroughTheHook)
{
    mfc::RecordingModalHook kHook;
    kHook.QueueButton(IDNO);
    EXPECT_EQ(AfxMessageBox("Sure?", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "From the system layer.", "Error", MB_OK), IDOK);
    kHook.QueueFile(m_kFiles.Path("chosen"));
    CFileDialog kDialog(FALSE, ".py", "dir/*.py", OFN_OVERWRITEPROMPT, "Python Scripts (*.py)|*.py||");
    EXPECT_EQ(kDialog.DoModal(), IDOK);
    EXPECT_EQ(kDialog.GetPathName(), m_kFiles.Path("chosen.py").c_str());

    const auto& kRecords = kHook.GetRecords();
    ASSERT_EQ(kRecords.size(), 3u);
    EXPECT_EQ(kRecords[0].kCaption, "Test");
    EXPECT_EQ(kRecords[0].uiType, MB_YESNO);
    EXPECT_EQ(kRecords[1].kText, "From the system layer.");
    EXPECT_EQ(kRecords[1].kCaption, "Error");
    EXPECT_EQ(kRecords[2].kText, "dir/*.py");
    EXPECT_EQ(kRecords[2].kCaption, "Python Scripts (*.py)|*.py||");
}

// A dialog of three numbers exchanged with their edits.
class NumbersDialog : public CDialog
{
public:
    NumbersDialog() : CDialog(IDD_NUMBERS) {}
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_FLOAT, m_fValue);
        DDX_Text(pDX, IDC_INT, m_iValue);
        DDX_Text(pDX, IDC_UINT, m_uiValue);
    }
    float m_fValue = 1.5f;
    int m_iValue = -3;
    UINT m_uiValue = 7;
};

TEST_F(FrameworkTest, DataExchangeParsesAsTheFrameworkDoes)
{
    struct Case
    {
        const char* pcFloat;
        const char* pcInt;
        const char* pcUint;
        int iResult;
        const char* pcMessage;
        float fValue;
        int iValue;
        UINT uiValue;
    };
    const Case akCases[] = {
        {" 2.5 ", "-4", "8", IDOK, nullptr, 2.5f, -4, 8},
        {"", "1", "1", IDCANCEL, "Please enter a number.", 1.5f, -3, 7},
        {"1e", "1", "1", IDCANCEL, "Please enter a number.", 1.5f, -3, 7},
        // Members before the failing one keep what they got.
        {"4", "4.0", "1", IDCANCEL, "Please enter an integer.", 4.0f, -3, 7},
        {"4", "5", "-1", IDCANCEL, "Please enter a positive integer.", 4.0f, 5, 7},
    };
    for (const Case& kCase : akCases)
    {
        mfc::RecordingModalHook kHook;
        NumbersDialog kDialog;
        std::vector<std::string> kShown;
        kHook.Queue(
            [&](mfc::ModalRequest& kRequest)
            {
                // The controls show the members when the dialog comes up.
                kShown = {kRequest.pkDialog->GetDlgItem(IDC_FLOAT)->GetWindowText().Str(),
                          kRequest.pkDialog->GetDlgItem(IDC_INT)->GetWindowText().Str(),
                          kRequest.pkDialog->GetDlgItem(IDC_UINT)->GetWindowText().Str()};
                kRequest.pkDialog->GetDlgItem(IDC_FLOAT)->SetWindowText(kCase.pcFloat);
                kRequest.pkDialog->GetDlgItem(IDC_INT)->SetWindowText(kCase.pcInt);
                kRequest.pkDialog->GetDlgItem(IDC_UINT)->SetWindowText(kCase.pcUint);
                return static_cast<int>(IDOK);
            });
        EXPECT_EQ(kDialog.DoModal(), kCase.iResult) << kCase.pcFloat;
        EXPECT_EQ((std::vector<std::string>{"1.5", "-3", "7"}), kShown);
        EXPECT_EQ(kDialog.m_fValue, kCase.fValue) << kCase.pcFloat;
        EXPECT_EQ(kDialog.m_iValue, kCase.iValue) << kCase.pcInt;
        EXPECT_EQ(kDialog.m_uiValue, kCase.uiValue) << kCase.pcUint;
        const auto kTexts = kHook.GetMessageTexts();
        if (kCase.pcMessage == nullptr)
            EXPECT_TRUE(kTexts.empty());
        else
            EXPECT_EQ(kTexts, std::vector<std::string>{kCase.pcMessage});
    }
}

TEST_F(FrameworkTest, RecentFilesAndProfileValuesLastInTheConfigurationFile)
{
    for (const char* pcName : {"1.txt", "2.txt", "3.txt", "4.txt", "5.txt", "2.txt"})
        m_kApp.AddToRecentFileList(m_kFiles.Path(pcName).c_str());
    CRecentFileList& kList = *m_kApp.GetRecentFileList();
    ASSERT_EQ(kList.GetSize(), 4);
    EXPECT_EQ(kList[0], m_kFiles.Path("2.txt").c_str());
    EXPECT_EQ(kList[1], m_kFiles.Path("5.txt").c_str());
    EXPECT_EQ(kList[3], m_kFiles.Path("3.txt").c_str());
    EXPECT_TRUE(m_kApp.WriteProfileString("Options", "ModelDirectory", "C:\\ships\\"));
    EXPECT_EQ(m_kApp.GetProfileString("Options", "ModelDirectory"), "C:\\ships\\");
    EXPECT_EQ(m_kApp.GetProfileString("Options", "Missing", "dflt"), "dflt");

    const std::string kProfile = m_kApp.GetProfilePath().Str();
    EXPECT_EQ(kProfile, m_kConfig.Path("TestCo/Test.conf"));
    m_kApp.ShutDown();
    const std::string kText = TempFolder::ReadFile(m_kConfig.Path("TestCo/Test.conf"));
    EXPECT_NE(kText.find("File1=" + m_kFiles.Path("2.txt")), std::string::npos);
    EXPECT_NE(kText.find("[Options]"), std::string::npos);
}

TEST_F(FrameworkTest, IdleTimeCountsFromZeroInEachBurst)
{
    m_kApp.m_kIdleCounts.clear();
    m_kApp.PumpMessages();
    ASSERT_GE(m_kApp.m_kIdleCounts.size(), 2u);
    EXPECT_EQ(m_kApp.m_kIdleCounts[0], 0);
    EXPECT_EQ(m_kApp.m_kIdleCounts[1], 1);
    for (LONG lCount : m_kApp.m_kIdleCounts)
        EXPECT_LE(lCount, 1);
    EXPECT_EQ(Main()->m_kStatusBar.GetPaneText(1), "Pane text");
}

TEST_F(FrameworkTest, AMainFrameFirstShownPastTheScreensEdgeComesWhollyOntoIt)
{
    const wxRect kArea = wxDisplay().GetClientArea();
    struct Case
    {
        const char* pcWhere;
        wxPoint kAt;
        bool bMoves;
    };
    const Case akCases[] = {{"past the bottom right", kArea.GetBottomRight() - wxPoint(200, 100), true},
                            {"inside", kArea.GetTopLeft() + wxPoint(1, 1), false}};
    for (const Case& kCase : akCases)
    {
        SCOPED_TRACE(kCase.pcWhere);
        auto* pkFrame = new TestMain;
        ASSERT_TRUE(pkFrame->LoadFrame(IDR_MAIN));
        wxWindow* pkWindow = pkFrame->GetToolkitWindow();
        EXPECT_TRUE(kArea.Contains(wxRect(kArea.GetTopLeft(), pkWindow->GetSize())));
        // Where a window manager (or the last run) might put it before it shows.
        pkWindow->Move(kCase.kAt);
        pkFrame->ShowWindow(SW_SHOW);
        for (int i = 0;
             i < 50 && (kCase.bMoves ? kArea.Contains(pkWindow->GetScreenRect()) == false : i < 20); ++i)
        {
            m_kApp.PumpMessages();
            wxMilliSleep(10);
        }
        m_kApp.PumpMessages();
        EXPECT_TRUE(kArea.Contains(pkWindow->GetScreenRect()));
        if (!kCase.bMoves)
        {
            EXPECT_EQ(pkWindow->GetScreenPosition(), kCase.kAt);
        }
        pkFrame->DestroyWindow();
        m_kApp.PumpMessages();
    }
}

TEST(VirtualKeyTest, ToolkitKeysBecomeVirtualKeyCodes)
{
    const std::pair<int, UINT> akKeys[] = {{'p', 'P'},
                                           {'P', 'P'},
                                           {'7', '7'},
                                           {WXK_F1, 112},
                                           {WXK_F3, 114},
                                           {WXK_F11, 122},
                                           {WXK_NUMPAD_DIVIDE, 111},
                                           {WXK_NUMPAD_SEPARATOR, 108},
                                           {WXK_UP, 38},
                                           {WXK_DOWN, 40},
                                           {WXK_SHIFT, 0},
                                           {WXK_NUMPAD3, 99}};
    for (const auto& [iToolkit, nVirtual] : akKeys)
    {
        const UINT nExpected = iToolkit == WXK_SHIFT ? VK_SHIFT : nVirtual;
        EXPECT_EQ(mfc::VirtualKeyFromToolkit(iToolkit), nExpected) << iToolkit;
        EXPECT_EQ(mfc::VirtualKeyFromToolkit(mfc::ToolkitKeyFromVirtualKey(nExpected)), nExpected)
            << iToolkit;
    }
}
} // namespace
