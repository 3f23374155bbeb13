#pragma once

#include "platform/mfc/CDialog.h"
#include "scene/object/NiRefPtr.h"

class CPropertyDoc;
class NiAmbientLight;

// The Change Light dialog (150), modeless: the dimmer and ambient colour of a model's light.
// Apply and OK set them; Cancel puts back what the light had when the dialog opened. It
// deletes itself when its window goes.
class CChangeLightDlg : public CDialog
{
public:
    // The dialog keeps the document's light, not the document: the model may close first.
    explicit CChangeLightDlg(CPropertyDoc* pkDoc);
    ~CChangeLightDlg() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    void PostNcDestroy() override;

    float m_fBlue = 0.0f;
    float m_fDimmer = 0.0f;
    float m_fGreen = 0.0f;
    float m_fRed = 0.0f;

protected:
    void OnApply();

    DECLARE_MESSAGE_MAP()

private:
    // The fields into the light, and the light's effects renewed on every node it lights.
    void ApplyToLight();

    CPropertyDoc* m_pkDoc;
    NiRefPtr<NiAmbientLight> m_spLight;
    float m_fOldRed = 0.0f;
    float m_fOldGreen = 0.0f;
    float m_fOldBlue = 0.0f;
    float m_fOldDimmer = 0.0f;
};
