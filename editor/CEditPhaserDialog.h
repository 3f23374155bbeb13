#pragma once

#include "editor/CArcWeaponPage.h"

// The page of a phaser: the orientation and arc (CArcWeaponPage), the extent of its ellipse (which
// applies at once and redraws), its texture numbers and the beam's colours and shape.
class CEditPhaserDialog : public CArcWeaponPage
{
    DECLARE_DYNAMIC(CEditPhaserDialog)

public:
    CEditPhaserDialog();

protected:
    DECLARE_MESSAGE_MAP()
};
