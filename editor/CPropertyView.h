#pragma once

#include "platform/mfc/CView.h"

class SKModelPropertyInstance;

// The property list of a model document (the left pane).
class CPropertyView : public CView
{
    DECLARE_DYNCREATE(CPropertyView)

public:
    // The instance of the list's selected entry; null without a selection.
    SKModelPropertyInstance* GetSelectedInstance() const;

    void OnDraw(CDC* pDC) override;
};
