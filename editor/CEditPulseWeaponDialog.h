#pragma once

#include "editor/CArcWeaponPage.h"

// The page of a pulse weapon: the orientation and arc (CArcWeaponPage), the cooldown time and the
// script of its shots.
class CEditPulseWeaponDialog : public CArcWeaponPage
{
    DECLARE_DYNAMIC(CEditPulseWeaponDialog)

public:
    CEditPulseWeaponDialog();

protected:
    DECLARE_MESSAGE_MAP()
};
