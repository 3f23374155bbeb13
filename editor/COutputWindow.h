#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

class wxEvtHandler;
class wxFrame;
class wxTextCtrl;
class wxWindow;
class wxWindowDestroyEvent;

// The output window: what scripts print on sys.stdout and sys.stderr and what the program
// writes to the debugger output, in a frame of its own over the main window. It stands in for
// the console and the debugger's output pane, which a user who starts the editor from a
// desktop launcher never sees: the text can be selected and copied, the frame comes forward by
// itself when an error is written, and closing it only hides it. Everything still reaches the
// terminal as well.
//
// Made at start-up before the engine, so that nothing written while the engine and the global
// templates start is lost; the frame follows once the main window exists.
class COutputWindow
{
public:
    // Starts collecting the debugger output.
    COutputWindow();
    // Stops it; the interpreter's output must have been disconnected before.
    ~COutputWindow();
    COutputWindow(const COutputWindow&) = delete;
    COutputWindow& operator=(const COutputWindow&) = delete;

    // Leads sys.stdout and sys.stderr here as well as to the terminal, once the interpreter
    // runs; DisconnectScripts gives them back before it stops.
    void ConnectScripts();
    void DisconnectScripts();

    // Makes the frame over the main window with what was written so far; it shows at once
    // when an error was among it.
    void CreateFrame(wxWindow* pkMainWindow);

    // Adds text; an error brings the frame forward. Text written from another thread, or from
    // within the debugger output, reaches the frame when the message loop next runs.
    void Write(const char* pcText, bool bError);
    // Shows the frame (made hidden by a close) and raises it.
    void Show();

    wxFrame* GetFrame() const { return m_pkFrame; }
    bool IsShown() const;
    // The text shown so far (older text goes once the window holds a great deal).
    std::string GetText();

    // Whether a text of the debugger output reports a fault: it has no levels, so a text that
    // speaks of an error, a failure or an assertion counts as one.
    static bool IsErrorText(const char* pcText);

private:
    static void OnDebugOutput(void* pvContext, const char* pcText);
    static void OnScriptOutput(void* pvContext, const char* pcText, bool bError);

    struct Piece
    {
        std::string kText;
        bool bError;
    };

    void Queue(const char* pcText, bool bError);
    // Moves what was queued into the window (main thread).
    void Flush();
    void AppendPieces(const std::vector<Piece>& kPieces, bool bComeForward);
    static bool HasError(const std::vector<Piece>& kPieces);
    void Trim();
    void OnFrameDestroyed(wxWindowDestroyEvent& kEvent);

    std::mutex m_kLock; // guards the queue
    std::vector<Piece> m_kQueued;
    bool m_bFlushPosted = false;

    std::string m_kText;
    std::vector<Piece> m_kBeforeFrame; // flushed while there was no frame
    bool m_bErrorBeforeFrame = false;
    bool m_bFlushing = false;
    bool m_bPlaced = false;
    std::unique_ptr<wxEvtHandler> m_spEvents; // runs the flushes the debugger output asks for
    wxFrame* m_pkFrame = nullptr;
    wxTextCtrl* m_pkTextCtrl = nullptr;
};
