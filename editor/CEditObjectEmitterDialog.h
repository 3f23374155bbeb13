#pragma once

#include "editor/CZenaraPropertyPage.h"

// The page of an object emitter: the kind of object it launches (nothing chosen keeps the stored kind).
class CEditObjectEmitterDialog : public CZenaraPropertyPage
{
    DECLARE_DYNCREATE(CEditObjectEmitterDialog)

public:
    CEditObjectEmitterDialog();

    void AddPages(CPropertyEditSheet* pSheet) override;
};
