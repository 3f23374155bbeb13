#include "editor/CSceneGraphView.h"

#include "editor/PanePlaceholder.h"

IMPLEMENT_DYNCREATE(CSceneGraphView, CView)

void CSceneGraphView::OnDraw(CDC* pDC)
{
    DrawPanePlaceholder(pDC, "Scene tree");
}
