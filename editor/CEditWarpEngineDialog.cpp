#include "editor/CEditWarpEngineDialog.h"

#include "editor/CEditPoweredSubsystemDialog.h"
#include "editor/resources/PageResource.h"

IMPLEMENT_DYNAMIC(CEditWarpEngineDialog, CZenaraPropertyPage)

CEditWarpEngineDialog::CEditWarpEngineDialog() : CZenaraPropertyPage(IDD_WARP_ENGINE) {}

void CEditWarpEngineDialog::AddPages(CPropertyEditSheet* pSheet)
{
    AddParentPage(pSheet, new CEditPoweredSubsystemDialog);
}
