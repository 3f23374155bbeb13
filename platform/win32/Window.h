#pragma once

#include <cstdint>
#include <vector>

struct RECT
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct POINT
{
    int32_t x = 0;
    int32_t y = 0;
};

namespace win32
{
// What a window handle stands for: a client area of some size at some place on the screen,
// inside an optional parent. The user interface derives from it to answer from its own
// windows; by itself it answers what it was told (enough for tests and for no display).
class Window
{
public:
    explicit Window(Window* pkParent = nullptr);
    virtual ~Window();

    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    Window* GetParent() const { return m_pkParent; }

    virtual void GetClientSize(int32_t& iWidth, int32_t& iHeight) const;
    // The screen position of the client area's top-left corner.
    virtual void GetScreenOrigin(int32_t& iX, int32_t& iY) const;

    // Presenting a finished frame: the window lends memory for iWidth x iHeight A8R8G8B8
    // pixels, the top row first and rows iWidth pixels apart; the presenter fills it and asks
    // the window to show it at the client area's top-left corner. A window that can show
    // memory straight on the screen lends that memory, so the frame is copied only once.
    // By itself a window lends a buffer of its own and hands the frame to ReceiveFrame.
    virtual uint32_t* LendFrameBuffer(int32_t iWidth, int32_t iHeight);
    virtual void ShowFrame(int32_t iWidth, int32_t iHeight);
    // A frame shown from the window's own buffer. The user interface paints it; by itself a
    // window lets it go.
    virtual void ReceiveFrame(const uint32_t* puiPixels, int32_t iWidth, int32_t iHeight);

    void SetClientSize(int32_t iWidth, int32_t iHeight);
    void SetScreenOrigin(int32_t iX, int32_t iY);

private:
    Window* m_pkParent;
    std::vector<Window*> m_kChildren;
    int32_t m_iWidth = 0;
    int32_t m_iHeight = 0;
    int32_t m_iX = 0;
    int32_t m_iY = 0;
    std::vector<uint32_t> m_kFrame;
};
} // namespace win32

using HWND = win32::Window*;

// The client area as (0, 0, width, height); false for a null window.
bool GetClientRect(HWND hWnd, RECT* pkRect);
// Turns a client point into a screen point; false for a null window.
bool ClientToScreen(HWND hWnd, POINT* pkPoint);
// The window that has the user's attention, or null; the user interface keeps it current.
HWND GetForegroundWindow();
bool SetForegroundWindow(HWND hWnd);
// True when hWnd lies (at any depth) inside hParent.
bool IsChild(HWND hParent, HWND hWnd);
