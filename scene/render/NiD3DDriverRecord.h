#pragma once

#include "platform/d3d7/DDrawTypes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One usable pair of a DirectDraw display driver and a Direct3D device type, with the fullscreen
// display modes that device can render. The driver list owns the records; every DirectDraw
// device object keeps a copy of its own.
class NiD3DDriverRecord
{
public:
    // Flag bits.
    enum Flags : uint32_t
    {
        SEPARATE_TEXTURE_MEMORIES = 1,
        RENDERS_32_BIT = 2,
        HARDWARE_TRANSFORM = 4
    };

    struct DisplayMode
    {
        uint32_t m_uiWidth = 0;
        uint32_t m_uiHeight = 0;
        uint32_t m_uiBitsPerPixel = 0;
    };

    // "<device name> on <display driver description>".
    std::string m_kName;
    // On the primary display and allowed to render into a window.
    uint8_t m_ucWindowed = 0;
    uint8_t m_ucFullscreen = 1;
    uint8_t m_ucHardware = 0;
    // The display driver's GUID; none for the primary display driver.
    std::optional<GUID> m_kDriverId;
    // IID_IDirect3DTnLHalDevice, IID_IDirect3DHALDevice or IID_IDirect3DRGBDevice.
    const IID* m_pkDeviceType = nullptr;
    uint32_t m_uiFlags = 0;
    std::vector<DisplayMode> m_kModes;

    bool IsOnPrimaryDisplay() const { return !m_kDriverId; }
    bool HasMode(uint32_t uiWidth, uint32_t uiHeight, uint32_t uiBitsPerPixel) const;
};
