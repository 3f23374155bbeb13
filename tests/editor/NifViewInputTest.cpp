// The 3D view end to end on the virtual display: the sample ship drawn into the window, an
// orbit drag and Selection and Locate clicks made with the toolkit's input simulation.
#include "editor/CPropertyDoc.h"
#include "editor/CameraTool.h"
#include "scene/graph/NiPicker.h"
#include "tests/editor/NifViewFixture.h"
#include "tests/support/display/ScreenImage.h"

#include <wx/uiaction.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>

namespace
{
class NifViewInputTest : public NifViewFixture
{
protected:
    void SetUp() override
    {
        NifViewFixture::SetUp();
        Start();
        m_pkView = OpenSampleShip();
        ASSERT_NE(m_pkView, nullptr);
        m_pkDoc = Active();
        Settle();
    }

    // Paints the view and lets the display catch up.
    void Settle()
    {
        m_pkView->GetToolkitWindow()->Refresh();
        m_pkView->GetToolkitWindow()->Update();
        for (int i = 0; i < 10; ++i)
        {
            m_kApp.PumpMessages();
            wxMilliSleep(10);
        }
    }
    wxPoint Centre() const
    {
        const wxSize kSize = m_pkView->GetToolkitWindow()->GetClientSize();
        return wxPoint(kSize.x / 2, kSize.y / 2);
    }
    wxPoint ToScreen(const wxPoint& kClient) const
    {
        return m_pkView->GetToolkitWindow()->ClientToScreen(kClient);
    }
    // The view's client area as the screen shows it.
    wxImage ScreenImage() const { return ::ScreenImage(*m_pkView->GetToolkitWindow()); }
    // What the picker finds under a point of the view, as the tools pick: the nearest hit with
    // its normal, in the document's scene.
    std::optional<NiPicker::Record> PickAt(const wxPoint& kClient) const
    {
        NiPoint3 kOrigin;
        NiPoint3 kDirection;
        if (!m_pkView->GetCamera()->RayFromWindowPoint(kClient.x, kClient.y, kOrigin, kDirection))
            return std::nullopt;
        NiPicker kPicker;
        kPicker.SetHitMode(NiPicker::FIND_FIRST);
        kPicker.SetWantNormal(true);
        kPicker.SetTarget(m_pkDoc->GetSceneRoot());
        if (!kPicker.Pick(kOrigin, kDirection, false))
            return std::nullopt;
        for (uint32_t i = 0; i < kPicker.GetSize(); ++i)
            if (NiPicker::Record* pkRecord = kPicker.GetAt(i))
                return *pkRecord;
        return std::nullopt;
    }
    // A point on the hull, seen from behind and a little to the side of its open stern.
    wxPoint OnTheHull() const { return Centre() + wxPoint(30, -10); }
    wxPoint Corner() const { return wxPoint(3, 3); }

    void Click(const wxPoint& kClient)
    {
        wxUIActionSimulator kInput;
        kInput.MouseMove(ToScreen(kClient));
        m_kApp.PumpMessages();
        kInput.MouseClick();
        Settle();
    }
    static std::string Triple(const NiPoint3& kPoint)
    {
        char acText[128];
        std::snprintf(acText, sizeof acText, "(%f, %f, %f)", kPoint.x, kPoint.y, kPoint.z);
        return acText;
    }

    CNifView* m_pkView = nullptr;
    CPropertyDoc* m_pkDoc = nullptr;
};
} // namespace

// Where the model is, the window shows it; elsewhere the clear colour (black).
TEST_F(NifViewInputTest, TheSampleShipIsDrawnIntoTheWindow)
{
    ASSERT_TRUE(PickAt(OnTheHull()).has_value());
    ASSERT_FALSE(PickAt(Corner()).has_value());
    const wxImage kImage = ScreenImage();
    ASSERT_TRUE(kImage.IsOk());
    const wxPoint kHull = OnTheHull();
    EXPECT_GT(kImage.GetRed(kHull.x, kHull.y) + kImage.GetGreen(kHull.x, kHull.y) +
                  kImage.GetBlue(kHull.x, kHull.y),
              60);
    const wxPoint kCorner = Corner();
    EXPECT_EQ(kImage.GetRed(kCorner.x, kCorner.y) + kImage.GetGreen(kCorner.x, kCorner.y) +
                  kImage.GetBlue(kCorner.x, kCorner.y),
              0);
}

TEST_F(NifViewInputTest, AnOrbitDragTurnsTheCameraAroundTheTarget)
{
    m_pkView->SelectCameraTool(CNifView::TOOL_ORBIT);
    NiCamera* pkCamera = m_pkView->GetCamera();
    const NiPoint3 kTarget = m_pkView->GetTarget();
    const NiPoint3 kBefore = pkCamera->GetWorldLocation();

    wxUIActionSimulator kInput;
    kInput.MouseMove(ToScreen(Centre()));
    m_kApp.PumpMessages();
    kInput.MouseDown();
    m_kApp.PumpMessages();
    for (int i = 1; i <= 4; ++i)
    {
        kInput.MouseMove(ToScreen(Centre() + wxPoint(10 * i, 0)));
        m_kApp.PumpMessages();
    }
    kInput.MouseUp();
    ASSERT_TRUE(PumpUntil([&] { return (pkCamera->GetWorldLocation() - kBefore).Length() > 1.0f; }));
    Settle();
    EXPECT_NEAR((pkCamera->GetWorldLocation() - kTarget).Length(), (kBefore - kTarget).Length(), 1e-2f);
    EXPECT_FALSE(m_pkView->GetActiveTool()->IsActive());
}

// The click selects the object the picker names and takes its hit as the pick point and normal.
TEST_F(NifViewInputTest, ASelectionClickSelectsWhatThePickerNames)
{
    m_pkView->SelectCameraTool(CNifView::TOOL_SELECTION);
    const std::optional<NiPicker::Record> kHit = PickAt(OnTheHull());
    ASSERT_TRUE(kHit.has_value());
    EXPECT_STREQ(kHit->m_spObject->GetName(), "Hull");
    // Seen from behind: the hit faces back towards the camera.
    EXPECT_LT(kHit->m_kNormal.y, 0.0f);

    Click(OnTheHull());
    EXPECT_EQ(m_pkDoc->GetSelectedNode(), kHit->m_spObject.Get());
    ExpectPoint(m_pkDoc->GetPickPoint(), kHit->m_kPoint);
    ExpectPoint(m_pkDoc->GetPickNormal(), kHit->m_kNormal);
    EXPECT_EQ(std::string(Main()->GetStatusBarPanes().GetPaneText(1)), Triple(kHit->m_kPoint));
    EXPECT_EQ(std::string(Main()->GetStatusBarPanes().GetPaneText(2)), "Normal: " + Triple(kHit->m_kNormal));

    // A click on empty space changes nothing.
    Click(Corner());
    EXPECT_EQ(m_pkDoc->GetSelectedNode(), kHit->m_spObject.Get());
    ExpectPoint(m_pkDoc->GetPickPoint(), kHit->m_kPoint);
    EXPECT_EQ(std::string(Main()->GetStatusBarPanes().GetPaneText(1)), Triple(kHit->m_kPoint));
}

// Locate reports the hit like Selection but leaves the selection alone.
TEST_F(NifViewInputTest, ALocateClickSetsThePickPointAndNormalOnly)
{
    m_pkView->SelectCameraTool(CNifView::TOOL_LOCATE);
    const std::optional<NiPicker::Record> kHit = PickAt(OnTheHull());
    ASSERT_TRUE(kHit.has_value());
    Click(OnTheHull());
    EXPECT_EQ(m_pkDoc->GetSelectedNode(), nullptr);
    ExpectPoint(m_pkDoc->GetPickPoint(), kHit->m_kPoint);
    ExpectPoint(m_pkDoc->GetPickNormal(), kHit->m_kNormal);
    EXPECT_NEAR(m_pkDoc->GetPickNormal().Length(), 1.0f, 1e-3f);
    EXPECT_EQ(std::string(Main()->GetStatusBarPanes().GetPaneText(1)), Triple(kHit->m_kPoint));
    EXPECT_EQ(std::string(Main()->GetStatusBarPanes().GetPaneText(2)), "Normal: " + Triple(kHit->m_kNormal));
}
