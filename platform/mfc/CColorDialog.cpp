#include "platform/mfc/CColorDialog.h"

#include "platform/mfc/CWnd.h"
#include "platform/mfc/ModalService.h"

#include <wx/colordlg.h>

namespace
{
wxColour ToToolkit(COLORREF clr)
{
    return wxColour(static_cast<unsigned char>(GetRValue(clr)), static_cast<unsigned char>(GetGValue(clr)),
                    static_cast<unsigned char>(GetBValue(clr)));
}

COLORREF FromToolkit(const wxColour& kColour)
{
    return RGB(kColour.Red(), kColour.Green(), kColour.Blue());
}
} // namespace

// The chooser has one form here: the flags that pick the system's form change nothing.
CColorDialog::CColorDialog(COLORREF clrInit, DWORD, CWnd* pParentWnd)
    : m_clrCurrent(clrInit), m_pParentWnd(pParentWnd)
{
}

COLORREF* CColorDialog::GetSavedCustomColors()
{
    // White, as the system's chooser starts them.
    static COLORREF s_aclrCustom[NUM_CUSTOM_COLORS] = {
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
    return s_aclrCustom;
}

int CColorDialog::DoModal()
{
    mfc::ModalRequest kRequest;
    kRequest.eKind = mfc::ModalRequest::Kind::ColorDialog;
    kRequest.pkColorDialog = this;
    int iAnswer = IDCANCEL;
    if (mfc::ModalService::AskHook(kRequest, iAnswer))
        return iAnswer;

    wxColourData kData;
    kData.SetChooseFull(true);
    kData.SetColour(ToToolkit(m_clrCurrent));
    COLORREF* pclrCustom = GetSavedCustomColors();
    for (int i = 0; i < NUM_CUSTOM_COLORS; ++i)
        kData.SetCustomColour(i, ToToolkit(pclrCustom[i]));
    wxWindow* pkParent = m_pParentWnd != nullptr ? m_pParentWnd->GetToolkitWindow() : nullptr;
    wxColourDialog kDialog(pkParent, &kData);
    if (kDialog.ShowModal() != wxID_OK)
        return IDCANCEL;
    const wxColourData& kChosen = kDialog.GetColourData();
    for (int i = 0; i < NUM_CUSTOM_COLORS; ++i)
        if (kChosen.GetCustomColour(i).IsOk())
            pclrCustom[i] = FromToolkit(kChosen.GetCustomColour(i));
    m_clrCurrent = FromToolkit(kChosen.GetColour());
    return IDOK;
}
