// Frames a renderer presents into a view, as the virtual display shows them: put straight into
// the view's window, kept there through the toolkit's own paints, and shown at the top-left
// corner whatever their size.
#include "platform/mfc/CDC.h"
#include "platform/mfc/CView.h"
#include "platform/mfc/CWinApp.h"
#include "tests/support/TempFolder.h"
#include "tests/support/display/ScreenImage.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/utils.h>

#include <cstdlib>

namespace
{
// A view that presents a frame of one colour whenever it is asked to draw, as the 3D view does.
class FrameView : public CView
{
public:
    BOOL OnEraseBkgnd(CDC*) override { return FALSE; }
    void OnDraw(CDC*) override
    {
        if (m_bPresentOnDraw)
            Present(m_uiColour);
    }
    void Present(uint32_t uiColour, int32_t iWidth = 0, int32_t iHeight = 0)
    {
        if (iWidth == 0)
            GetClientSize(iWidth, iHeight);
        uint32_t* puiFrame = LendFrameBuffer(iWidth, iHeight);
        ASSERT_NE(puiFrame, nullptr);
        std::fill(puiFrame, puiFrame + static_cast<size_t>(iWidth) * static_cast<size_t>(iHeight), uiColour);
        ShowFrame(iWidth, iHeight);
    }

    uint32_t m_uiColour = 0xff204080u;
    bool m_bPresentOnDraw = true;
};

class FramesApp : public CWinApp
{
public:
    FramesApp() : CWinApp("Test") {}
    BOOL InitInstance() override
    {
        m_pkFrame = new wxFrame(nullptr, wxID_ANY, "Frames", wxPoint(20, 20), wxSize(320, 240));
        m_pkView = new FrameView;
        if (!m_pkView->Create(m_pkFrame, 1, nullptr))
            return FALSE;
        m_pkFrame->Show();
        return TRUE;
    }

    wxFrame* m_pkFrame = nullptr;
    FrameView* m_pkView = nullptr;
};

class ViewFramesScreenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("XDG_CONFIG_HOME", m_kConfig.Path().c_str(), 1);
        char acName[] = "test";
        char* apcArgv[] = {acName, nullptr};
        ASSERT_TRUE(m_kApp.StartUp(1, apcArgv));
        Settle();
        m_pkView = m_kApp.m_pkView;
    }
    void TearDown() override
    {
        m_kApp.m_pkFrame->Destroy();
        m_kApp.PumpMessages();
        m_kApp.ShutDown();
    }
    void Settle()
    {
        for (int i = 0; i < 10; ++i)
        {
            m_kApp.PumpMessages();
            wxMilliSleep(10);
        }
    }
    void Repaint()
    {
        m_pkView->GetToolkitWindow()->Refresh();
        m_pkView->GetToolkitWindow()->Update();
        Settle();
    }
    // The colour the screen shows at a client point of the view, as 0xRRGGBB.
    uint32_t ScreenAt(int iX, int iY) const
    {
        const wxImage kImage = ScreenImage(*m_pkView->GetToolkitWindow());
        return (static_cast<uint32_t>(kImage.GetRed(iX, iY)) << 16) |
               (static_cast<uint32_t>(kImage.GetGreen(iX, iY)) << 8) | kImage.GetBlue(iX, iY);
    }

    TempFolder m_kConfig;
    FramesApp m_kApp;
    FrameView* m_pkView = nullptr;
};
} // namespace

TEST_F(ViewFramesScreenTest, FramesGoStraightIntoTheWindowAndStayThroughItsPaints)
{
    int32_t iWidth = 0;
    int32_t iHeight = 0;
    m_pkView->GetClientSize(iWidth, iHeight);
    ASSERT_GT(iWidth, 20);
    ASSERT_GT(iHeight, 20);

    // A frame presented outside a paint (as an idle redraw does).
    m_pkView->Present(0xff204080u);
    Settle();
    EXPECT_TRUE(m_pkView->PresentsDirectly());
    EXPECT_EQ(ScreenAt(iWidth / 2, iHeight / 2), 0x204080u);

    // A paint that presents shows the new frame, not a buffer of the toolkit's over it.
    m_pkView->m_uiColour = 0xff10c030u;
    Repaint();
    EXPECT_EQ(ScreenAt(iWidth / 2, iHeight / 2), 0x10c030u);

    // A paint that presents nothing leaves the last frame where it is.
    m_pkView->m_bPresentOnDraw = false;
    Repaint();
    EXPECT_EQ(ScreenAt(iWidth / 2, iHeight / 2), 0x10c030u);
    EXPECT_EQ(ScreenAt(iWidth - 3, iHeight - 3), 0x10c030u);
}

TEST_F(ViewFramesScreenTest, AFrameOfAnotherSizeShowsAtTheTopLeftCorner)
{
    int32_t iWidth = 0;
    int32_t iHeight = 0;
    m_pkView->GetClientSize(iWidth, iHeight);
    m_pkView->m_bPresentOnDraw = false;
    m_pkView->Present(0xff204080u);
    m_pkView->Present(0xffc04010u, iWidth / 2, iHeight / 2);
    Settle();
    EXPECT_EQ(ScreenAt(3, 3), 0xc04010u);
    EXPECT_EQ(ScreenAt(iWidth / 2 - 2, iHeight / 2 - 2), 0xc04010u);
    EXPECT_EQ(ScreenAt(iWidth - 3, iHeight - 3), 0x204080u);

    // And back to the whole window.
    m_pkView->Present(0xff802040u);
    Settle();
    EXPECT_EQ(ScreenAt(3, 3), 0x802040u);
    EXPECT_EQ(ScreenAt(iWidth - 3, iHeight - 3), 0x802040u);
}
