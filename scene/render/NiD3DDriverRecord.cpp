#include "scene/render/NiD3DDriverRecord.h"

bool NiD3DDriverRecord::HasMode(uint32_t uiWidth, uint32_t uiHeight, uint32_t uiBitsPerPixel) const
{
    for (const DisplayMode& kMode : m_kModes)
    {
        if (kMode.m_uiWidth == uiWidth && kMode.m_uiHeight == uiHeight &&
            kMode.m_uiBitsPerPixel == uiBitsPerPixel)
            return true;
    }
    return false;
}
