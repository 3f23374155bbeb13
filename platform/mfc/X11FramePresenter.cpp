// X11FramePresenter: a shared-memory image per frame size, put into the view's native window.
#include "platform/mfc/X11FramePresenter.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <wx/window.h>

struct X11FramePresenter::Image
{
    XImage* pkImage = nullptr;
    XShmSegmentInfo kSegment{};
    bool bAttached = false;
};

namespace
{
GdkDisplay* AsGdk(void* pvDisplay)
{
    return static_cast<GdkDisplay*>(pvDisplay);
}
} // namespace

std::unique_ptr<X11FramePresenter> X11FramePresenter::Create(wxWindow* pkWindow)
{
    if (pkWindow == nullptr)
        return nullptr;
    GdkWindow* pkGdkWindow = pkWindow->GTKGetDrawingWindow();
    if (pkGdkWindow == nullptr || !GDK_IS_X11_WINDOW(pkGdkWindow))
        return nullptr;
    GdkDisplay* pkGdkDisplay = gdk_window_get_display(pkGdkWindow);
    Display* pkDisplay = gdk_x11_display_get_xdisplay(pkGdkDisplay);
    GdkVisual* pkGdkVisual = gdk_window_get_visual(pkGdkWindow);
    if (pkDisplay == nullptr || pkGdkVisual == nullptr || !XShmQueryExtension(pkDisplay))
        return nullptr;
    // Frames are A8R8G8B8 words; only a visual that stores them as they are takes them unchanged.
    Visual* pkVisual = gdk_x11_visual_get_xvisual(pkGdkVisual);
    const int iDepth = gdk_visual_get_depth(pkGdkVisual);
    if (pkVisual == nullptr || (iDepth != 24 && iDepth != 32) || pkVisual->red_mask != 0xff0000u ||
        pkVisual->green_mask != 0xff00u || pkVisual->blue_mask != 0xffu)
        return nullptr;

    // The frame goes into the widget's own X window, which the toolkit must then leave alone:
    // a double-buffered paint would copy its own buffer over the frame.
    if (!gdk_window_ensure_native(pkGdkWindow))
        return nullptr;
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gtk_widget_set_double_buffered(pkWindow->m_wxwindow, FALSE);
    G_GNUC_END_IGNORE_DEPRECATIONS

    std::unique_ptr<X11FramePresenter> pkPresenter(new X11FramePresenter());
    pkPresenter->m_pvGdkDisplay = pkGdkDisplay;
    pkPresenter->m_pvDisplay = pkDisplay;
    pkPresenter->m_pvVisual = pkVisual;
    pkPresenter->m_ulWindow = gdk_x11_window_get_xid(pkGdkWindow);
    pkPresenter->m_iDepth = iDepth;
    pkPresenter->m_pvGC = XCreateGC(pkDisplay, pkPresenter->m_ulWindow, 0, nullptr);
    if (pkPresenter->m_pvGC == nullptr)
        return nullptr;
    return pkPresenter;
}

X11FramePresenter::~X11FramePresenter()
{
    ReleaseImage();
    if (m_pvGC != nullptr)
        XFreeGC(static_cast<Display*>(m_pvDisplay), static_cast<GC>(m_pvGC));
}

void X11FramePresenter::ReleaseImage()
{
    if (!m_pkImage)
        return;
    auto* pkDisplay = static_cast<Display*>(m_pvDisplay);
    if (m_pkImage->bAttached)
    {
        gdk_x11_display_error_trap_push(AsGdk(m_pvGdkDisplay));
        XShmDetach(pkDisplay, &m_pkImage->kSegment);
        XSync(pkDisplay, False);
        gdk_x11_display_error_trap_pop_ignored(AsGdk(m_pvGdkDisplay));
    }
    if (m_pkImage->kSegment.shmaddr != nullptr)
        shmdt(m_pkImage->kSegment.shmaddr);
    if (m_pkImage->pkImage != nullptr)
    {
        // The memory is the segment's, not the image's own.
        m_pkImage->pkImage->data = nullptr;
        XDestroyImage(m_pkImage->pkImage);
    }
    m_pkImage.reset();
}

uint32_t* X11FramePresenter::Buffer(int32_t iWidth, int32_t iHeight)
{
    if (iWidth <= 0 || iHeight <= 0)
        return nullptr;
    if (m_pkImage && m_pkImage->pkImage->width == iWidth && m_pkImage->pkImage->height == iHeight)
        return reinterpret_cast<uint32_t*>(m_pkImage->pkImage->data);
    ReleaseImage();

    auto* pkDisplay = static_cast<Display*>(m_pvDisplay);
    m_pkImage = std::make_unique<Image>();
    Image& kImage = *m_pkImage;
    kImage.pkImage = XShmCreateImage(pkDisplay, static_cast<Visual*>(m_pvVisual),
                                     static_cast<unsigned>(m_iDepth), ZPixmap, nullptr, &kImage.kSegment,
                                     static_cast<unsigned>(iWidth), static_cast<unsigned>(iHeight));
    // Rows must lie a frame's width apart, as the renderer writes them.
    if (kImage.pkImage == nullptr || kImage.pkImage->bits_per_pixel != 32 ||
        kImage.pkImage->bytes_per_line != iWidth * 4)
    {
        ReleaseImage();
        return nullptr;
    }
    const size_t uiBytes = static_cast<size_t>(kImage.pkImage->bytes_per_line) * static_cast<size_t>(iHeight);
    kImage.kSegment.shmid = shmget(IPC_PRIVATE, uiBytes, IPC_CREAT | 0600);
    if (kImage.kSegment.shmid < 0)
    {
        ReleaseImage();
        return nullptr;
    }
    void* pvMemory = shmat(kImage.kSegment.shmid, nullptr, 0);
    if (pvMemory == reinterpret_cast<void*>(-1))
    {
        shmctl(kImage.kSegment.shmid, IPC_RMID, nullptr);
        ReleaseImage();
        return nullptr;
    }
    kImage.kSegment.shmaddr = kImage.pkImage->data = static_cast<char*>(pvMemory);
    kImage.kSegment.readOnly = False;

    // A server on another machine cannot attach; it says so with an error, not a result.
    gdk_x11_display_error_trap_push(AsGdk(m_pvGdkDisplay));
    XShmAttach(pkDisplay, &kImage.kSegment);
    XSync(pkDisplay, False);
    kImage.bAttached = gdk_x11_display_error_trap_pop(AsGdk(m_pvGdkDisplay)) == 0;
    // Marked for removal at once: the segment goes when both sides have let go, even after a crash.
    shmctl(kImage.kSegment.shmid, IPC_RMID, nullptr);
    if (!kImage.bAttached)
    {
        ReleaseImage();
        return nullptr;
    }
    return reinterpret_cast<uint32_t*>(kImage.pkImage->data);
}

bool X11FramePresenter::Show()
{
    if (!m_pkImage)
        return false;
    auto* pkDisplay = static_cast<Display*>(m_pvDisplay);
    // The window may be gone already on the server's side while the view closes.
    gdk_x11_display_error_trap_push(AsGdk(m_pvGdkDisplay));
    XShmPutImage(pkDisplay, m_ulWindow, static_cast<GC>(m_pvGC), m_pkImage->pkImage, 0, 0, 0, 0,
                 static_cast<unsigned>(m_pkImage->pkImage->width),
                 static_cast<unsigned>(m_pkImage->pkImage->height), False);
    XSync(pkDisplay, False);
    return gdk_x11_display_error_trap_pop(AsGdk(m_pvGdkDisplay)) == 0;
}
