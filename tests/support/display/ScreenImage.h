#pragma once
// What the display shows of a window's client area, read from the X server itself (the
// toolkit's screen context may answer from a copy of its own that frames put straight into a
// window never reach).
#include <wx/image.h>

class wxWindow;

// An invalid image when the display is not an X display.
wxImage ScreenImage(const wxWindow& kWindow);

// How many pixels differ between two pictures of the same window.
int ChangedPixels(const wxImage& kBefore, const wxImage& kAfter);
