#include "editor/CPropertyView.h"

#include "editor/PanePlaceholder.h"

IMPLEMENT_DYNCREATE(CPropertyView, CView)

void CPropertyView::OnDraw(CDC* pDC)
{
    DrawPanePlaceholder(pDC, "Properties");
}
