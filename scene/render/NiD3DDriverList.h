#pragma once

#include "scene/render/NiD3DDriverRecord.h"

#include <cstdint>
#include <list>

class IDirectDraw7;
class IDirectDrawSurface7;

// The Direct3D drivers of the machine: every usable pair of a display driver and a Direct3D
// device becomes a record, primary-display hardware records first, and three defaults are
// picked (windowed, fullscreen, first software). The list is made on the first request and kept.
class NiD3DDriverList
{
public:
    // The records in list order.
    static const std::list<NiD3DDriverRecord>& GetDriverList();
    // Each may be null when the machine has no such driver.
    static const NiD3DDriverRecord* GetDefaultWindowedDriver();
    static const NiD3DDriverRecord* GetDefaultFullscreenDriver();
    static const NiD3DDriverRecord* GetSoftwareDriver();
    // Forgets the list so that the next request enumerates again (a machine that changed; tests).
    static void Forget();

    // Whether a DirectDraw object offers a device of the wanted kind (0 or 1 software, 2 hardware
    // with or without transform, 3 hardware transform) that can render the surface's format in the
    // mode (1 fullscreen, else windowed). The chosen device's record goes to the out record.
    // Status: 0 usable; 1 the surface's depth does not suit the device; 5 not fullscreen capable;
    // 6 not windowed capable; 7 and 8 no such device; 9 kind 3 (always); 10 no flag or surface.
    static uint32_t CheckDriverModes(IDirectDraw7* pkDirectDraw, uint32_t uiMode,
                                     IDirectDrawSurface7* pkSurface, uint32_t uiFlag, uint32_t uiDeviceKind,
                                     NiD3DDriverRecord& kRecord);
};
