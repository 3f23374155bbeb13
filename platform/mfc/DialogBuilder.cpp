#include "platform/mfc/DialogBuilder.h"

#include "platform/mfc/CWnd.h"
#include "platform/mfc/TreeWidget.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/listbox.h>
#include <wx/panel.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

namespace
{
void Notify(wxWindow* pkHost, wxCommandEvent& kEvent, int nCode)
{
    CWnd* pkWnd = CWnd::FromToolkit(pkHost);
    if (pkWnd == nullptr)
    {
        kEvent.Skip();
        return;
    }
    if (pkWnd->m_bLockNotify)
        return;
    const UINT nID = CWnd::ResourceId(kEvent.GetId());
    pkWnd->OnCommand((static_cast<WPARAM>(static_cast<uint16_t>(nCode)) << 16) | (nID & 0xFFFF), 0);
}
} // namespace

namespace mfc
{
wxSize DialogBuilder::TemplateSize(wxWindow* pkHost, const DialogResource& kTemplate)
{
    return pkHost->ConvertDialogToPixels(wxSize(kTemplate.cx, kTemplate.cy));
}

void DialogBuilder::Build(wxWindow* pkHost, const DialogResource& kTemplate)
{
    for (const DialogControl& kControl : kTemplate.kControls)
    {
        const wxPoint kAt = pkHost->ConvertDialogToPixels(wxPoint(kControl.x, kControl.y));
        const wxSize kSize = pkHost->ConvertDialogToPixels(wxSize(kControl.cx, kControl.cy));
        const int iId = kControl.nID == 0 ? wxID_ANY : CWnd::ToolkitId(kControl.nID);
        const wxString kText = wxString::FromUTF8(kControl.kText.c_str());
        wxWindow* pkControl = nullptr;
        switch (kControl.eKind)
        {
        case ControlKind::Static:
            pkControl = new wxStaticText(pkHost, iId, kText, kAt, kSize);
            break;
        case ControlKind::GroupBox:
            pkControl = new wxStaticBox(pkHost, iId, kText, kAt, kSize);
            break;
        case ControlKind::Button:
        case ControlKind::DefButton:
        {
            auto* pkButton = new wxButton(pkHost, iId, kText, kAt, kSize);
            if (kControl.eKind == ControlKind::DefButton)
                pkButton->SetDefault();
            pkControl = pkButton;
            break;
        }
        case ControlKind::CheckBox:
            pkControl = new wxCheckBox(pkHost, iId, kText, kAt, kSize);
            break;
        case ControlKind::Edit:
        {
            long lStyle = (kControl.dwStyle & ES_MULTILINE) ? wxTE_MULTILINE : 0;
            auto* pkEdit = new wxTextCtrl(pkHost, iId, kText, kAt, kSize, lStyle);
            if (kControl.dwStyle & ES_NUMBER)
                pkEdit->SetValidator(wxTextValidator(wxFILTER_DIGITS));
            pkControl = pkEdit;
            break;
        }
        case ControlKind::ListBox:
            pkControl = new wxListBox(pkHost, iId, kAt, kSize, 0, nullptr,
                                      wxLB_SINGLE | ((kControl.dwStyle & LBS_SORT) ? wxLB_SORT : 0));
            break;
        case ControlKind::ComboList:
            pkControl = new wxChoice(pkHost, iId, kAt, kSize);
            break;
        case ControlKind::Tree:
            pkControl = new TreeWidget(pkHost, iId, kAt, kSize);
            break;
        case ControlKind::Icon:
            pkControl = new wxStaticBitmap(
                pkHost, iId, wxArtProvider::GetBitmap(wxART_INFORMATION, wxART_MESSAGE_BOX), kAt, kSize);
            break;
        case ControlKind::Custom:
            pkControl = new wxPanel(pkHost, iId, kAt, kSize);
            break;
        }
        if (pkControl != nullptr && (kControl.dwStyle & WS_DISABLED))
            pkControl->Disable();
    }
    pkHost->SetClientSize(TemplateSize(pkHost, kTemplate));
}

void DialogBuilder::BindNotifications(wxWindow* pkHost)
{
    pkHost->Bind(wxEVT_BUTTON, [pkHost](wxCommandEvent& kEvent) { Notify(pkHost, kEvent, BN_CLICKED); });
    pkHost->Bind(wxEVT_CHECKBOX, [pkHost](wxCommandEvent& kEvent) { Notify(pkHost, kEvent, BN_CLICKED); });
    pkHost->Bind(wxEVT_TEXT, [pkHost](wxCommandEvent& kEvent) { Notify(pkHost, kEvent, EN_CHANGE); });
    pkHost->Bind(wxEVT_LISTBOX, [pkHost](wxCommandEvent& kEvent) { Notify(pkHost, kEvent, LBN_SELCHANGE); });
    pkHost->Bind(wxEVT_LISTBOX_DCLICK,
                 [pkHost](wxCommandEvent& kEvent) { Notify(pkHost, kEvent, LBN_DBLCLK); });
    pkHost->Bind(wxEVT_CHOICE, [pkHost](wxCommandEvent& kEvent) { Notify(pkHost, kEvent, CBN_SELCHANGE); });
}
} // namespace mfc
