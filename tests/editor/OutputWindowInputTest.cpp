// The output window's text under a person's mouse and keys: a click into it, Ctrl+A and Ctrl+C
// through the X server (the toolkit's input simulation) put the traceback on the clipboard.
#include "editor/COutputWindow.h"
#include "scripting/PyEmbed.h"
#include "tests/editor/EditorSessionFixture.h"

#include <gmock/gmock.h>
#include <wx/clipbrd.h>
#include <wx/frame.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <chrono>
#include <functional>

namespace
{
using testing::HasSubstr;

class OutputWindowInputTest : public EditorSessionFixture
{
protected:
};

std::string ClipboardText()
{
    std::string kText;
    wxTextDataObject kData;
    if (wxTheClipboard->Open())
    {
        if (wxTheClipboard->GetData(kData))
            kText = kData.GetText().utf8_str();
        wxTheClipboard->Close();
    }
    return kText;
}
} // namespace

TEST_F(OutputWindowInputTest, CtrlCCopiesItsText)
{
    Start();
    PyEmbed::RunSimpleString("raise LookupError('copy me')");
    COutputWindow* pkOutput = m_kApp.GetOutputWindow();
    ASSERT_TRUE(PumpUntil([pkOutput] { return pkOutput->IsShown(); }));
    auto* pkText = dynamic_cast<wxTextCtrl*>(pkOutput->GetFrame()->GetChildren().GetFirst()->GetData());
    ASSERT_NE(pkText, nullptr);
    if (wxTheClipboard->Open())
    {
        wxTheClipboard->Clear();
        wxTheClipboard->Close();
    }

    wxUIActionSimulator kInput;
    const wxRect kRect = pkText->GetScreenRect();
    kInput.MouseMove(kRect.GetPosition() + wxPoint(kRect.GetWidth() / 2, kRect.GetHeight() / 2));
    Settle();
    kInput.MouseClick();
    Settle();
    kInput.Char('a', wxMOD_CONTROL);
    Settle();
    kInput.Char('c', wxMOD_CONTROL);

    std::string kCopied;
    PumpUntil([&kCopied] { return !(kCopied = ClipboardText()).empty(); });
    EXPECT_THAT(kCopied, HasSubstr("Traceback (most recent call last)"));
    EXPECT_THAT(kCopied, HasSubstr("LookupError: copy me"));
}
