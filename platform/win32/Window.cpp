#include "platform/win32/Window.h"

#include <algorithm>
#include <atomic>

namespace
{
constinit std::atomic<HWND> s_hForeground{nullptr};
} // namespace

namespace win32
{
Window::Window(Window* pkParent) : m_pkParent(pkParent)
{
    if (m_pkParent != nullptr)
        m_pkParent->m_kChildren.push_back(this);
}

Window::~Window()
{
    // Children outlive nothing they point at: a child left behind becomes top-level.
    for (Window* pkChild : m_kChildren)
        pkChild->m_pkParent = nullptr;
    if (m_pkParent != nullptr)
        std::erase(m_pkParent->m_kChildren, this);
    HWND hSelf = this;
    s_hForeground.compare_exchange_strong(hSelf, nullptr);
}

void Window::GetClientSize(int32_t& iWidth, int32_t& iHeight) const
{
    iWidth = m_iWidth;
    iHeight = m_iHeight;
}

void Window::GetScreenOrigin(int32_t& iX, int32_t& iY) const
{
    iX = m_iX;
    iY = m_iY;
}

uint32_t* Window::LendFrameBuffer(int32_t iWidth, int32_t iHeight)
{
    if (iWidth <= 0 || iHeight <= 0)
        return nullptr;
    m_kFrame.resize(static_cast<size_t>(iWidth) * static_cast<size_t>(iHeight));
    return m_kFrame.data();
}

void Window::ShowFrame(int32_t iWidth, int32_t iHeight)
{
    if (iWidth > 0 && iHeight > 0 &&
        m_kFrame.size() == static_cast<size_t>(iWidth) * static_cast<size_t>(iHeight))
        ReceiveFrame(m_kFrame.data(), iWidth, iHeight);
}

void Window::ReceiveFrame(const uint32_t*, int32_t, int32_t) {}

void Window::SetClientSize(int32_t iWidth, int32_t iHeight)
{
    m_iWidth = iWidth;
    m_iHeight = iHeight;
}

void Window::SetScreenOrigin(int32_t iX, int32_t iY)
{
    m_iX = iX;
    m_iY = iY;
}
} // namespace win32

bool GetClientRect(HWND hWnd, RECT* pkRect)
{
    if (hWnd == nullptr || pkRect == nullptr)
        return false;
    int32_t iWidth = 0;
    int32_t iHeight = 0;
    hWnd->GetClientSize(iWidth, iHeight);
    *pkRect = RECT{0, 0, iWidth, iHeight};
    return true;
}

bool ClientToScreen(HWND hWnd, POINT* pkPoint)
{
    if (hWnd == nullptr || pkPoint == nullptr)
        return false;
    int32_t iX = 0;
    int32_t iY = 0;
    hWnd->GetScreenOrigin(iX, iY);
    pkPoint->x += iX;
    pkPoint->y += iY;
    return true;
}

HWND GetForegroundWindow()
{
    return s_hForeground.load();
}

bool SetForegroundWindow(HWND hWnd)
{
    s_hForeground.store(hWnd);
    return hWnd != nullptr;
}

bool IsChild(HWND hParent, HWND hWnd)
{
    if (hParent == nullptr || hWnd == nullptr)
        return false;
    for (HWND hAncestor = hWnd->GetParent(); hAncestor != nullptr; hAncestor = hAncestor->GetParent())
    {
        if (hAncestor == hParent)
            return true;
    }
    return false;
}
