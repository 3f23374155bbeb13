// The 3D view on real windows: the camera framed on a model and on a node, the renderer made,
// dropped on resize and made again, the one message of a renderer that cannot be made, the
// tools chosen by number and key, the wheel, and the display geometry of the selected node.
#include "editor/CMainFrame.h"
#include "editor/CPropertyDoc.h"
#include "editor/CameraTool.h"
#include "editor/resources/Resource.h"
#include "platform/d3d7/ScopedWorld.h"
#include "platform/mfc/VirtualKey.h"
#include "properties/DisplayModelExtraData.h"
#include "scene/render/NiD3DRender.h"
#include "tests/editor/NifViewFixture.h"

#include <wx/event.h>
#include <wx/window.h>

#include <cmath>

namespace
{
class NifViewTest : public NifViewFixture
{
protected:
    // Sets the view's client area and lets the window handle it.
    void Resize(CNifView* pkView, int iWidth, int iHeight)
    {
        pkView->GetToolkitWindow()->SetClientSize(iWidth, iHeight);
        m_kApp.PumpMessages();
    }
    // The property display nodes that show under the scene root.
    static int ShownDisplayNodes(NiNode* pkRoot)
    {
        int iShown = 0;
        for (uint32_t i = 0; i < pkRoot->GetArrayCount(); ++i)
            if (NiAVObject* pkChild = pkRoot->GetAt(i))
                if (DisplayModelExtraData::IsMarked(pkChild) && !pkChild->GetAppCulled())
                    ++iShown;
        return iShown;
    }
};
} // namespace

TEST_F(NifViewTest, AFreshViewHasTheStartingCameraAndThePanTool)
{
    Start();
    CNifView* pkView = OpenSampleShip();
    ASSERT_NE(pkView, nullptr);
    // A second view, never given a scene, keeps the camera it was made with.
    CNifView kView;
    const NiFrustum& kFrustum = kView.GetCamera()->GetFrustum();
    EXPECT_EQ(kFrustum, NiFrustum(-0.275f, 0.275f, 0.205f, -0.205f, 0.1f, 500.0f));
    ExpectPoint(kView.GetCamera()->GetTranslate(), NiPoint3(-40.0f, 0.0f, 0.0f));
    EXPECT_EQ(kView.GetCameraToolIndex(), CNifView::TOOL_PAN);
    EXPECT_STREQ(Main()->GetStatusBarPanes().GetPaneText(3), "Pan mode");
}

// The model's frustum follows its size and the window's shape; the camera stands in front of
// the first child, looking along +Y with +Z up.
TEST_F(NifViewTest, OpeningAModelFitsTheFrustumAndPlacesTheCamera)
{
    Start();
    struct Case
    {
        float fRadius;
        float fNear;
    };
    for (const Case& kCase : {Case{100.0f, 0.2f}, Case{1.0f, 0.1f}})
    {
        SCOPED_TRACE(kCase.fRadius);
        const NiPoint3 kCentre(3.0f, 4.0f, 5.0f);
        CNifView* pkView =
            OpenView(WriteOctahedronModel(kCase.fRadius > 1 ? "Large" : "Tiny", kCentre, kCase.fRadius));
        ASSERT_NE(pkView, nullptr);
        Resize(pkView, 400, 300);
        // Resizing drops the renderer; fitting happens with a model, on the next size.
        CPropertyDoc* pkDoc = Active();
        ASSERT_NEAR(pkDoc->GetSceneRoot()->GetWorldBound().m_fRadius, kCase.fRadius, 1e-3f * kCase.fRadius);
        pkView->FitFrustum(pkView->GetCamera());
        const NiFrustum& kFrustum = pkView->GetCamera()->GetFrustum();
        EXPECT_NEAR(kFrustum.m_fFar, 20.0f * kCase.fRadius, 1e-2f * kCase.fRadius);
        EXPECT_NEAR(kFrustum.m_fNear, kCase.fNear, 1e-5f);
        EXPECT_NEAR(kFrustum.m_fLeft, -0.41421f, 1e-5f);
        EXPECT_NEAR(kFrustum.m_fRight, 0.41421f, 1e-5f);
        EXPECT_NEAR(kFrustum.m_fTop, 0.31066f, 1e-5f);
        EXPECT_NEAR(kFrustum.m_fBottom, -0.31066f, 1e-5f);

        NiCamera* pkCamera = pkView->GetCamera();
        ExpectPoint(pkView->GetTarget(), kCentre, 1e-3f);
        ExpectPoint(pkCamera->GetWorldLocation(), NiPoint3(3.0f, 4.0f - 2.0f * kCase.fRadius, 5.0f), 1e-2f);
        ExpectPoint(pkCamera->GetWorldDirection(), NiPoint3(0, 1, 0));
        ExpectPoint(pkCamera->GetWorldUpVector(), NiPoint3(0, 0, 1));
        ExpectPoint(pkCamera->GetWorldRightVector(), NiPoint3(1, 0, 0));
        Command(ID_FILE_CLOSE);
    }
}

// A scene that is not a node (or a node without children) frames the camera on its own bound.
TEST_F(NifViewTest, ACameraOnASceneWithoutChildrenFramesItsOwnBound)
{
    Start();
    CNifView* pkView = OpenSampleShip();
    ASSERT_NE(pkView, nullptr);
    NiRefPtr<NiTriShape> spShape = MakeOctahedron("Alone", NiPoint3(7.0f, 0.0f, 0.0f), 2.0f);
    spShape->UpdateSubtree(0.0f);
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    spCamera->SetScene(spShape);
    pkView->PlaceCamera(spCamera);
    ExpectPoint(pkView->GetTarget(), NiPoint3(7, 0, 0), 1e-3f);
    ExpectPoint(spCamera->GetTranslate(), NiPoint3(7, -4, 0), 1e-3f);
}

// Find Object: twice the radius (at least 5) from the centre, against the view direction,
// looking at the centre, which becomes the target.
TEST_F(NifViewTest, ZoomToNodeStandsOffByTwiceTheRadiusOfAtLeastFive)
{
    Start();
    CNifView* pkView = OpenSampleShip();
    ASSERT_NE(pkView, nullptr);
    NiCamera* pkCamera = pkView->GetCamera();
    for (const auto& [fRadius, fDistance] :
         {std::pair{2.0f, 10.0f}, std::pair{5.0f, 10.0f}, std::pair{50.0f, 100.0f}})
    {
        SCOPED_TRACE(fRadius);
        const NiPoint3 kCentre(-6.0f, 20.0f, 2.0f);
        NiRefPtr<NiTriShape> spShape = MakeOctahedron("Far", kCentre, fRadius);
        spShape->UpdateSubtree(0.0f);
        const NiPoint3 kDirection = pkCamera->GetWorldDirection();
        pkView->ZoomToNode(spShape);
        ExpectPoint(pkCamera->GetWorldLocation(), kCentre - kDirection * fDistance, 1e-3f);
        ExpectPoint(pkCamera->GetWorldDirection(), kDirection);
        ExpectPoint(pkView->GetTarget(), kCentre);
    }
    const NiPoint3 kBefore = pkCamera->GetWorldLocation();
    pkView->ZoomToNode(nullptr);
    ExpectPoint(pkCamera->GetWorldLocation(), kBefore);
}

// Find Object on the selected node: a hardpoint, which has nothing drawn under it, is framed
// where it stands, a shape on its bound.
TEST_F(NifViewTest, FindObjectFramesTheSelectedNodeWhereItIs)
{
    Start();
    CNifView* pkView = OpenSampleShip();
    ASSERT_NE(pkView, nullptr);
    CPropertyDoc* pkDoc = Active();
    NiNode* pkRoot = pkDoc->GetSceneRoot();
    NiCamera* pkCamera = pkView->GetCamera();
    NiAVObject* pkHull = pkRoot->FindObjectByName("Hull");
    struct Case
    {
        const char* pcNode;
        NiPoint3 kCentre;
        float fDistance;
    };
    const Case akCases[] = {
        {"Port Phaser", NiPoint3(-2.0f, 4.0f, 0.8f), 10.0f},
        {"Forward Torpedo", NiPoint3(0.0f, 8.5f, -0.3f), 10.0f},
        {"Hull", pkHull->GetWorldBound().m_kCenter, 2.0f * pkHull->GetWorldBound().m_fRadius}};
    for (const Case& kCase : akCases)
    {
        SCOPED_TRACE(kCase.pcNode);
        pkDoc->SetSelectedNode(pkRoot->FindObjectByName(kCase.pcNode));
        // Show the node's properties, as a redraw does, before looking for it.
        Main()->m_bSelectedPropertyOnly = false;
        pkView->Redraw();
        const NiPoint3 kDirection = pkCamera->GetWorldDirection();
        Command(ID_VIEW_FINDOBJECT);
        ExpectPoint(pkView->GetTarget(), kCase.kCentre, 1e-3f);
        ExpectPoint(pkCamera->GetWorldLocation(), kCase.kCentre - kDirection * kCase.fDistance, 1e-3f);
    }
}

TEST_F(NifViewTest, TheRendererIsMadeForTheWindowAndRemadeAfterAResize)
{
    Start();
    CNifView* pkView = OpenSampleShip();
    ASSERT_NE(pkView, nullptr);
    Resize(pkView, 320, 240);
    pkView->Redraw();
    NiD3DRender* pkFirst = pkView->GetRenderer();
    ASSERT_NE(pkFirst, nullptr);
    EXPECT_EQ(pkFirst->GetScreenWidth(), 320u);
    EXPECT_EQ(pkFirst->GetScreenHeight(), 240u);
    EXPECT_EQ(pkView->GetCamera()->GetRenderer(), pkFirst);

    // A size message drops the renderer at once; the next paint makes one of the new size.
    pkView->OnSize(SIZE_RESTORED, 320, 240);
    EXPECT_EQ(pkView->GetCamera()->GetRenderer(), nullptr);
    Resize(pkView, 300, 200);
    pkView->GetToolkitWindow()->Refresh();
    pkView->GetToolkitWindow()->Update();
    m_kApp.PumpMessages();
    ASSERT_NE(pkView->GetCamera()->GetRenderer(), nullptr);
    EXPECT_EQ(pkView->GetRenderer()->GetScreenWidth(), 300u);
    EXPECT_EQ(pkView->GetRenderer()->GetScreenHeight(), 200u);
}

// Without a device the view says so once, and neither painting nor idle time brings the
// message back.
TEST_F(NifViewTest, ARendererThatCannotBeMadeIsReportedOnce)
{
    Start();
    auto spWorld = std::make_shared<d3d7::World>(d3d7::Backend::OpenGL);
    spWorld->FailCall("CreateDevice", DDERR_GENERIC);
    d3d7::ScopedWorld kScope(spWorld);
    CNifView* pkView = OpenSampleShip();
    ASSERT_NE(pkView, nullptr);
    for (int i = 0; i < 5; ++i)
    {
        pkView->GetToolkitWindow()->Refresh();
        pkView->GetToolkitWindow()->Update();
        pkView->Redraw();
        m_kApp.PumpMessages();
    }
    EXPECT_EQ(pkView->GetCamera()->GetRenderer(), nullptr);
    int iFailures = 0;
    for (const mfc::RecordingModalHook::Record& kRecord : m_kHook.GetRecords())
        if (kRecord.kText == "Renderer Creation Failed.")
        {
            ++iFailures;
            EXPECT_EQ(kRecord.kCaption, "Error");
            EXPECT_EQ(kRecord.uiType, static_cast<UINT>(MB_OK));
        }
    EXPECT_EQ(iFailures, 1);
}

TEST_F(NifViewTest, ToolsAreChosenByNumberAndByKey)
{
    Start();
    CNifView* pkView = OpenSampleShip();
    ASSERT_NE(pkView, nullptr);
    struct Case
    {
        unsigned uiTool;
        const char* pcText;
        UINT nLetter;
        UINT nOther;
    };
    const Case akCases[] = {{CNifView::TOOL_PAN, "Pan mode", 'P', VK_F1},
                            {CNifView::TOOL_ORBIT, "Orbit mode", 'O', VK_DIVIDE},
                            {CNifView::TOOL_ZOOM, "Zoom mode", 'Z', VK_F1 + 10},
                            {CNifView::TOOL_SELECTION, "Selection/pick mode", 'S', VK_F1 + 3},
                            {CNifView::TOOL_LOCATE, "Locate mode", 'L', VK_SEPARATOR},
                            {CNifView::TOOL_ROTATE, "Rotate mode", 'R', VK_F1 + 2}};
    for (const Case& kCase : akCases)
    {
        SCOPED_TRACE(kCase.pcText);
        for (UINT nKey : {kCase.nLetter, kCase.nOther})
        {
            pkView->SelectCameraTool(kCase.uiTool == 1 ? 2 : 1);
            pkView->OnKeyDown(nKey, 1, 0);
            EXPECT_EQ(pkView->GetCameraToolIndex(), kCase.uiTool);
            EXPECT_STREQ(Main()->GetStatusBarPanes().GetPaneText(3), kCase.pcText);
        }
        pkView->SelectCameraTool(kCase.uiTool);
        EXPECT_EQ(pkView->GetCameraToolIndex(), kCase.uiTool);
    }
    // Other numbers and keys leave the tool as it is.
    pkView->SelectCameraTool(0);
    pkView->SelectCameraTool(7);
    pkView->OnKeyDown('Q', 1, 0);
    EXPECT_EQ(pkView->GetCameraToolIndex(), CNifView::TOOL_ROTATE);

    // F1 as the toolkit delivers it to the focused view.
    wxKeyEvent kKey(wxEVT_KEY_DOWN);
    kKey.m_keyCode = WXK_F1;
    kKey.SetEventObject(pkView->GetToolkitWindow());
    pkView->GetToolkitWindow()->ProcessWindowEvent(kKey);
    EXPECT_EQ(pkView->GetCameraToolIndex(), CNifView::TOOL_PAN);

    // The child frame's tool commands.
    Command(ID_VIEW_LOCATETOOL);
    EXPECT_EQ(pkView->GetCameraToolIndex(), CNifView::TOOL_LOCATE);
}

// One notch forwards moves the camera and its target 60 model-scale units along the view,
// whichever tool is in use.
TEST_F(NifViewTest, TheWheelZoomsWithoutChangingTheTool)
{
    Start();
    CNifView* pkView = OpenSampleShip();
    ASSERT_NE(pkView, nullptr);
    pkView->SelectCameraTool(CNifView::TOOL_SELECTION);
    NiCamera* pkCamera = pkView->GetCamera();
    const NiPoint3 kLocation = pkCamera->GetWorldLocation();
    const NiPoint3 kTarget = pkView->GetTarget();
    const NiPoint3 kDirection = pkCamera->GetWorldDirection();

    wxMouseEvent kWheel(wxEVT_MOUSEWHEEL);
    kWheel.m_wheelRotation = 120;
    kWheel.m_wheelDelta = 120;
    kWheel.m_x = 50;
    kWheel.m_y = 60;
    kWheel.SetEventObject(pkView->GetToolkitWindow());
    pkView->GetToolkitWindow()->ProcessWindowEvent(kWheel);

    ExpectPoint(pkCamera->GetWorldLocation(), kLocation + kDirection * (60.0f * g_fModelScale), 1e-3f);
    ExpectPoint(pkView->GetTarget(), kTarget + kDirection * (60.0f * g_fModelScale), 1e-3f);
    EXPECT_EQ(pkView->GetCameraToolIndex(), CNifView::TOOL_SELECTION);
    EXPECT_FALSE(pkView->GetActiveTool()->IsActive());
}

// The right button lends the Rotate tool and the middle one the Pan tool for one drag; the tool
// in use takes the release, so a Selection tool picks where the right button comes up.
TEST_F(NifViewTest, RightAndMiddleDragsBorrowATool)
{
    Start();
    CNifView* pkView = OpenSampleShip();
    ASSERT_NE(pkView, nullptr);
    pkView->SelectCameraTool(CNifView::TOOL_ORBIT);
    NiCamera* pkCamera = pkView->GetCamera();

    const NiPoint3 kLocation = pkCamera->GetWorldLocation();
    const NiPoint3 kDirection = pkCamera->GetWorldDirection();
    pkView->OnRButtonDown(MK_RBUTTON, CPoint{100, 100});
    EXPECT_EQ(pkView->GetCameraToolIndex(), CNifView::TOOL_ROTATE);
    pkView->OnMouseMove(MK_RBUTTON, CPoint{110, 100});
    // Rotating turns the view about the camera, which stays put.
    ExpectPoint(pkCamera->GetWorldLocation(), kLocation, 1e-3f);
    EXPECT_GT((pkCamera->GetWorldDirection() - kDirection).Length(), 0.1f);
    pkView->OnRButtonUp(0, CPoint{110, 100});
    EXPECT_EQ(pkView->GetCameraToolIndex(), CNifView::TOOL_ORBIT);

    const NiPoint3 kUp = pkCamera->GetWorldUpVector();
    const NiPoint3 kTurned = pkCamera->GetWorldLocation();
    pkView->OnMButtonDown(MK_MBUTTON, CPoint{100, 100});
    EXPECT_EQ(pkView->GetCameraToolIndex(), CNifView::TOOL_PAN);
    pkView->OnMouseMove(MK_MBUTTON, CPoint{100, 105});
    ExpectPoint(pkCamera->GetWorldLocation(), kTurned + kUp * (5.0f * g_fModelScale), 1e-3f);
    pkView->OnMButtonUp(0, CPoint{100, 105});
    EXPECT_EQ(pkView->GetCameraToolIndex(), CNifView::TOOL_ORBIT);

    // A release whose press went elsewhere keeps the tool in use.
    pkView->OnRButtonUp(0, CPoint{100, 100});
    EXPECT_EQ(pkView->GetCameraToolIndex(), CNifView::TOOL_ORBIT);
}

// With Show Selected Property Only on (as the editor starts) and nothing chosen in the property
// list, no property of the selected node shows; with it off, each one does.
TEST_F(NifViewTest, TheSelectedNodeShowsItsPropertiesOnEveryRedraw)
{
    Start();
    CNifView* pkView = OpenSampleShip();
    ASSERT_NE(pkView, nullptr);
    CPropertyDoc* pkDoc = Active();
    NiNode* pkRoot = pkDoc->GetSceneRoot();
    auto* pkNode = NiDynamicCast<NiNode>(pkRoot->FindObjectByName("Port Phaser"));
    ASSERT_NE(pkNode, nullptr);
    pkDoc->SetSelectedNode(pkNode);

    ASSERT_TRUE(Main()->m_bSelectedPropertyOnly);
    pkView->Redraw();
    EXPECT_EQ(ShownDisplayNodes(pkRoot), 0);

    Main()->m_bSelectedPropertyOnly = false;
    pkView->Redraw();
    EXPECT_EQ(ShownDisplayNodes(pkRoot), 1);

    // Choosing another node hides the first one's geometry.
    pkDoc->SetSelectedNode(pkRoot->FindObjectByName("Hull"));
    EXPECT_EQ(ShownDisplayNodes(pkRoot), 0);
}
