#include "editor/COutputWindow.h"

#include "editor/CPropertyDoc.h"
#include "editor/CPropertyView.h"
#include "platform/mfc/CFrameWnd.h"
#include "platform/win32/DebugOutput.h"
#include "scripting/ScriptOutputTee.h"

#include <wx/app.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/textctrl.h>
#include <wx/thread.h>

#include <algorithm>
#include <cctype>

namespace
{
// The property list's width as a model window opens it, with the splitter's edge.
constexpr int PROPERTY_COLUMN = 210;
constexpr int MIN_WIDTH = 320;

// How far from the main window's left edge the property list of the active model ends (where
// it would end when no model is open): its Add, Delete and Edit Property buttons sit at its
// bottom, below where the output window goes.
int PropertyColumnWidth(wxWindow* pkMain, const wxRect& kClient)
{
    auto* pkFrame = dynamic_cast<CFrameWnd*>(CWnd::FromToolkit(pkMain));
    auto* pkDoc = pkFrame != nullptr ? dynamic_cast<CPropertyDoc*>(pkFrame->GetActiveDocument()) : nullptr;
    CPropertyView* pkList = pkDoc != nullptr ? pkDoc->GetPropertyView() : nullptr;
    if (pkList == nullptr || pkList->GetToolkitWindow() == nullptr)
        return PROPERTY_COLUMN;
    return pkList->GetToolkitWindow()->GetScreenRect().GetRight() + 1 - kClient.x;
}

// Past this the oldest lines go, so that a long session cannot fill the memory.
constexpr size_t MAX_TEXT = 1u << 20;

wxString ToToolkitText(const std::string& kText)
{
    wxString kWide = wxString::FromUTF8(kText.data(), kText.size());
    // Engine text may be Latin-1.
    if (kWide.empty() && !kText.empty())
        kWide = wxString(kText.data(), wxConvISO8859_1, kText.size());
    return kWide;
}
} // namespace

COutputWindow::COutputWindow() : m_spEvents(std::make_unique<wxEvtHandler>())
{
    win32::SubscribeDebugOutput({&COutputWindow::OnDebugOutput, this});
}

COutputWindow::~COutputWindow()
{
    win32::UnsubscribeDebugOutput({&COutputWindow::OnDebugOutput, this});
    if (m_pkFrame != nullptr)
        m_pkFrame->Unbind(wxEVT_DESTROY, &COutputWindow::OnFrameDestroyed, this);
}

void COutputWindow::ConnectScripts()
{
    ScriptOutputTee::Install(&COutputWindow::OnScriptOutput, this);
}

void COutputWindow::DisconnectScripts()
{
    ScriptOutputTee::Remove();
}

void COutputWindow::CreateFrame(wxWindow* pkMainWindow)
{
    if (m_pkFrame)
        return;
    // It stays over the main window, as a pane of it would, until it is closed.
    auto* pkFrame = new wxFrame(pkMainWindow, wxID_ANY, "Output", wxDefaultPosition, wxSize(800, 240),
                                wxDEFAULT_FRAME_STYLE | wxFRAME_FLOAT_ON_PARENT);
    m_pkTextCtrl = new wxTextCtrl(pkFrame, wxID_ANY, "", wxDefaultPosition, wxDefaultSize,
                                  wxTE_MULTILINE | wxTE_READONLY | wxTE_RICH2 | wxTE_DONTWRAP | wxHSCROLL);
    m_pkTextCtrl->SetFont(wxFontInfo().Family(wxFONTFAMILY_TELETYPE));
    // Closing hides: the text stays for the next time the window comes forward.
    pkFrame->Bind(wxEVT_CLOSE_WINDOW,
                  [pkFrame](wxCloseEvent& kEvent)
                  {
                      if (!kEvent.CanVeto())
                      {
                          kEvent.Skip();
                          return;
                      }
                      kEvent.Veto();
                      pkFrame->Hide();
                  });
    pkFrame->Bind(wxEVT_DESTROY, &COutputWindow::OnFrameDestroyed, this);
    m_pkFrame = pkFrame;
    AppendPieces(m_kBeforeFrame, false);
    m_kBeforeFrame.clear();
    Flush();
    // An error of the start-up shows once the main window is up, so that it is placed over it.
    if (m_bErrorBeforeFrame)
        m_spEvents->CallAfter([this] { Show(); });
    m_bErrorBeforeFrame = false;
}

void COutputWindow::Write(const char* pcText, bool bError)
{
    Queue(pcText, bError);
    if (wxThread::IsMain() && !m_bFlushing)
        Flush();
}

void COutputWindow::Show()
{
    if (!m_pkFrame)
        return;
    if (!m_bPlaced)
    {
        // First along the bottom of the main window's client area right of the property list
        // (the status bar and the list's buttons stay in sight), inside the screen; later
        // where the user left it.
        wxWindow* pkMain = m_pkFrame->GetParent();
        const wxRect kClient = pkMain != nullptr
                                   ? wxRect(pkMain->ClientToScreen(wxPoint(0, 0)), pkMain->GetClientSize())
                                   : wxRect(0, 0, 800, 600);
        wxRect kRect = kClient;
        if (pkMain != nullptr)
        {
            const int iLeft = std::clamp(PropertyColumnWidth(pkMain, kClient), 0, kClient.width / 2);
            kRect.x += iLeft;
            kRect.width -= iLeft;
        }
        kRect.height = std::clamp(kClient.height / 4, 140, 320);
        kRect.y = kClient.GetBottom() + 1 - kRect.height;
        const int iDisplay = wxDisplay::GetFromWindow(pkMain != nullptr ? pkMain : m_pkFrame);
        const wxRect kScreen = wxDisplay(iDisplay != wxNOT_FOUND ? iDisplay : 0).GetClientArea();
        // Narrower rather than moved left over the list when the main window runs past the
        // screen's right edge.
        kRect.width =
            std::min(kRect.width, std::max(MIN_WIDTH, kScreen.GetRight() + 1 - std::max(kRect.x, kScreen.x)));
        kRect.width = std::min(kRect.width, kScreen.width);
        kRect.x = std::clamp(kRect.x, kScreen.x, kScreen.GetRight() + 1 - kRect.width);
        kRect.y = std::clamp(kRect.y, kScreen.y, std::max(kScreen.y, kScreen.GetBottom() + 1 - kRect.height));
        m_pkFrame->SetSize(kRect);
        m_bPlaced = true;
    }
    if (!m_pkFrame->IsShown())
        m_pkFrame->Show();
    if (m_pkFrame->IsIconized())
        m_pkFrame->Iconize(false);
    m_pkFrame->Raise();
}

bool COutputWindow::IsShown() const
{
    return m_pkFrame != nullptr && m_pkFrame->IsShown();
}

std::string COutputWindow::GetText()
{
    if (wxThread::IsMain() && !m_bFlushing)
        Flush();
    return m_kText;
}

bool COutputWindow::IsErrorText(const char* pcText)
{
    std::string kLower = pcText != nullptr ? pcText : "";
    std::transform(kLower.begin(), kLower.end(), kLower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* pcWord : {"error", "fail", "assert"})
        if (kLower.find(pcWord) != std::string::npos)
            return true;
    return false;
}

void COutputWindow::OnDebugOutput(void* pvContext, const char* pcText)
{
    // Called inside the debugger output: the window is touched later, since anything the
    // toolkit wrote to the debugger output from here would wait for itself.
    static_cast<COutputWindow*>(pvContext)->Queue(pcText, IsErrorText(pcText));
}

void COutputWindow::OnScriptOutput(void* pvContext, const char* pcText, bool bError)
{
    static_cast<COutputWindow*>(pvContext)->Write(pcText, bError);
}

void COutputWindow::Queue(const char* pcText, bool bError)
{
    if (pcText == nullptr || *pcText == '\0')
        return;
    bool bPost = false;
    {
        std::lock_guard kGuard(m_kLock);
        if (!m_kQueued.empty() && m_kQueued.back().bError == bError)
            m_kQueued.back().kText += pcText;
        else
            m_kQueued.push_back({pcText, bError});
        bPost = !m_bFlushPosted && wxTheApp != nullptr;
        m_bFlushPosted = m_bFlushPosted || bPost;
    }
    if (bPost)
        m_spEvents->CallAfter([this] { Flush(); });
}

void COutputWindow::Flush()
{
    std::vector<Piece> kPieces;
    {
        std::lock_guard kGuard(m_kLock);
        kPieces.swap(m_kQueued);
        m_bFlushPosted = false;
    }
    if (kPieces.empty())
        return;
    m_bFlushing = true;
    for (const Piece& kPiece : kPieces)
        m_kText += kPiece.kText;
    if (m_pkTextCtrl != nullptr)
    {
        AppendPieces(kPieces, true);
    }
    else
    {
        m_bErrorBeforeFrame = m_bErrorBeforeFrame || HasError(kPieces);
        m_kBeforeFrame.insert(m_kBeforeFrame.end(), kPieces.begin(), kPieces.end());
    }
    Trim();
    m_bFlushing = false;
}

void COutputWindow::AppendPieces(const std::vector<Piece>& kPieces, bool bComeForward)
{
    // Errors show in red, and the first one is scrolled into sight: what follows it (a
    // closing model's renderer, say) must not push it out of view.
    long lFirstError = -1;
    for (const Piece& kPiece : kPieces)
    {
        if (kPiece.bError && lFirstError < 0)
            lFirstError = m_pkTextCtrl->GetLastPosition();
        m_pkTextCtrl->SetDefaultStyle(wxTextAttr(kPiece.bError ? *wxRED : wxNullColour));
        m_pkTextCtrl->AppendText(ToToolkitText(kPiece.kText));
    }
    m_pkTextCtrl->SetDefaultStyle(wxTextAttr());
    if (lFirstError < 0 || !bComeForward)
        return;
    Show();
    m_pkTextCtrl->ShowPosition(lFirstError);
}

bool COutputWindow::HasError(const std::vector<Piece>& kPieces)
{
    return std::any_of(kPieces.begin(), kPieces.end(), [](const Piece& kPiece) { return kPiece.bError; });
}

void COutputWindow::Trim()
{
    if (m_kText.size() <= MAX_TEXT)
        return;
    const size_t uiLineEnd = m_kText.find('\n', m_kText.size() - MAX_TEXT * 3 / 4);
    m_kText.erase(0, uiLineEnd != std::string::npos ? uiLineEnd + 1 : m_kText.size() - MAX_TEXT * 3 / 4);
    if (m_pkTextCtrl != nullptr)
    {
        m_pkTextCtrl->ChangeValue(ToToolkitText(m_kText));
        m_pkTextCtrl->SetInsertionPointEnd();
    }
}

void COutputWindow::OnFrameDestroyed(wxWindowDestroyEvent& kEvent)
{
    kEvent.Skip();
    if (kEvent.GetEventObject() != m_pkFrame)
        return;
    m_pkFrame = nullptr;
    m_pkTextCtrl = nullptr;
}
