#pragma once

#include "platform/d3d7/IUnknown.h"

// Names the window a primary surface presents into.
class IDirectDrawClipper : public IUnknown
{
public:
    virtual HRESULT SetHWnd(DWORD dwFlags, HWND hWnd) = 0;
    virtual HRESULT GetHWnd(HWND* phWnd) = 0;
};
