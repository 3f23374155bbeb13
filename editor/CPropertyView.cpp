#include "editor/CPropertyView.h"

#include "editor/PanePlaceholder.h"

IMPLEMENT_DYNCREATE(CPropertyView, CView)

SKModelPropertyInstance* CPropertyView::GetSelectedInstance() const
{
    return nullptr;
}

void CPropertyView::OnDraw(CDC* pDC)
{
    DrawPanePlaceholder(pDC, "Properties");
}
