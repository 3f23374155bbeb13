#pragma once

// The layer's entry points. Which back end answers (OpenGL or recording) and what machine it
// pretends to be is decided by the current world: see platform/d3d7/World.h.

#include "platform/d3d7/IUnknown.h"

// Makes the DirectDraw object of a driver (null: the primary display driver) for
// IID_IDirectDraw7.
HRESULT DirectDrawCreateEx(GUID* pkGuid, LPVOID* ppvDirectDraw, REFIID riid, IUnknown* pkOuter);
// Lists the drivers, the primary first with a null GUID; stops when the callback returns
// DDENUMRET_CANCEL. Secondary drivers are listed when dwFlags asks for attached or detached
// secondary devices.
HRESULT DirectDrawEnumerateExA(LPDDENUMCALLBACKEXA pfnCallback, LPVOID pvContext, DWORD dwFlags);
HRESULT DirectDrawEnumerateA(LPDDENUMCALLBACKA pfnCallback, LPVOID pvContext);

using LPDIRECTDRAWCREATEEX = HRESULT (*)(GUID*, LPVOID*, REFIID, IUnknown*);
using LPDIRECTDRAWENUMERATEEXA = HRESULT (*)(LPDDENUMCALLBACKEXA, LPVOID, DWORD);

// The run-time lookup of the entry points: "DDRAW.DLL" (any case) is always loaded;
// GetProcAddress answers "DirectDrawCreateEx" and "DirectDrawEnumerateExA" unless the world
// says the driver library lacks them, and null for any other name.
using HMODULE = void*;
using FARPROC = void (*)();
HMODULE GetModuleHandleA(const char* pcModuleName);
FARPROC GetProcAddress(HMODULE hModule, const char* pcProcName);
