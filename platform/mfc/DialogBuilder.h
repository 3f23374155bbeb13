#pragma once

#include "platform/mfc/Resources.h"

#include <wx/gdicmn.h>

class wxWindow;

namespace mfc
{
// Makes the controls of a dialog template inside a window, and sends their notifications
// (clicks, edit changes, list selections) to the framework window of that host as
// WM_COMMAND with the control's id and notification code.
class DialogBuilder
{
public:
    // Places the controls (dialog units turned into pixels of the host's font) and sizes
    // the host's client area to the template.
    static void Build(wxWindow* pkHost, const DialogResource& kTemplate);
    static void BindNotifications(wxWindow* pkHost);
    // The template's size in pixels of the host's font.
    static wxSize TemplateSize(wxWindow* pkHost, const DialogResource& kTemplate);
};
} // namespace mfc
