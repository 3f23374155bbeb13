#pragma once

#include "platform/mfc/CView.h"

// The scene tree of a model document (the right pane).
class CSceneGraphView : public CView
{
    DECLARE_DYNCREATE(CSceneGraphView)

public:
    void OnDraw(CDC* pDC) override;
};
