#include "editor/PanePlaceholder.h"

#include "platform/mfc/CDC.h"

#include <wx/dc.h>

void DrawPanePlaceholder(CDC* pDC, const char* pcName)
{
    wxDC* pkDC = pDC != nullptr ? pDC->GetToolkitDC() : nullptr;
    if (pkDC == nullptr)
        return;
    const wxSize kSize = pkDC->GetSize();
    pkDC->SetBackground(wxBrush(wxColour(236, 236, 236)));
    pkDC->Clear();
    pkDC->SetTextForeground(wxColour(96, 96, 96));
    const wxString kText = wxString::FromUTF8(pcName);
    const wxSize kExtent = pkDC->GetTextExtent(kText);
    pkDC->DrawText(kText, (kSize.GetWidth() - kExtent.GetWidth()) / 2,
                   (kSize.GetHeight() - kExtent.GetHeight()) / 2);
}
