#include "editor/CSceneGraphView.h"

#include "editor/PanePlaceholder.h"

IMPLEMENT_DYNCREATE(CSceneGraphView, CView)

NiAVObject* CSceneGraphView::GetSelectedTreeNode() const
{
    return nullptr;
}

void CSceneGraphView::OnDraw(CDC* pDC)
{
    DrawPanePlaceholder(pDC, "Scene tree");
}
