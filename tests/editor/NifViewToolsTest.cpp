// The moving camera tools of the 3D view, driven through the view's mouse handlers on the
// sample ship: how far and which way each one moves the camera and the target.
#include "editor/CPropertyDoc.h"
#include "editor/CameraTool.h"
#include "tests/editor/NifViewFixture.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float K = 0.2f / (2.0f * NiPi);

class NifViewToolsTest : public NifViewFixture
{
protected:
    void SetUp() override
    {
        NifViewFixture::SetUp();
        Start();
        m_pkView = OpenSampleShip();
        ASSERT_NE(m_pkView, nullptr);
        m_pkCamera = m_pkView->GetCamera();
    }
    void TearDown() override
    {
        g_fModelScale = 1.0f;
        NifViewFixture::TearDown();
    }
    // A left drag with the tool from one point to another, in one move.
    void Drag(unsigned uiTool, CPoint kFrom, CPoint kTo, UINT nFlags = 0)
    {
        m_pkView->SelectCameraTool(uiTool);
        m_pkView->OnLButtonDown(nFlags | MK_LBUTTON, kFrom);
        m_pkView->OnMouseMove(nFlags | MK_LBUTTON, kTo);
        m_pkView->OnLButtonUp(nFlags, kTo);
    }
    static float Angle(const NiPoint3& kA, const NiPoint3& kB)
    {
        return std::acos(std::clamp(kA.DotProduct(kB) / (kA.Length() * kB.Length()), -1.0f, 1.0f));
    }

    CNifView* m_pkView = nullptr;
    NiCamera* m_pkCamera = nullptr;
};
} // namespace

// At model scale 2: ten pixels down moves camera and target 20 units along the camera's up
// vector, ten to the right 10 units against its right vector; ten up zooms 10 units forwards.
TEST_F(NifViewToolsTest, PanAndZoomMoveCameraAndTargetByTheModelScale)
{
    g_fModelScale = 2.0f;
    const NiPoint3 kUp = m_pkCamera->GetWorldUpVector();
    const NiPoint3 kRight = m_pkCamera->GetWorldRightVector();
    const NiPoint3 kDirection = m_pkCamera->GetWorldDirection();
    struct Case
    {
        unsigned uiTool;
        CPoint kTo;
        NiPoint3 kStep;
    };
    for (const Case& kCase : {Case{CNifView::TOOL_PAN, CPoint{50, 60}, kUp * 20.0f},
                              Case{CNifView::TOOL_PAN, CPoint{60, 50}, kRight * -10.0f},
                              Case{CNifView::TOOL_ZOOM, CPoint{50, 40}, kDirection * 10.0f}})
    {
        const NiPoint3 kLocation = m_pkCamera->GetWorldLocation();
        const NiPoint3 kTarget = m_pkView->GetTarget();
        Drag(kCase.uiTool, CPoint{50, 50}, kCase.kTo);
        ExpectPoint(m_pkCamera->GetWorldLocation(), kLocation + kCase.kStep, 1e-3f);
        ExpectPoint(m_pkView->GetTarget(), kTarget + kCase.kStep, 1e-3f);
        // Moving never turns the camera.
        ExpectPoint(m_pkCamera->GetWorldDirection(), kDirection, 1e-5f);
    }
}

// Ten pixels to the right swing the camera 10 k radians about its up vector around the
// target, at the same distance, still facing it.
TEST_F(NifViewToolsTest, OrbitSwingsTheCameraAroundTheTarget)
{
    const NiPoint3 kTarget = m_pkView->GetTarget();
    const NiPoint3 kUp = m_pkCamera->GetWorldUpVector();
    const NiPoint3 kBefore = m_pkCamera->GetWorldLocation() - kTarget;
    Drag(CNifView::TOOL_ORBIT, CPoint{50, 50}, CPoint{60, 50});
    const NiPoint3 kAfter = m_pkCamera->GetWorldLocation() - kTarget;
    EXPECT_NEAR(Angle(kBefore, kAfter), 10.0f * K, 1e-4f);
    EXPECT_NEAR(Angle(kBefore, kAfter), 0.0318f * 10.0f, 1e-3f);
    EXPECT_NEAR(kAfter.Length(), kBefore.Length(), 1e-3f);
    // The swing is about the up vector, which it keeps.
    EXPECT_NEAR(kAfter.DotProduct(kUp), kBefore.DotProduct(kUp), 1e-3f);
    ExpectPoint(m_pkCamera->GetWorldDirection(), kAfter * (-1.0f / kAfter.Length()), 1e-4f);
    ExpectPoint(m_pkCamera->GetWorldUpVector(), kUp, 1e-4f);
    ExpectPoint(m_pkView->GetTarget(), kTarget, 1e-6f);
}

// Rotate turns the view about the camera: the target swings around it; with Shift the view
// rolls about its direction and the target stays on the view axis.
TEST_F(NifViewToolsTest, RotateTurnsOrRollsTheViewAboutTheCamera)
{
    const NiPoint3 kLocation = m_pkCamera->GetWorldLocation();
    const NiPoint3 kDirection = m_pkCamera->GetWorldDirection();
    const NiPoint3 kUp = m_pkCamera->GetWorldUpVector();
    const float fDistance = (m_pkView->GetTarget() - kLocation).Length();

    Drag(CNifView::TOOL_ROTATE, CPoint{50, 50}, CPoint{60, 50}, MK_SHIFT);
    ExpectPoint(m_pkCamera->GetWorldLocation(), kLocation, 1e-3f);
    ExpectPoint(m_pkCamera->GetWorldDirection(), kDirection, 1e-4f);
    EXPECT_NEAR(Angle(m_pkCamera->GetWorldUpVector(), kUp), 10.0f * K, 1e-4f);
    ExpectPoint(m_pkView->GetTarget(), kLocation + kDirection * fDistance, 1e-3f);

    const NiPoint3 kRolledUp = m_pkCamera->GetWorldUpVector();
    Drag(CNifView::TOOL_ROTATE, CPoint{50, 50}, CPoint{60, 50});
    ExpectPoint(m_pkCamera->GetWorldLocation(), kLocation, 1e-3f);
    EXPECT_NEAR(Angle(m_pkCamera->GetWorldDirection(), kDirection), 10.0f * K, 1e-4f);
    EXPECT_NEAR((m_pkView->GetTarget() - kLocation).Length(), fDistance, 1e-3f);
    ExpectPoint(m_pkCamera->GetWorldUpVector(), kRolledUp, 1e-4f);
    // The camera faces its new target.
    ExpectPoint(m_pkCamera->GetWorldDirection(), (m_pkView->GetTarget() - kLocation) * (1.0f / fDistance),
                1e-4f);
}

// A drag that ends where it began, or a camera with no scene to look at, moves nothing.
TEST_F(NifViewToolsTest, NoMoveAndNoSceneLeaveTheCameraAlone)
{
    const NiPoint3 kLocation = m_pkCamera->GetWorldLocation();
    const NiPoint3 kDirection = m_pkCamera->GetWorldDirection();
    for (unsigned uiTool :
         {CNifView::TOOL_PAN, CNifView::TOOL_ORBIT, CNifView::TOOL_ZOOM, CNifView::TOOL_ROTATE})
    {
        Drag(uiTool, CPoint{50, 50}, CPoint{50, 50});
        ExpectPoint(m_pkCamera->GetWorldLocation(), kLocation, 1e-6f);
        ExpectPoint(m_pkCamera->GetWorldDirection(), kDirection, 1e-6f);
    }

    CNifView kEmpty;
    NiCamera* pkCamera = kEmpty.GetCamera();
    pkCamera->UpdateSubtree(0.0f);
    const NiPoint3 kStart = pkCamera->GetWorldLocation();
    const NiPoint3 kView = pkCamera->GetWorldDirection();
    for (unsigned uiTool :
         {CNifView::TOOL_PAN, CNifView::TOOL_ORBIT, CNifView::TOOL_ZOOM, CNifView::TOOL_ROTATE})
    {
        kEmpty.SelectCameraTool(uiTool);
        CameraTool* pkTool = kEmpty.GetActiveTool();
        pkTool->Begin(10, 10);
        pkTool->Move(30, 40);
        EXPECT_EQ(pkTool->GetDx(), 20);
        EXPECT_EQ(pkTool->GetDy(), 30);
        pkTool->End(35, 45);
        EXPECT_FALSE(pkTool->IsActive());
        ExpectPoint(pkCamera->GetWorldLocation(), kStart, 1e-6f);
        ExpectPoint(pkCamera->GetWorldDirection(), kView, 1e-6f);
    }
}
