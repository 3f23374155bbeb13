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
#include "tests/editor/UserInputFixture.h"
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
class UserSessionInputTest : public UserInputFixture
{
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
    EXPECT_GT(ChangedPixels(kBeforeSlide, ViewImage()), 20);
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
    EXPECT_GT(ChangedPixels(kBeforeSpin, ViewImage()), 20);
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
