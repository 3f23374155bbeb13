#pragma once

#include "platform/mfc/CMDIChildWnd.h"
#include "platform/mfc/CSplitterWnd.h"

class CNifView;
class CPropertyDoc;

// The frame of one model: property list, 3D view and scene tree side by side.
class CChildFrame : public CMDIChildWnd
{
    DECLARE_DYNCREATE(CChildFrame)

public:
    CChildFrame() = default;

    // The middle pane as the 3D view; null when it is another class.
    CNifView* GetRightPane() const;

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    // Drops the local templates when the model goes (see ReleaseLocalTemplates).
    void PostNcDestroy() override;

    void OnFindObject();
    void OnUpdateFindObject(CCmdUI* pCmdUI);
    void OnPanTool();
    void OnOrbitTool();
    void OnZoomTool();
    void OnSelectionTool();
    void OnLocateTool();
    void OnRotateTool();
    void OnChangeLight();
    void OnViewStyle(UINT nCommandID);
    void OnUpdateViewStyles(CCmdUI* pCmdUI);

    CSplitterWnd m_wndSplitter;

    DECLARE_MESSAGE_MAP()

private:
    CPropertyDoc* GetModelDocument();
    void SelectTool(int iTool);
    // The document this frame was made for; only compared, never used: it may be gone
    // before the frame's last call.
    const void* m_pkDocument = nullptr;
};

// Releases the local templates of the property manager when the closing model was the only
// one open; with other models open, only the local templates none of their property sets
// uses (the others' scripts still need theirs).
void ReleaseLocalTemplates(const void* pkClosingDocument);
