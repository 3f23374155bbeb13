#include "editor/CNifView.h"

#include "editor/PanePlaceholder.h"
#include "scene/graph/NiNode.h"

IMPLEMENT_DYNCREATE(CNifView, CView)

CNifView::CNifView() = default;
CNifView::~CNifView() = default;

void CNifView::SetScene(NiNode* pkRoot)
{
    m_spScene = pkRoot;
    Invalidate(TRUE);
}

NiNode* CNifView::GetScene() const
{
    return m_spScene;
}

bool CNifView::CreateRenderer(bool)
{
    return false;
}

void CNifView::Redraw() {}

void CNifView::ShowNodeProperties(NiAVObject*, bool) {}

void CNifView::ZoomToNode(NiAVObject*) {}

void CNifView::SelectCameraTool(int iTool)
{
    if (iTool >= 1 && iTool <= 6)
        m_iTool = iTool;
}

void CNifView::OnDraw(CDC* pDC)
{
    DrawPanePlaceholder(pDC, "3D view");
}
