#include "editor/CNifView.h"

#include "editor/CMainFrame.h"
#include "editor/CPropertyDoc.h"
#include "editor/CPropertyView.h"
#include "editor/CSceneGraphView.h"
#include "editor/LocateTool.h"
#include "editor/OrbitTool.h"
#include "editor/PanTool.h"
#include "editor/RotateTool.h"
#include "editor/SelectionTool.h"
#include "editor/ZoomTool.h"
#include "editor/resources/Resource.h"
#include "platform/mfc/VirtualKey.h"
#include "properties/SKModelProperty.h"
#include "properties/SKModelPropertyInstance.h"
#include "properties/SKModelPropertySet.h"
#include "properties/SKNamedModelPropertyList.h"
#include "scene/graph/NiAlphaAccumulator.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiImage.h"
#include "scene/graph/NiNode.h"
#include "scene/render/NiD3DRender.h"

#include <wx/window.h>

#include <algorithm>
#include <cmath>

namespace
{
struct ToolEntry
{
    unsigned uiNumber;
    const char* pcModeText;
    // The key-down codes that choose it: the letter, and the code that arrives for another
    // key (F1, keypad divide, F11, F4, keypad separator, F3).
    UINT anKeys[2];
    // Its command, whose tool button shows it chosen.
    UINT nCommand;
};

constexpr ToolEntry TOOLS[] = {
    {CNifView::TOOL_PAN, "Pan mode", {80, 112}, ID_VIEW_PANTOOL},
    {CNifView::TOOL_ORBIT, "Orbit mode", {79, 111}, ID_VIEW_ORBITTOOL},
    {CNifView::TOOL_ZOOM, "Zoom mode", {90, 122}, ID_VIEW_ZOOMTOOL},
    {CNifView::TOOL_SELECTION, "Selection/pick mode", {83, 115}, ID_VIEW_SELECTIONTOOL},
    {CNifView::TOOL_LOCATE, "Locate mode", {76, 108}, ID_VIEW_LOCATETOOL},
    {CNifView::TOOL_ROTATE, "Rotate mode", {82, 114}, ID_VIEW_ROTATETOOL},
};

constexpr uint32_t CLEAR_BACKBUFFER_AND_ZBUFFER = 5;
} // namespace

IMPLEMENT_DYNCREATE(CNifView, CView)

CNifView::CNifView()
    : m_pkPanTool(std::make_unique<PanTool>(this)), m_pkZoomTool(std::make_unique<ZoomTool>(this)),
      m_pkOrbitTool(std::make_unique<OrbitTool>(this)),
      m_pkSelectionTool(std::make_unique<SelectionTool>(this)),
      m_pkLocateTool(std::make_unique<LocateTool>(this)), m_pkRotateTool(std::make_unique<RotateTool>(this))
{
    SelectCameraTool(TOOL_PAN);
    m_pkSavedTool = nullptr;
    InitCamera();
}

CNifView::~CNifView()
{
    ReleaseRenderer();
    m_spCamera = nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// Camera and renderer

void CNifView::InitCamera()
{
    m_spCamera = new NiCamera;
    const float fFar = 500.0f;
    const float fNear =
        std::max(std::max(fFar / NiCamera::MAX_FAR_NEAR_RATIO, 0.05f), NiCamera::MIN_NEAR_DISTANCE);
    m_spCamera->SetFrustum(NiFrustum(-0.275f, 0.275f, 0.205f, -0.205f, fNear, fFar));
    m_spCamera->SetViewPort(NiRect<float>(0.0f, 1.0f, 1.0f, 0.0f));
    m_spCamera->SetTranslate(NiPoint3(-40.0f, 0.0f, 0.0f));
}

NiCamera* CNifView::GetCamera() const
{
    return m_spCamera;
}

NiD3DRender* CNifView::GetRenderer()
{
    if (!m_spRenderer)
        CreateRenderer(2);
    return m_spRenderer;
}

void CNifView::CreateRenderer(int iMode)
{
    if (iMode == 2)
    {
        ReleaseRenderer();
        // A window without an area yet (not laid out) gets its renderer on a later draw.
        int32_t iWidth = 0;
        int32_t iHeight = 0;
        GetClientSize(iWidth, iHeight);
        if (GetSafeHwnd() == nullptr || iWidth <= 0 || iHeight <= 0)
            return;
        // After a failure nothing is tried until the window changes size: the box would
        // otherwise come back with every paint and every idle pass.
        if (m_bRendererFailed)
            return;
        m_spRenderer = NiD3DRender::Create(0, 0, 0, 1, this, AfxGetMainWnd(), nullptr);
    }
    if (!m_spRenderer)
    {
        m_bRendererFailed = true;
        if (!m_bFailureShown && GetToolkitWindow() != nullptr)
        {
            m_bFailureShown = true;
            // Told after the paint or load under way: a modal box inside a paint would stall it.
            GetToolkitWindow()->CallAfter([this]
                                          { MessageBox("Renderer Creation Failed.", "Error", MB_OK); });
        }
        return;
    }
    NiImage::AddRenderer(m_spRenderer);
    auto* pkAccumulator = new NiAlphaAccumulator;
    pkAccumulator->SetObserveNoSortHint(true);
    m_spRenderer->SetAccumulator(pkAccumulator);
    m_spCamera->SetRenderer(m_spRenderer);
}

void CNifView::ReleaseRenderer()
{
    if (!m_spRenderer)
        return;
    if (m_spCamera && m_spCamera->GetRenderer() == m_spRenderer.Get())
        m_spCamera->SetRenderer(nullptr);
    NiImage::RemoveRenderer(m_spRenderer);
    m_spRenderer = nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// Drawing

void CNifView::Redraw()
{
    if (!m_spRenderer)
        CreateRenderer(2);
    if (!m_spCamera)
        return;
    ShowNodeProperties(GetSelectedTreeNode(), true);
    m_spCamera->Clear(CLEAR_BACKBUFFER_AND_ZBUFFER);
    m_spCamera->Render();
    m_spCamera->PresentFrame();
}

void CNifView::OnDraw(CDC*)
{
    if (!m_spRenderer)
        CreateRenderer(2);
    if (m_spCamera)
        Redraw();
}

BOOL CNifView::OnEraseBkgnd(CDC* pDC)
{
    // The frame covers the whole window once there is a scene; erasing first would flicker.
    if (m_spCamera && m_spCamera->GetScene() != nullptr)
        return FALSE;
    return CView::OnEraseBkgnd(pDC);
}

CPropertyDoc* CNifView::GetModelDocument() const
{
    return dynamic_cast<CPropertyDoc*>(GetDocument());
}

NiAVObject* CNifView::GetSelectedTreeNode() const
{
    auto* pkDoc = GetModelDocument();
    if (pkDoc == nullptr)
        return nullptr;
    const CSceneGraphView* pkTree = pkDoc->GetSceneGraphView();
    return pkTree != nullptr ? pkTree->GetSelectedTreeNode() : pkDoc->GetSelectedNode();
}

SKModelPropertyInstance* CNifView::GetSelectedInstance() const
{
    auto* pkDoc = GetModelDocument();
    const CPropertyView* pkList = pkDoc != nullptr ? pkDoc->GetPropertyView() : nullptr;
    return pkList != nullptr ? pkList->GetSelectedInstance() : nullptr;
}

void CNifView::ShowNodeProperties(NiAVObject* pkObject, bool bShow)
{
    auto* pkNode = NiDynamicCast<NiNode>(pkObject);
    if (pkNode == nullptr || pkNode->GetName() == nullptr)
        return;
    auto* pkDoc = GetModelDocument();
    SKNamedModelPropertyList* pkList =
        pkDoc != nullptr ? pkDoc->GetPropertySet()->GetPropertyList(pkNode->GetName()) : nullptr;
    if (pkList == nullptr)
        return;
    auto* pkMain = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    const bool bSelectedOnly = pkMain != nullptr && pkMain->m_bSelectedPropertyOnly;
    const SKModelPropertyInstance* pkSelected = bSelectedOnly ? GetSelectedInstance() : nullptr;
    for (SKModelPropertyInstance* pkInstance : pkList->GetItems())
    {
        const bool bShowThis = bSelectedOnly ? bShow && pkInstance == pkSelected : bShow;
        if (SKModelProperty* pkProperty = ShownProperty(*pkInstance))
            pkProperty->ShowInView(bShowThis, m_spCamera, pkNode);
    }
}

SKModelProperty* CNifView::ShownProperty(const SKModelPropertyInstance& kInstance)
{
    SKModelProperty* pkTemplate = kInstance.GetOriginalTemplate();
    return pkTemplate != nullptr ? pkTemplate : kInstance.GetProperty();
}

// ---------------------------------------------------------------------------------------------------------
// Framing the camera

void CNifView::SetScene(NiNode* pkRoot)
{
    const bool bHadScene = m_spCamera->GetScene() != nullptr;
    m_spCamera->SetScene(pkRoot);
    if (pkRoot == nullptr)
        return;
    if (!m_spRenderer)
        CreateRenderer(2);
    pkRoot->UpdateSubtree(0.0f);
    if (!bHadScene)
    {
        FitFrustum(m_spCamera);
        PlaceCamera(m_spCamera);
    }
    m_spCamera->UpdateSubtree(0.0f);
}

NiAVObject* CNifView::GetScene() const
{
    return m_spCamera->GetScene();
}

void CNifView::FitFrustum(NiCamera* pkCamera)
{
    auto* pkDoc = GetModelDocument();
    NiNode* pkRoot = pkDoc != nullptr ? pkDoc->GetSceneRoot() : nullptr;
    int32_t iWidth = 0;
    int32_t iHeight = 0;
    GetClientSize(iWidth, iHeight);
    // A window without an area has no aspect; the next resize fits again.
    if (pkCamera == nullptr || pkRoot == nullptr || iWidth <= 0 || iHeight <= 0)
        return;
    const float fRadius = pkRoot->GetWorldBound().m_fRadius;
    const float fAspect = static_cast<float>(iWidth) / static_cast<float>(iHeight);
    const float fSlope = std::tan(NiPi / 8.0f);
    const float fFar = 20.0f * fRadius;
    const float fNear =
        std::max(std::max(fFar / NiCamera::MAX_FAR_NEAR_RATIO, 0.1f), NiCamera::MIN_NEAR_DISTANCE);
    pkCamera->SetFrustum(NiFrustum(-fSlope, fSlope, fSlope / fAspect, -fSlope / fAspect, fNear, fFar));
}

void CNifView::PlaceCamera(NiCamera* pkCamera)
{
    NiAVObject* pkScene = pkCamera != nullptr ? pkCamera->GetScene() : nullptr;
    if (pkScene == nullptr)
        return;
    NiAVObject* pkFramed = pkScene;
    if (auto* pkNode = NiDynamicCast<NiNode>(pkScene))
        for (uint32_t i = 0; i < pkNode->GetArrayCount(); ++i)
            if (NiAVObject* pkChild = pkNode->GetAt(i))
            {
                pkFramed = pkChild;
                break;
            }
    const NiPoint3 kCentre = pkFramed->GetWorldBound().m_kCenter;
    const float fRadius = pkFramed->GetWorldBound().m_fRadius;
    m_kTarget = kCentre;
    // Looking along +Y with +Z up: the columns are the view direction, up and right.
    NiRotationMatrix kRotate;
    kRotate.SetColumns(NiPoint3(0.0f, 1.0f, 0.0f), NiPoint3(0.0f, 0.0f, 1.0f), NiPoint3(1.0f, 0.0f, 0.0f));
    pkCamera->SetRotate(kRotate);
    pkCamera->SetTranslate(NiPoint3(kCentre.x, kCentre.y - 2.0f * fRadius, kCentre.z));
}

void CNifView::ZoomToNode(NiAVObject* pkObject)
{
    if (pkObject == nullptr)
        return;
    // A node with nothing drawn under it (a hardpoint) keeps a bound that is not its own:
    // its place is what there is to look at.
    const bool bHasBound = pkObject->IsVisual();
    const NiPoint3 kCentre = bHasBound ? pkObject->GetWorldBound().m_kCenter : pkObject->GetWorldTranslate();
    const float fDistance = std::max(bHasBound ? pkObject->GetWorldBound().m_fRadius : 0.0f, 5.0f);
    m_spCamera->SetTranslate(kCentre - m_spCamera->GetWorldDirection() * (2.0f * fDistance));
    // The camera aims from where it now stands, so it keeps its direction onto the centre.
    m_spCamera->UpdateSubtree(0.0f);
    m_spCamera->LookAt(kCentre, m_spCamera->GetWorldUpVector());
    SetTarget(kCentre.x, kCentre.y, kCentre.z);
    m_spCamera->UpdateSubtree(0.0f);
    if (NiAVObject* pkScene = m_spCamera->GetScene())
        pkScene->UpdateSubtree(0.0f);
    Invalidate(TRUE);
}

// ---------------------------------------------------------------------------------------------------------
// Tools

CameraTool* CNifView::GetTool(unsigned uiTool) const
{
    switch (uiTool)
    {
    case TOOL_PAN:
        return m_pkPanTool.get();
    case TOOL_ORBIT:
        return m_pkOrbitTool.get();
    case TOOL_ZOOM:
        return m_pkZoomTool.get();
    case TOOL_SELECTION:
        return m_pkSelectionTool.get();
    case TOOL_LOCATE:
        return m_pkLocateTool.get();
    case TOOL_ROTATE:
        return m_pkRotateTool.get();
    default:
        return nullptr;
    }
}

void CNifView::SelectCameraTool(unsigned uiTool)
{
    CameraTool* pkTool = GetTool(uiTool);
    if (pkTool == nullptr)
        return;
    m_pkActiveTool = pkTool;
    if (auto* pkMain = dynamic_cast<CMainFrame*>(AfxGetMainWnd()))
    {
        pkMain->SetModeText(TOOLS[uiTool - 1].pcModeText);
        pkMain->ShowChosenTool(TOOLS[uiTool - 1].nCommand);
    }
}

unsigned CNifView::GetCameraToolIndex() const
{
    for (const ToolEntry& kEntry : TOOLS)
        if (m_pkActiveTool != nullptr && m_pkActiveTool == GetTool(kEntry.uiNumber))
            return kEntry.uiNumber;
    return 0;
}

// ---------------------------------------------------------------------------------------------------------
// Input

void CNifView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    // A new size may let a renderer be made where the old one could not.
    m_bRendererFailed = false;
    if (!m_spRenderer)
        return;
    ReleaseRenderer();
    if (m_spCamera->GetScene() != nullptr)
        FitFrustum(m_spCamera);
    m_spCamera->SetRenderer(m_spRenderer);
}

void CNifView::OnMouseMove(UINT nFlags, CPoint kPoint)
{
    if (m_pkActiveTool != nullptr)
    {
        m_pkActiveTool->SetKeyFlags(nFlags);
        m_pkActiveTool->Move(kPoint.x, kPoint.y);
    }
    CView::OnMouseMove(nFlags, kPoint);
}

void CNifView::OnLButtonDown(UINT nFlags, CPoint kPoint)
{
    if (m_pkActiveTool != nullptr)
    {
        m_pkActiveTool->SetKeyFlags(nFlags);
        m_pkActiveTool->Begin(kPoint.x, kPoint.y);
        SetCapture();
    }
    CView::OnLButtonDown(nFlags, kPoint);
}

void CNifView::OnLButtonUp(UINT nFlags, CPoint kPoint)
{
    if (m_pkActiveTool != nullptr)
    {
        m_pkActiveTool->SetKeyFlags(nFlags);
        m_pkActiveTool->End(kPoint.x, kPoint.y);
        ReleaseCapture();
    }
    CView::OnLButtonUp(nFlags, kPoint);
}

void CNifView::BeginBorrowedDrag(CameraTool* pkTool, UINT nFlags, CPoint kPoint)
{
    // A second button pressed during a borrowed drag keeps the tool to return to.
    if (m_pkSavedTool == nullptr)
        m_pkSavedTool = m_pkActiveTool;
    m_pkActiveTool = pkTool;
    m_pkActiveTool->SetKeyFlags(nFlags);
    m_pkActiveTool->Begin(kPoint.x, kPoint.y);
    SetCapture();
}

void CNifView::EndBorrowedDrag(UINT nFlags, CPoint kPoint)
{
    // A release without its press here (pressed elsewhere) leaves the tool in use.
    if (m_pkSavedTool == nullptr)
        return;
    m_pkActiveTool = m_pkSavedTool;
    m_pkSavedTool = nullptr;
    m_pkActiveTool->SetKeyFlags(nFlags);
    m_pkActiveTool->End(kPoint.x, kPoint.y);
    ReleaseCapture();
}

void CNifView::OnRButtonDown(UINT nFlags, CPoint kPoint)
{
    BeginBorrowedDrag(m_pkRotateTool.get(), nFlags, kPoint);
    CView::OnRButtonDown(nFlags, kPoint);
}

void CNifView::OnRButtonUp(UINT nFlags, CPoint kPoint)
{
    EndBorrowedDrag(nFlags, kPoint);
    CView::OnRButtonUp(nFlags, kPoint);
}

void CNifView::OnMButtonDown(UINT nFlags, CPoint kPoint)
{
    BeginBorrowedDrag(m_pkPanTool.get(), nFlags, kPoint);
    CView::OnMButtonDown(nFlags, kPoint);
}

void CNifView::OnMButtonUp(UINT nFlags, CPoint kPoint)
{
    EndBorrowedDrag(nFlags, kPoint);
    CView::OnMButtonUp(nFlags, kPoint);
}

BOOL CNifView::OnMouseWheel(UINT nFlags, short zDelta, CPoint kPoint)
{
    if (!m_pkZoomTool)
        return CView::OnMouseWheel(nFlags, zDelta, kPoint);
    m_pkZoomTool->SetKeyFlags(nFlags);
    m_pkZoomTool->Begin(kPoint.x, kPoint.y);
    m_pkZoomTool->End(kPoint.x, kPoint.y - zDelta);
    return FALSE;
}

void CNifView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    for (const ToolEntry& kEntry : TOOLS)
        if (std::find(std::begin(kEntry.anKeys), std::end(kEntry.anKeys), nChar) != std::end(kEntry.anKeys))
        {
            SelectCameraTool(kEntry.uiNumber);
            break;
        }
    CView::OnKeyDown(nChar, nRepCnt, nFlags);
}
