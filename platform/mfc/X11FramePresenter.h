#pragma once

#include <cstdint>
#include <memory>

class wxWindow;

// Shows frames in a window of an X display through shared memory: the renderer reads its
// frame straight into the shared image and the server copies it into the window, with no
// toolkit bitmap between. Made only where that works (an X display with the shared-memory
// extension and a 24-bit true-colour window); elsewhere views paint frames through the toolkit.
// The window becomes a native one that the toolkit no longer double-buffers, so what is put
// there stays until the next frame.
class X11FramePresenter
{
public:
    // Null when the window cannot be shown into this way.
    static std::unique_ptr<X11FramePresenter> Create(wxWindow* pkWindow);
    ~X11FramePresenter();

    X11FramePresenter(const X11FramePresenter&) = delete;
    X11FramePresenter& operator=(const X11FramePresenter&) = delete;

    // Memory for a frame of that size, rows iWidth pixels apart; null when it cannot be had.
    uint32_t* Buffer(int32_t iWidth, int32_t iHeight);
    // Puts the frame last asked for into the window's top-left corner and waits until the
    // server has it, so the memory may be written again; false when the server refused it.
    bool Show();

private:
    struct Image;
    X11FramePresenter() = default;
    void ReleaseImage();

    void* m_pvGdkDisplay = nullptr;
    void* m_pvDisplay = nullptr;
    void* m_pvVisual = nullptr;
    unsigned long m_ulWindow = 0;
    void* m_pvGC = nullptr;
    int m_iDepth = 0;
    std::unique_ptr<Image> m_pkImage;
};
