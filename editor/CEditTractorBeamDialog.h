#pragma once

#include "editor/CArcWeaponPage.h"

// The page of a tractor beam: the orientation and arc (CArcWeaponPage), the beam's colours and shape
// and its width.
class CEditTractorBeamDialog : public CArcWeaponPage
{
    DECLARE_DYNAMIC(CEditTractorBeamDialog)

public:
    CEditTractorBeamDialog();

protected:
    DECLARE_MESSAGE_MAP()
};
