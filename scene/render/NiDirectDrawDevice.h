#pragma once

#include "platform/d3d7/DDrawTypes.h"
#include "scene/object/NiRefPtr.h"
#include "scene/render/NiD3DDriverRecord.h"

#include <cstdint>
#include <memory>

class IDirectDraw7;
class IDirectDrawSurface7;
class NiDDBufferImage;

// One DirectDraw object for the renderer: the interface of one driver with its capabilities,
// the cooperative level and display mode, and the primary surface that every framebuffer on it
// shares. Counted: made with one reference for its creator; each framebuffer holds one more; the
// last release destroys it (and releases the device images' surfaces made on it).
class NiDirectDrawDevice
{
public:
    // Cooperative levels.
    static constexpr DWORD LEVEL_FULLSCREEN = 0x413;
    static constexpr DWORD LEVEL_FULLSCREEN_MULTIMON = 0x693;
    static constexpr DWORD LEVEL_NORMAL = 0x408;

    // For a driver record (null: the default windowed driver); null when DirectDraw cannot be made
    // or has no 3D capabilities, with the error logged.
    static NiDirectDrawDevice* Create(const NiD3DDriverRecord* pkRecord);
    // Around an application's DirectDraw object (the device takes a reference on it).
    static NiDirectDrawDevice* CreateFromDirectDraw(IDirectDraw7* pkDirectDraw,
                                                    const NiD3DDriverRecord* pkRecord);

    void IncRef() { ++m_iRefCount; }
    void DecRef();
    int32_t GetRefCount() const { return m_iRefCount; }
    static uint32_t GetLivingCount();

    // Asks once for the cooperative level (and, fullscreen, the display mode); later calls
    // answer true at once. Failures are logged and leave the level normal.
    bool SetCooperativeLevelAndMode(HWND hWindow, bool bFullscreen, uint32_t uiWidth, uint32_t uiHeight,
                                    uint32_t uiBitsPerPixel);
    void RestoreDisplayMode();
    // Only the first surface given becomes the primary; null image: a new buffer image for it.
    void SetPrimarySurface(IDirectDrawSurface7* pkSurface, NiDDBufferImage* pkImage);

    IDirectDraw7* GetDirectDraw() const { return m_pkDirectDraw; }
    bool IsHardware() const { return m_ucHardware != 0; }
    const DDCAPS& GetCaps() const { return m_kCaps; }
    const NiD3DDriverRecord* GetDriverRecord() const { return m_pkRecord.get(); }
    uint32_t GetDisplayBitsPerPixel() const { return m_uiDisplayBitsPerPixel; }
    IDirectDrawSurface7* GetPrimarySurface() const { return m_pkPrimarySurface; }
    NiDDBufferImage* GetPrimaryImage() const;
    bool IsCooperativeLevelSet() const { return m_ucCooperativeLevelSet != 0; }

private:
    NiDirectDrawDevice();
    ~NiDirectDrawDevice();
    NiDirectDrawDevice(const NiDirectDrawDevice&) = delete;
    NiDirectDrawDevice& operator=(const NiDirectDrawDevice&) = delete;

    static NiDirectDrawDevice* Finish(NiDirectDrawDevice* pkDevice);
    bool ReadCaps();
    bool FailCooperativeLevel(const char* pcError);
    // Logs the release steps and frees the device.
    void Destroy();

    IDirectDrawSurface7* m_pkPrimarySurface = nullptr;
    NiRefPtr<NiDDBufferImage> m_spPrimaryImage;
    uint8_t m_ucDisplayModeChanged = 0;
    IDirectDraw7* m_pkDirectDraw = nullptr;
    uint8_t m_ucHardware = 0;
    DDCAPS m_kCaps;
    std::unique_ptr<NiD3DDriverRecord> m_pkRecord;
    uint32_t m_uiDisplayBitsPerPixel = 0;
    uint8_t m_ucCooperativeLevelSet = 0;
    HWND m_hCooperativeWindow = nullptr;
    int32_t m_iRefCount = 0;
};
