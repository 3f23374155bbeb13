#pragma once

#include "platform/mfc/CView.h"

// The property list of a model document (the left pane).
class CPropertyView : public CView
{
    DECLARE_DYNCREATE(CPropertyView)

public:
    void OnDraw(CDC* pDC) override;
};
