#pragma once

#include "platform/mfc/CView.h"

class NiAVObject;

// The scene tree of a model document (the right pane).
class CSceneGraphView : public CView
{
    DECLARE_DYNCREATE(CSceneGraphView)

public:
    // The scene object of the tree's caret item; null without one.
    NiAVObject* GetSelectedTreeNode() const;

    void OnDraw(CDC* pDC) override;
};
