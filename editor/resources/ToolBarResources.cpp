#include "editor/resources/ToolBarResources.h"

#include "editor/resources/Resource.h"
#include "platform/mfc/Resources.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <string>

namespace
{
// A painter answers the colour letter of a pixel of a 16 by 15 picture, '.' where the bar
// shows through. The pictures are drawn around the pixel (7, 7).
using Painter = std::function<char(int x, int y)>;
constexpr int WIDTH = 16;
constexpr int HEIGHT = 15;
constexpr int CENTRE = 7;
constexpr float PI = 3.14159265f;

struct Point
{
    float x;
    float y;
};

float Distance(int x, int y, float fCentreX, float fCentreY)
{
    return std::hypot(static_cast<float>(x) - fCentreX, static_cast<float>(y) - fCentreY);
}

float DistanceToSegment(int x, int y, Point kFrom, Point kTo)
{
    const float fDx = kTo.x - kFrom.x;
    const float fDy = kTo.y - kFrom.y;
    float fAlong = ((static_cast<float>(x) - kFrom.x) * fDx + (static_cast<float>(y) - kFrom.y) * fDy) /
                   (fDx * fDx + fDy * fDy);
    fAlong = std::fmax(0.0f, std::fmin(1.0f, fAlong));
    return std::hypot(static_cast<float>(x) - kFrom.x - fAlong * fDx,
                      static_cast<float>(y) - kFrom.y - fAlong * fDy);
}

// Even-odd rule on the pixel's centre.
bool InsidePolygon(int x, int y, std::initializer_list<Point> kCorners)
{
    const float fX = static_cast<float>(x);
    const float fY = static_cast<float>(y);
    bool bInside = false;
    const Point* pkPrevious = kCorners.end() - 1;
    for (const Point& kCorner : kCorners)
    {
        if ((kCorner.y > fY) != (pkPrevious->y > fY) &&
            fX < kCorner.x + (fY - kCorner.y) * (pkPrevious->x - kCorner.x) / (pkPrevious->y - kCorner.y))
            bInside = !bInside;
        pkPrevious = &kCorner;
    }
    return bInside;
}

// Pan: a cross of arrows pointing four ways.
char Pan(int x, int y)
{
    const int iAcross = std::abs(x - CENTRE);
    const int iDown = std::abs(y - CENTRE);
    // Each head is five pixels wide at its base, two pixels behind its tip at the edge.
    const int iFromTip = CENTRE - std::max(iAcross, iDown);
    const int iSideways = iAcross > iDown ? iDown : iAcross;
    if (iFromTip >= 0 && iFromTip <= 2 && iSideways <= iFromTip)
        return 'b';
    return iAcross == 0 || iDown == 0 ? 'b' : '.';
}

// Orbit: an arrow running round the point it circles.
char Orbit(int x, int y)
{
    constexpr float GAP_START = 10.0f * PI / 180.0f;
    constexpr float GAP_END = 90.0f * PI / 180.0f;
    constexpr float RADIUS = 5.2f;
    const float fCentre = static_cast<float>(CENTRE);
    // The head sits on the arc's end at the start of the gap and points on round into it.
    const Point kBase{fCentre + RADIUS * std::cos(GAP_START), fCentre - RADIUS * std::sin(GAP_START)};
    const Point kOut{std::cos(GAP_START), -std::sin(GAP_START)};
    const Point kOnward{-std::sin(GAP_START), -std::cos(GAP_START)};
    if (InsidePolygon(x, y,
                      {{kBase.x + 4.0f * kOnward.x, kBase.y + 4.0f * kOnward.y},
                       {kBase.x + 3.0f * kOut.x, kBase.y + 3.0f * kOut.y},
                       {kBase.x - 3.0f * kOut.x, kBase.y - 3.0f * kOut.y}}))
        return 'b';
    const float fDistance = Distance(x, y, fCentre, fCentre);
    const float fAngle = std::atan2(fCentre - static_cast<float>(y), static_cast<float>(x) - fCentre);
    if (fDistance >= 4.4f && fDistance <= 6.0f && (fAngle < GAP_START || fAngle > GAP_END))
        return 'b';
    return fDistance <= 1.2f ? 'k' : '.';
}

// Zoom: a magnifying glass.
char Zoom(int x, int y)
{
    const float fDistance = Distance(x, y, 6.0f, 6.0f);
    if (fDistance > 4.5f && DistanceToSegment(x, y, {10.0f, 10.0f}, {13.5f, 13.5f}) <= 1.25f)
        return 'k';
    if (fDistance <= 3.4f)
        return 'l';
    return fDistance <= 5.2f ? 'k' : '.';
}

bool InsidePointer(int x, int y)
{
    return InsidePolygon(x, y,
                         {{3.0f, 0.5f},
                          {3.0f, 13.5f},
                          {6.2f, 10.6f},
                          {8.6f, 14.6f},
                          {10.6f, 13.6f},
                          {8.3f, 9.6f},
                          {12.5f, 9.6f}});
}

// Selection: the mouse pointer, white with a dark edge.
char Selection(int x, int y)
{
    if (!InsidePointer(x, y))
        return '.';
    const bool bEdge = !InsidePointer(x + 1, y) || !InsidePointer(x - 1, y) || !InsidePointer(x, y + 1) ||
                       !InsidePointer(x, y - 1);
    return bEdge ? 'k' : 'w';
}

// Locate: cross hairs in a red ring with a red dot at their centre.
char Locate(int x, int y)
{
    const float fCentre = static_cast<float>(CENTRE);
    const float fDistance = Distance(x, y, fCentre, fCentre);
    if (fDistance >= 4.6f && fDistance <= 6.0f)
        return 'r';
    const int iAcross = std::abs(x - CENTRE);
    const int iDown = std::abs(y - CENTRE);
    if ((iAcross == 0 && iDown >= 4) || (iDown == 0 && iAcross >= 4))
        return 'k';
    return fDistance <= 1.3f ? 'r' : '.';
}

// The pictures side by side as XPM lines.
mfc::BitmapResource Strip(UINT nID, std::initializer_list<Painter> kPictures)
{
    const int iWidth = WIDTH * static_cast<int>(kPictures.size());
    mfc::BitmapResource kBitmap{nID, {}};
    kBitmap.kXpm = {std::to_string(iWidth) + " " + std::to_string(HEIGHT) + " 6 1",
                    ". c None",
                    "k c #1E1E1E",
                    "b c #2A62B8",
                    "l c #A8CCF0",
                    "w c #FFFFFF",
                    "r c #D02828"};
    for (int y = 0; y < HEIGHT; ++y)
    {
        std::string kRow;
        for (const Painter& fnPicture : kPictures)
            for (int x = 0; x < WIDTH; ++x)
                kRow += fnPicture(x, y);
        kBitmap.kXpm.push_back(std::move(kRow));
    }
    return kBitmap;
}
} // namespace

void RegisterToolBarResources()
{
    // The file, clipboard, print and help buttons take the toolkit's stock pictures; the camera
    // tools have pictures of their own, in the bitmap of the tool bar's id, and are a group of
    // which the chosen one stays down.
    mfc::Resources::AddToolBar({IDR_MAINFRAME,
                                WIDTH,
                                HEIGHT,
                                {{ID_FILE_OPEN, "wxART_FILE_OPEN", "Open"},
                                 {ID_FILE_SAVE, "wxART_FILE_SAVE", "Save"},
                                 {},
                                 {ID_EDIT_CUT, "wxART_CUT", "Cut"},
                                 {ID_EDIT_COPY, "wxART_COPY", "Copy"},
                                 {ID_EDIT_PASTE, "wxART_PASTE", "Paste"},
                                 {},
                                 {ID_FILE_PRINT, "wxART_PRINT", "Print"},
                                 {ID_APP_ABOUT, "wxART_HELP", "About"},
                                 {},
                                 {ID_VIEW_PANTOOL, "", "Pan", 0, TBBS_CHECKGROUP},
                                 {ID_VIEW_ORBITTOOL, "", "Orbit", 1, TBBS_CHECKGROUP},
                                 {ID_VIEW_ZOOMTOOL, "", "Zoom", 2, TBBS_CHECKGROUP},
                                 {ID_VIEW_SELECTIONTOOL, "", "Selection", 3, TBBS_CHECKGROUP},
                                 {ID_VIEW_LOCATETOOL, "", "Locate", 4, TBBS_CHECKGROUP}}});
    mfc::Resources::AddBitmap(Strip(IDR_MAINFRAME, {Pan, Orbit, Zoom, Selection, Locate}));
}
