#pragma once

#include "platform/mfc/CDialog.h"

class CPropertyDoc;

// The Move All Positions dialog (151), modeless: moves the position of every local template
// (position-and-orientation and subsystem properties) by an offset, once per Apply or OK. It
// deletes itself when its window goes.
class CMoveAllPositionsDlg : public CDialog
{
public:
    explicit CMoveAllPositionsDlg(CPropertyDoc* pkDoc);

    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    void PostNcDestroy() override;

    // Moves every local template's position by the offsets.
    static void MoveLocalTemplates(float fX, float fY, float fZ);

    // The document it was opened for; only kept, never used: the offsets go to the templates.
    CPropertyDoc* m_pkDoc;
    float m_fXOffset = 0.0f;
    float m_fYOffset = 0.0f;
    float m_fZOffset = 0.0f;

protected:
    void OnApply();

    DECLARE_MESSAGE_MAP()
};
