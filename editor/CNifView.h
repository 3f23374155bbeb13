#pragma once

#include "platform/mfc/CView.h"
#include "scene/object/NiRefPtr.h"

class NiNode;
class NiAVObject;

// The 3D view of a model document (the middle pane). It holds the scene the document gives
// it and the camera tool in use; drawing the scene is the device renderer's part.
class CNifView : public CView
{
    DECLARE_DYNCREATE(CNifView)

public:
    CNifView();
    ~CNifView() override;

    void SetScene(NiNode* pkRoot);
    NiNode* GetScene() const;
    // Drops the renderer and, with bCreate, makes a new one; false when none can be made.
    bool CreateRenderer(bool bCreate);
    void Redraw();
    void ShowNodeProperties(NiAVObject* pkNode, bool bShow);
    void ZoomToNode(NiAVObject* pkNode);
    // Tools by number: 1 pan, 2 orbit, 3 zoom, 4 selection, 5 locate, 6 rotate.
    void SelectCameraTool(int iTool);
    int GetCameraToolIndex() const { return m_iTool; }

    void OnDraw(CDC* pDC) override;

private:
    NiRefPtr<NiNode> m_spScene;
    int m_iTool = 4;
};
