#pragma once

#include "platform/d3d7/IUnknown.h"

// A 256-entry palette of an 8-bit palettized surface.
class IDirectDrawPalette : public IUnknown
{
public:
    virtual HRESULT GetEntries(DWORD dwFlags, DWORD dwBase, DWORD dwNumEntries, PALETTEENTRY* pkEntries) = 0;
    virtual HRESULT SetEntries(DWORD dwFlags, DWORD dwStartingEntry, DWORD dwCount,
                               PALETTEENTRY* pkEntries) = 0;
};
