#include "tests/support/display/ScreenImage.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gdk/gdkx.h>
#include <wx/window.h>

wxImage ScreenImage(const wxWindow& kWindow)
{
    GdkDisplay* pkGdkDisplay = gdk_display_get_default();
    if (pkGdkDisplay == nullptr || !GDK_IS_X11_DISPLAY(pkGdkDisplay))
        return wxImage();
    Display* pkDisplay = gdk_x11_display_get_xdisplay(pkGdkDisplay);
    const wxSize kSize = kWindow.GetClientSize();
    const wxPoint kOrigin = kWindow.ClientToScreen(wxPoint(0, 0));
    XSync(pkDisplay, False);
    XImage* pkImage =
        XGetImage(pkDisplay, DefaultRootWindow(pkDisplay), kOrigin.x, kOrigin.y,
                  static_cast<unsigned>(kSize.x), static_cast<unsigned>(kSize.y), AllPlanes, ZPixmap);
    if (pkImage == nullptr)
        return wxImage();
    wxImage kResult(kSize.x, kSize.y, false);
    for (int iY = 0; iY < kSize.y; ++iY)
        for (int iX = 0; iX < kSize.x; ++iX)
        {
            const unsigned long ulPixel = XGetPixel(pkImage, iX, iY);
            kResult.SetRGB(iX, iY, static_cast<unsigned char>((ulPixel & pkImage->red_mask) >> 16),
                           static_cast<unsigned char>((ulPixel & pkImage->green_mask) >> 8),
                           static_cast<unsigned char>(ulPixel & pkImage->blue_mask));
        }
    XDestroyImage(pkImage);
    return kResult;
}

int ChangedPixels(const wxImage& kBefore, const wxImage& kAfter)
{
    int iChanged = 0;
    for (int y = 0; y < kBefore.GetHeight(); ++y)
        for (int x = 0; x < kBefore.GetWidth(); ++x)
            if (kBefore.GetRed(x, y) != kAfter.GetRed(x, y) ||
                kBefore.GetGreen(x, y) != kAfter.GetGreen(x, y) ||
                kBefore.GetBlue(x, y) != kAfter.GetBlue(x, y))
                ++iChanged;
    return iChanged;
}
