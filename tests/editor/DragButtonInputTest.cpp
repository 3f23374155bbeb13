// The slide and spin buttons under a person's mouse: real presses, moves and releases through
// the X server (the toolkit's input simulation) on a sheet opened over the sample ship. A drag
// moves the fields, the property and the 3D view; the mouse comes back however the drag ends.
#include "editor/CArcWeaponPage.h"
#include "editor/CEditSubsystemDialog.h"
#include "editor/CNifView.h"
#include "editor/CPropertyEditSheet.h"
#include "editor/resources/PageResource.h"
#include "platform/mfc/CPropertyPage.h"
#include "properties/PhaserProperty.h"
#include "properties/SKModelPropertyManager.h"
#include "tests/editor/EditorSessionFixture.h"
#include "tests/support/display/ScreenImage.h"

#include <wx/uiaction.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <chrono>
#include <functional>

namespace
{
class DragButtonInputTest : public EditorSessionFixture
{
protected:
    void SetUp() override
    {
        EditorSessionFixture::SetUp();
        Start();
        ASSERT_NE(Open(Model("SampleShip.nif")), nullptr);
        m_pkView = Active()->GetNifView();
        ASSERT_NE(m_pkView, nullptr);
        // The phaser's geometry shows in the view, which keeps clear of the sheet beside it.
        Main()->m_bSelectedPropertyOnly = false;
        Main()->GetToolkitWindow()->SetSize(0, 0, 640, 760);
        CPropertyDoc* pkDoc = Active();
        pkDoc->SetSelectedNode(pkDoc->GetSceneRoot()->FindObjectByName("Port Phaser"));
        m_pkPhaser = PhaserProperty::Cast(
            g_kModelPropertyManager.FindByName("Port Phaser", SKModelPropertyManager::LOCAL_TEMPLATES));
        ASSERT_NE(m_pkPhaser, nullptr);
        ASSERT_TRUE(AddPropertyPages(m_pkView->GetSafeHwnd(), m_pkPhaser));
        ASSERT_EQ(CPropertyEditSheet::GetOpenSheets().size(), 1u);
        m_pkSheet = CPropertyEditSheet::GetOpenSheets().back();
        m_pkSheet->GetToolkitWindow()->Move(650, 0);
        m_pkPhaserPage = static_cast<CArcWeaponPage*>(m_pkSheet->GetPage(0));
        Settle();
    }

    void Settle()
    {
        m_pkView->GetToolkitWindow()->Refresh();
        for (int i = 0; i < 10; ++i)
        {
            m_kApp.PumpMessages();
            wxMilliSleep(10);
        }
    }
    static wxPoint CentreOf(const CWnd& kWindow)
    {
        const wxRect kRect = kWindow.GetToolkitWindow()->GetScreenRect();
        return kRect.GetPosition() + wxPoint(kRect.GetWidth() / 2, kRect.GetHeight() / 2);
    }
    void MoveTo(const wxPoint& kScreen)
    {
        m_kInput.MouseMove(kScreen);
        Settle();
    }
    // Presses the button over the control, moves by the steps (pixels each), releases.
    void Drag(const CWnd& kButton, int iButton, const wxPoint& kStep, int iSteps)
    {
        const wxPoint kStart = CentreOf(kButton);
        MoveTo(kStart);
        m_kInput.MouseDown(iButton);
        Settle();
        for (int i = 1; i <= iSteps; ++i)
            MoveTo(kStart + wxPoint(kStep.x * i, kStep.y * i));
        m_kInput.MouseUp(iButton);
        Settle();
    }
    // Nobody, neither the framework nor the toolkit, holds the mouse.
    static bool MouseIsFree() { return GetCapture() == nullptr && wxWindow::GetCapture() == nullptr; }
    // Clicks into an edit of the page and types: whether the text arrived.
    bool ClickAndType(CWnd* pkPage, UINT nID, const char* pcText)
    {
        CWnd* pkEdit = pkPage->GetDlgItem(static_cast<int>(nID));
        MoveTo(CentreOf(*pkEdit));
        m_kInput.MouseClick();
        Settle();
        m_kInput.KeyDown(WXK_END);
        m_kInput.KeyUp(WXK_END);
        m_kInput.Text(pcText);
        return PumpUntil([&] { return pkEdit->GetWindowText().Str().ends_with(pcText); });
    }
    std::string Text(CWnd* pkPage, UINT nID) const
    {
        return pkPage->GetDlgItem(static_cast<int>(nID))->GetWindowText().Str();
    }
    wxImage ViewImage() const { return ScreenImage(*m_pkView->GetToolkitWindow()); }

    wxUIActionSimulator m_kInput;
    CNifView* m_pkView = nullptr;
    PhaserProperty* m_pkPhaser = nullptr;
    CPropertyEditSheet* m_pkSheet = nullptr;
    CArcWeaponPage* m_pkPhaserPage = nullptr;
};
} // namespace

// A left drag on Spin yaws the mount a degree per pixel, a right drag on Slide lifts the
// position 0.05 per pixel: the page's edits, the property and the view follow every step.
TEST_F(DragButtonInputTest, DraggingSpinAndSlideMovesTheFieldsThePropertyAndTheView)
{
    const wxImage kBefore = ViewImage();
    ASSERT_TRUE(kBefore.IsOk());
    Drag(m_pkPhaserPage->m_kSpinButton, wxMOUSE_BTN_LEFT, wxPoint(-10, 0), 3);
    const NiPoint3 kForward = m_pkPhaser->GetOrientationForward();
    EXPECT_NEAR(kForward.x, -0.5f, 1e-4f);
    EXPECT_NEAR(kForward.y, 0.8660254f, 1e-4f);
    EXPECT_EQ(Text(m_pkPhaserPage, IDC_DIRECTION_X), "-0.5");
    EXPECT_TRUE(MouseIsFree());
    const wxImage kTurned = ViewImage();
    EXPECT_GT(ChangedPixels(kBefore, kTurned), 20);

    ASSERT_TRUE(m_pkSheet->SetActivePage(3));
    Settle();
    auto* pkSubsystem = static_cast<CEditSubsystemDialog*>(m_pkSheet->GetPage(3));
    const float fZ = m_pkPhaser->GetPosition().z;
    Drag(pkSubsystem->m_kSlideButton, wxMOUSE_BTN_RIGHT, wxPoint(0, -10), 2);
    EXPECT_NEAR(m_pkPhaser->GetPosition().z, fZ - 1.0f, 1e-5f);
    EXPECT_EQ(Text(pkSubsystem, IDC_POSITION_Z), "-0.2");
    EXPECT_TRUE(MouseIsFree());
    EXPECT_GT(ChangedPixels(kTurned, ViewImage()), 20);
}

// A drag released far outside the button and the sheet, a plain click and a dialog coming up
// in the middle of a drag all give the mouse back: clicks and keys reach the sheet after them,
// and Escape closes it.
TEST_F(DragButtonInputTest, TheMouseComesBackHoweverTheDragEnds)
{
    const CSpinButton& kSpin = m_pkPhaserPage->m_kSpinButton;
    const wxPoint kStart = CentreOf(kSpin);
    MoveTo(kStart);
    m_kInput.MouseDown();
    Settle();
    EXPECT_EQ(kSpin.m_iDragMode, 1);
    MoveTo(kStart + wxPoint(-5, 0));
    MoveTo(wxPoint(5, 1000));
    m_kInput.MouseUp();
    Settle();
    EXPECT_EQ(kSpin.m_iDragMode, 0);
    EXPECT_TRUE(MouseIsFree());
    EXPECT_TRUE(ClickAndType(m_pkPhaserPage, IDC_TEXTURE_START, "1"));

    MoveTo(kStart);
    m_kInput.MouseClick();
    Settle();
    EXPECT_EQ(kSpin.m_iDragMode, 0);
    EXPECT_TRUE(MouseIsFree());
    EXPECT_TRUE(ClickAndType(m_pkPhaserPage, IDC_TEXTURE_START, "2"));

    // A message box in the middle of a drag takes the mouse from the button.
    MoveTo(kStart);
    m_kInput.MouseDown();
    Settle();
    ASSERT_EQ(kSpin.m_iDragMode, 1);
    AfxMessageBox("In the way.");
    EXPECT_EQ(kSpin.m_iDragMode, 0);
    EXPECT_TRUE(MouseIsFree());
    m_kInput.MouseUp();
    Settle();
    EXPECT_TRUE(ClickAndType(m_pkPhaserPage, IDC_TEXTURE_START, "3"));
    EXPECT_EQ(Text(m_pkPhaserPage, IDC_TEXTURE_START), "0123");

    m_kInput.Char(WXK_ESCAPE);
    EXPECT_TRUE(PumpUntil([] { return CPropertyEditSheet::GetOpenSheets().empty(); }));
    // Cancel: what was typed never reached the phaser.
    EXPECT_EQ(m_pkPhaser->GetPhaserTextureStart(), 0);
}
