// A person's session with the editor, end to end on the virtual display: every step is a real
// mouse or key event through the X server (the toolkit's input simulation), only the file
// dialogs are answered by the modal hook. The editor starts as the program does, opens the
// sample ship, adds a global template to a node, edits it by typing and with the slide button,
// turns a phaser with the spin button, saves the script under a new name and the global
// templates, and exits; started again, it finds what was edited.
#include "editor/CArcWeaponPage.h"
#include "editor/CEditSubsystemDialog.h"
#include "editor/CNifView.h"
#include "editor/CPickTemplateDlg.h"
#include "editor/CPropertyEditSheet.h"
#include "editor/CPropertyView.h"
#include "editor/CSceneGraphView.h"
#include "editor/resources/PageResource.h"
#include "platform/mfc/CPropertyPage.h"
#include "platform/mfc/CStatusBar.h"
#include "properties/PhaserProperty.h"
#include "properties/RepairSubsystemProperty.h"
#include "properties/SKModelPropertyManager.h"
#include "tests/editor/EditorSessionFixture.h"
#include "tests/support/display/ScreenImage.h"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/notebook.h>
#include <wx/treectrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>

namespace
{
class UserSessionInputTest : public EditorSessionFixture
{
protected:
    // Lets the toolkit handle what is queued until the condition holds (or a few seconds pass).
    bool PumpUntil(const std::function<bool()>& fnDone)
    {
        const auto kEnd = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < kEnd)
        {
            m_kApp.PumpMessages();
            if (fnDone())
                return true;
            wxMilliSleep(10);
        }
        return false;
    }
    void Settle()
    {
        for (int i = 0; i < 10; ++i)
        {
            m_kApp.PumpMessages();
            wxMilliSleep(10);
        }
    }
    // The middle of the points of the window's client area that the test accepts, on screen.
    static std::optional<wxPoint> Where(wxWindow* pkWindow, const std::function<bool(const wxPoint&)>& fnHit)
    {
        const wxSize kSize = pkWindow->GetClientSize();
        long lX = 0;
        long lY = 0;
        long lCount = 0;
        for (int y = 1; y < kSize.y; y += 2)
            for (int x = 1; x < kSize.x; x += 2)
                if (fnHit(wxPoint(x, y)))
                {
                    lX += x;
                    lY += y;
                    ++lCount;
                }
        if (lCount == 0)
            return std::nullopt;
        return pkWindow->ClientToScreen(
            wxPoint(static_cast<int>(lX / lCount), static_cast<int>(lY / lCount)));
    }
    static wxPoint CentreOf(wxWindow* pkWindow)
    {
        const wxRect kRect = pkWindow->GetScreenRect();
        return kRect.GetPosition() + wxPoint(kRect.GetWidth() / 2, kRect.GetHeight() / 2);
    }
    void Click(const wxPoint& kScreen)
    {
        m_kInput.MouseMove(kScreen);
        Settle();
        m_kInput.MouseClick();
        Settle();
    }
    // The first window under the root (itself included) that the test accepts.
    static wxWindow* Find(wxWindow* pkRoot, const std::function<bool(wxWindow*)>& fnWanted)
    {
        if (fnWanted(pkRoot))
            return pkRoot;
        for (wxWindow* pkChild : pkRoot->GetChildren())
            if (wxWindow* pkFound = Find(pkChild, fnWanted))
                return pkFound;
        return nullptr;
    }
    // Clicks the button with that label, as a person finds it.
    void ClickButton(CWnd* pkHost, const std::string& kLabel)
    {
        wxWindow* pkButton =
            Find(pkHost->GetToolkitWindow(),
                 [&](wxWindow* pkWindow)
                 {
                     auto* pkCandidate = dynamic_cast<wxButton*>(pkWindow);
                     return pkCandidate != nullptr && pkCandidate->GetLabelText().utf8_string() == kLabel;
                 });
        ASSERT_NE(pkButton, nullptr) << kLabel;
        Click(CentreOf(pkButton));
    }
    // Clicks the list entry with that text, in whichever list of the window shows it.
    void ClickEntry(CWnd* pkHost, const std::string& kText)
    {
        const wxString kEntry = wxString::FromUTF8(kText.c_str());
        auto* pkList = dynamic_cast<wxListBox*>(
            Find(pkHost->GetToolkitWindow(),
                 [&](wxWindow* pkWindow)
                 {
                     auto* pkBox = dynamic_cast<wxListBox*>(pkWindow);
                     return pkBox != nullptr && pkBox->FindString(kEntry, true) != wxNOT_FOUND;
                 }));
        ASSERT_NE(pkList, nullptr) << kText;
        const int iEntry = pkList->FindString(kEntry, true);
        const auto kAt =
            Where(pkList, [&](const wxPoint& kPoint) { return pkList->HitTest(kPoint) == iEntry; });
        ASSERT_TRUE(kAt.has_value()) << kText;
        Click(*kAt);
    }
    // The entries of the window's list box.
    static std::vector<std::string> Entries(CWnd* pkHost)
    {
        std::vector<std::string> kEntries;
        auto* pkList =
            dynamic_cast<wxListBox*>(Find(pkHost->GetToolkitWindow(), [](wxWindow* pkWindow)
                                          { return dynamic_cast<wxListBox*>(pkWindow) != nullptr; }));
        for (unsigned int i = 0; pkList != nullptr && i < pkList->GetCount(); ++i)
            kEntries.emplace_back(pkList->GetString(i).utf8_str());
        return kEntries;
    }
    wxTreeCtrl* SceneTree()
    {
        return dynamic_cast<wxTreeCtrl*>(Active()->GetSceneGraphView()->GetTree().GetToolkitWindow());
    }
    // Clicks the scene tree's item with that text: on its label, or on its expander.
    void ClickTreeItem(const std::string& kText, bool bExpander = false)
    {
        wxTreeCtrl* pkTree = SceneTree();
        ASSERT_NE(pkTree, nullptr);
        const auto kAt = Where(
            pkTree,
            [&](const wxPoint& kPoint)
            {
                int iFlags = 0;
                const wxTreeItemId kItem = pkTree->HitTest(kPoint, iFlags);
                return kItem.IsOk() && pkTree->GetItemText(kItem).utf8_string() == kText &&
                       (iFlags & (bExpander ? wxTREE_HITTEST_ONITEMBUTTON : wxTREE_HITTEST_ONITEMLABEL)) != 0;
            });
        ASSERT_TRUE(kAt.has_value()) << kText;
        Click(*kAt);
    }
    // Clicks the sheet's tab of that page.
    void ClickTab(CPropertySheet* pkSheet, int iPage)
    {
        wxNotebook* pkTabs = nullptr;
        for (wxWindow* pkChild : pkSheet->GetToolkitWindow()->GetChildren())
            if (auto* pkNotebook = dynamic_cast<wxNotebook*>(pkChild))
                pkTabs = pkNotebook;
        ASSERT_NE(pkTabs, nullptr);
        const auto kAt =
            Where(pkTabs, [&](const wxPoint& kPoint) { return pkTabs->HitTest(kPoint) == iPage; });
        ASSERT_TRUE(kAt.has_value()) << iPage;
        Click(*kAt);
    }
    void Key(int iKey, int iModifiers = wxMOD_NONE)
    {
        m_kInput.Char(iKey, iModifiers);
        Settle();
    }
    // Clicks into an edit of the page, replaces its text by typing, and waits for it to show.
    bool TypeInto(CWnd* pkPage, UINT nID, const char* pcText)
    {
        CWnd* pkEdit = pkPage->GetDlgItem(static_cast<int>(nID));
        Click(CentreOf(pkEdit->GetToolkitWindow()));
        Key('a', wxMOD_CONTROL);
        m_kInput.Text(pcText);
        return PumpUntil([&] { return pkEdit->GetWindowText().Str() == pcText; });
    }
    static std::string Text(CWnd* pkPage, UINT nID)
    {
        return pkPage->GetDlgItem(static_cast<int>(nID))->GetWindowText().Str();
    }
    // Presses the button over the control, moves by the steps (pixels each), releases.
    void Drag(const CWnd& kButton, int iButton, const wxPoint& kStep, int iSteps)
    {
        const wxPoint kStart = CentreOf(kButton.GetToolkitWindow());
        m_kInput.MouseMove(kStart);
        Settle();
        m_kInput.MouseDown(iButton);
        Settle();
        for (int i = 1; i <= iSteps; ++i)
        {
            m_kInput.MouseMove(kStart + wxPoint(kStep.x * i, kStep.y * i));
            Settle();
        }
        m_kInput.MouseUp(iButton);
        Settle();
    }
    // The sheet Edit Property opened, moved beside the main window so the view stays in sight.
    CPropertyEditSheet* EditSelectedProperty()
    {
        const size_t uiBefore = CPropertyEditSheet::GetOpenSheets().size();
        ClickButton(Active()->GetPropertyView(), "Edit Property");
        if (!PumpUntil([&] { return CPropertyEditSheet::GetOpenSheets().size() == uiBefore + 1; }))
            return nullptr;
        CPropertyEditSheet* pkSheet = CPropertyEditSheet::GetOpenSheets().back();
        pkSheet->GetToolkitWindow()->Move(650, 0);
        Settle();
        return pkSheet;
    }
    // Brings the whole sheet into sight, as a person would move it, and presses its button.
    void CloseSheet(CPropertyEditSheet* pkSheet, const char* pcButton)
    {
        wxWindow* pkWindow = pkSheet->GetToolkitWindow();
        const int iScreenWidth = wxGetDisplaySize().GetWidth();
        if (pkWindow->GetScreenRect().GetRight() >= iScreenWidth)
            pkWindow->Move(std::max(0, iScreenWidth - pkWindow->GetSize().GetWidth()), 0);
        Settle();
        ClickButton(pkSheet, pcButton);
    }
    wxImage ViewImage()
    {
        wxWindow* pkView = Active()->GetNifView()->GetToolkitWindow();
        pkView->Refresh();
        pkView->Update();
        Settle();
        return ScreenImage(*pkView);
    }
    // How many pixels differ between two pictures of the same window.
    static int Changed(const wxImage& kBefore, const wxImage& kAfter)
    {
        int iChanged = 0;
        for (int y = 0; y < kBefore.GetHeight(); ++y)
            for (int x = 0; x < kBefore.GetWidth(); ++x)
                if (kBefore.GetRed(x, y) != kAfter.GetRed(x, y) ||
                    kBefore.GetGreen(x, y) != kAfter.GetGreen(x, y) ||
                    kBefore.GetBlue(x, y) != kAfter.GetBlue(x, y))
                    ++iChanged;
        return iChanged;
    }
    // Starts the editor with its main window at the top left, the size the sheet leaves room for.
    void StartEditor()
    {
        Start();
        Main()->GetToolkitWindow()->SetSize(0, 0, 640, 760);
        Settle();
    }
    // File Open through its accelerator, the file dialog answering the path.
    void OpenFile(const std::string& kPath)
    {
        m_kHook.QueueFile(kPath);
        Shortcut('o');
        Settle();
    }
    // Keys go to the main window after a click on its status bar, as a person clicks into a
    // window before typing.
    void ClickMainWindow() { Click(CentreOf(Main()->GetStatusBar()->GetToolkitWindow())); }
    void Shortcut(int iKey)
    {
        ClickMainWindow();
        Key(iKey, wxMOD_CONTROL);
    }
    // A menu item through the keyboard: the menu's mnemonic, then the item's.
    void Menu(char cMenu, char cItem)
    {
        ClickMainWindow();
        Key(cMenu, wxMOD_ALT);
        Key(cItem);
    }

    wxUIActionSimulator m_kInput;
};
} // namespace

TEST_F(UserSessionInputTest, EditsMadeWithTheMouseAndKeysAreThereAfterARestart)
{
    StartEditor();
    OpenFile(Model("SampleShip.nif"));
    ASSERT_NE(Active(), nullptr);
    ASSERT_NE(Active()->GetSceneRoot(), nullptr);

    // The node, then a global template added to it from the Pick Template dialog, which comes
    // up on the screen and is worked with the mouse.
    ClickTreeItem("SampleShip", true);
    ClickTreeItem("Sensor Array");
    ASSERT_NE(Active()->GetSelectedNode(), nullptr);
    EXPECT_STREQ(Active()->GetSelectedNode()->GetName(), "Sensor Array");
    bool bPicked = false;
    m_kHook.Queue(
        [&](mfc::ModalRequest& kRequest)
        {
            auto* pkPick = dynamic_cast<CPickTemplateDlg*>(kRequest.pkDialog);
            if (pkPick == nullptr)
                return static_cast<int>(IDCANCEL);
            pkPick->GetToolkitWindow()->Show();
            pkPick->GetToolkitWindow()->Raise();
            Settle();
            ClickEntry(pkPick, "Standard Repair");
            ClickButton(pkPick, "OK");
            bPicked = PumpUntil([&] { return pkPick->GetPickedTemplate() != nullptr; });
            return static_cast<int>(IDOK);
        });
    CPropertyView* pkList = Active()->GetPropertyView();
    ClickButton(pkList, "Add Property");
    ASSERT_TRUE(bPicked);
    ASSERT_EQ(Entries(pkList), (std::vector<std::string>{"Standard Sensor", "Standard Repair"}));

    // Edit Property on it: a value typed on the first page, the position dragged with the
    // slide button on the subsystem page; the view draws the property where it moved.
    ClickEntry(pkList, "Standard Repair");
    auto* pkRepair = RepairSubsystemProperty::Cast(
        g_kModelPropertyManager.FindByName("Standard Repair", SKModelPropertyManager::GLOBAL_TEMPLATES));
    ASSERT_NE(pkRepair, nullptr);
    CPropertyEditSheet* pkSheet = EditSelectedProperty();
    ASSERT_NE(pkSheet, nullptr);
    EXPECT_TRUE(TypeInto(pkSheet->GetPage(0), IDC_MAX_REPAIR_POINTS, "25"));
    ClickTab(pkSheet, 2);
    ASSERT_EQ(pkSheet->GetActiveIndex(), 2);
    auto* pkSubsystem = static_cast<CEditSubsystemDialog*>(pkSheet->GetPage(2));
    const wxImage kBeforeSlide = ViewImage();
    ASSERT_TRUE(kBeforeSlide.IsOk());
    Drag(pkSubsystem->m_kSlideButton, wxMOUSE_BTN_LEFT, wxPoint(10, 0), 2);
    // Down far enough to come out below the closed hull.
    Drag(pkSubsystem->m_kSlideButton, wxMOUSE_BTN_RIGHT, wxPoint(0, -20), 3);
    EXPECT_EQ(Text(pkSubsystem, IDC_POSITION_X), "1");
    EXPECT_EQ(Text(pkSubsystem, IDC_POSITION_Z), "-3");
    EXPECT_GT(Changed(kBeforeSlide, ViewImage()), 20);
    CloseSheet(pkSheet, "OK");
    ASSERT_TRUE(PumpUntil([] { return CPropertyEditSheet::GetOpenSheets().empty(); }));
    EXPECT_EQ(pkRepair->GetMaxRepairPoints(), 25.0f);
    EXPECT_NEAR(pkRepair->GetPosition().x, 1.0f, 1e-5f);
    EXPECT_NEAR(pkRepair->GetPosition().z, -3.0f, 1e-5f);

    // The port phaser turned with the spin button: the view shows its new direction.
    ClickTreeItem("Port Phaser");
    ClickEntry(pkList, "Port Phaser");
    auto* pkPhaser = PhaserProperty::Cast(
        g_kModelPropertyManager.FindByName("Port Phaser", SKModelPropertyManager::LOCAL_TEMPLATES));
    ASSERT_NE(pkPhaser, nullptr);
    pkSheet = EditSelectedProperty();
    ASSERT_NE(pkSheet, nullptr);
    auto* pkPhaserPage = static_cast<CArcWeaponPage*>(pkSheet->GetPage(0));
    const wxImage kBeforeSpin = ViewImage();
    Drag(pkPhaserPage->m_kSpinButton, wxMOUSE_BTN_LEFT, wxPoint(-10, 0), 3);
    EXPECT_EQ(Text(pkPhaserPage, IDC_DIRECTION_X), "-0.5");
    EXPECT_GT(Changed(kBeforeSpin, ViewImage()), 20);
    CloseSheet(pkSheet, "OK");
    ASSERT_TRUE(PumpUntil([] { return CPropertyEditSheet::GetOpenSheets().empty(); }));
    EXPECT_NEAR(pkPhaser->GetOrientationForward().x, -0.5f, 1e-4f);

    // Save under a new name (Ctrl+S), Save Global Templates and Exit from the File menu.
    const std::string kScript = Model("EditedShip.py");
    m_kHook.QueueFile(kScript);
    Shortcut('s');
    EXPECT_NE(TempFolder::ReadFile(kScript).find(
                  "\"Standard Repair\", App.SKModelPropertyManager.GLOBAL_TEMPLATES"),
              std::string::npos);
    Menu('f', 'g');
    EXPECT_NE(
        TempFolder::ReadFile(m_kData.Path("GlobalPropertyTemplates.py")).find("SetMaxRepairPoints(25.0"),
        std::string::npos);
    Menu('f', 'x');
    ASSERT_TRUE(PumpUntil([&] { return m_kApp.m_pMainWnd == nullptr; }));
    m_kApp.ShutDown();
    m_bStarted = false;

    // Started again: the model and the saved script, and the edits where they were made.
    StartEditor();
    OpenFile(Model("SampleShip.nif"));
    ASSERT_NE(Active(), nullptr);
    OpenFile(kScript);
    ClickTreeItem("SampleShip", true);
    ClickTreeItem("Sensor Array");
    pkList = Active()->GetPropertyView();
    ClickEntry(pkList, "Standard Repair");
    pkSheet = EditSelectedProperty();
    ASSERT_NE(pkSheet, nullptr);
    EXPECT_EQ(Text(pkSheet->GetPage(0), IDC_MAX_REPAIR_POINTS), "25");
    ClickTab(pkSheet, 2);
    EXPECT_EQ(Text(pkSheet->GetPage(2), IDC_POSITION_X), "1");
    EXPECT_EQ(Text(pkSheet->GetPage(2), IDC_POSITION_Z), "-3");
    CloseSheet(pkSheet, "Cancel");
    pkPhaser = PhaserProperty::Cast(
        g_kModelPropertyManager.FindByName("Port Phaser", SKModelPropertyManager::LOCAL_TEMPLATES));
    ASSERT_NE(pkPhaser, nullptr);
    EXPECT_NEAR(pkPhaser->GetOrientationForward().x, -0.5f, 1e-4f);
    EXPECT_EQ(m_kHook.GetMessageTexts(), std::vector<std::string>());
}
