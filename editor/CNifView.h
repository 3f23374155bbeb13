#pragma once

#include "platform/mfc/CView.h"
#include "scene/object/NiPoint3.h"
#include "scene/object/NiRefPtr.h"

#include <memory>

class CameraTool;
class NiAVObject;
class CPropertyDoc;
class NiCamera;
class NiD3DRender;
class NiNode;
class SKModelProperty;
class SKModelPropertyInstance;

// The 3D view of a model document (the middle pane). It owns the window's camera and renderer,
// draws the document's scene with the display geometry of the selected node's properties, and
// turns mouse and keys into camera moves and picks through six camera tools.
//
// Contents: camera and renderer / drawing / framing the camera / tools / input.
class CNifView : public CView
{
    DECLARE_DYNCREATE(CNifView)

public:
    // Tool numbers, as the tool commands and keys name them.
    enum ToolNumber : unsigned
    {
        TOOL_PAN = 1,
        TOOL_ORBIT = 2,
        TOOL_ZOOM = 3,
        TOOL_SELECTION = 4,
        TOOL_LOCATE = 5,
        TOOL_ROTATE = 6
    };

    CNifView();
    ~CNifView() override;

    // The model document the view shows; null for any other document.
    CPropertyDoc* GetModelDocument() const;

    //--- Camera and renderer: the renderer is made for the window's size when first needed and
    // dropped on every resize. Every caller passes mode 2 (make one); another mode only wires
    // the renderer there is. ---
    NiCamera* GetCamera() const;
    NiD3DRender* GetRenderer();
    void CreateRenderer(int iMode);
    void ReleaseRenderer();

    //--- Drawing: one frame of the scene; the application calls it when idle, painting too. ---
    void Redraw();
    // Shows or hides the display geometry of the properties attached to a named node.
    void ShowNodeProperties(NiAVObject* pkObject, bool bShow);
    // The property whose geometry stands for an instance: its template, which the edit sheet
    // edits (an instance added from a template holds a copy of it besides); the instance's own
    // property when it has no template. Null for neither.
    static SKModelProperty* ShownProperty(const SKModelPropertyInstance& kInstance);

    //--- Framing the camera. ---
    // Attaches the document's scene; the first one also fits and places the camera.
    void SetScene(NiNode* pkRoot);
    NiAVObject* GetScene() const;
    void FitFrustum(NiCamera* pkCamera);
    void PlaceCamera(NiCamera* pkCamera);
    // Looks at the object's bound from twice its radius (at least 5) off, keeping the view
    // direction; a node with nothing drawn under it is looked at where it stands.
    void ZoomToNode(NiAVObject* pkObject);
    // The point the orbit and rotate tools turn about.
    void SetTarget(float x, float y, float z) { m_kTarget = NiPoint3(x, y, z); }
    const NiPoint3& GetTarget() const { return m_kTarget; }

    //--- Tools: 1 to 6 (other numbers do nothing); the active one's mode text goes to the status bar. ---
    void SelectCameraTool(unsigned uiTool);
    // The active tool's number, 0 when none.
    unsigned GetCameraToolIndex() const;
    CameraTool* GetActiveTool() const { return m_pkActiveTool; }

    void OnDraw(CDC* pDC) override;

    //--- Input. ---
    void OnSize(UINT nType, int cx, int cy) override;
    void OnMouseMove(UINT nFlags, CPoint kPoint) override;
    void OnLButtonDown(UINT nFlags, CPoint kPoint) override;
    void OnLButtonUp(UINT nFlags, CPoint kPoint) override;
    void OnRButtonDown(UINT nFlags, CPoint kPoint) override;
    void OnRButtonUp(UINT nFlags, CPoint kPoint) override;
    void OnMButtonDown(UINT nFlags, CPoint kPoint) override;
    void OnMButtonUp(UINT nFlags, CPoint kPoint) override;
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint kPoint) override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;

private:
    void InitCamera();
    // A right or middle drag lends a tool until its button comes up.
    void BeginBorrowedDrag(CameraTool* pkTool, UINT nFlags, CPoint kPoint);
    void EndBorrowedDrag(UINT nFlags, CPoint kPoint);
    // The node whose properties show their geometry, and the instance that alone shows while
    // Show Selected Property Only is on.
    NiAVObject* GetSelectedTreeNode() const;
    SKModelPropertyInstance* GetSelectedInstance() const;
    // Tool 1 to 6, or null.
    CameraTool* GetTool(unsigned uiTool) const;

    NiRefPtr<NiCamera> m_spCamera;
    NiRefPtr<NiD3DRender> m_spRenderer;
    NiPoint3 m_kTarget{0.0f, 0.0f, 0.0f};
    CameraTool* m_pkActiveTool = nullptr;
    CameraTool* m_pkSavedTool = nullptr;
    std::unique_ptr<CameraTool> m_pkPanTool;
    std::unique_ptr<CameraTool> m_pkZoomTool;
    std::unique_ptr<CameraTool> m_pkOrbitTool;
    std::unique_ptr<CameraTool> m_pkSelectionTool;
    std::unique_ptr<CameraTool> m_pkLocateTool;
    std::unique_ptr<CameraTool> m_pkRotateTool;
    // Set when a renderer could not be made: the failure is told once, and drawing waits for
    // a new window size before it tries again.
    bool m_bRendererFailed = false;
    bool m_bFailureShown = false;
};
