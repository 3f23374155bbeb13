#include "scene/graph/NiPixelLayout.h"

#include <vector>

constinit const NiPixelLayout NiPixelLayout::PALETTIZED8 = {
    1, 8, {0, 0, 0, 0}, {0, 0, 0, 0}, {8, 8, 8, 8}, {0, 0, 0, 0}, 0,
};

constinit const NiPixelLayout NiPixelLayout::RGB24 = {
    0, 24, {0xff, 0xff00, 0xff0000, 0}, {8, 8, 8, 0}, {0, 0, 0, 8}, {0, 8, 16, 0}, 0,
};

constinit const NiPixelLayout NiPixelLayout::RGBA32 = {
    0, 32, {0xff, 0xff00, 0xff0000, 0xff000000}, {8, 8, 8, 8}, {0, 0, 0, 0}, {0, 8, 16, 24}, 0,
};

namespace
{
// Slot 0 is never used: a number of 0 means "not asked yet".
std::vector<NiPixelLayout>& Registry()
{
    static std::vector<NiPixelLayout> s_kLayouts(1);
    return s_kLayouts;
}

bool SameFormat(const NiPixelLayout& kA, const NiPixelLayout& kB)
{
    if (kA.m_bPalettized || kB.m_bPalettized)
        return kA.m_bPalettized && kB.m_bPalettized;
    for (int c = 0; c < 4; ++c)
    {
        if (kA.m_auiMask[c] != kB.m_auiMask[c])
            return false;
    }
    return true;
}
} // namespace

uint32_t NiPixelLayout::GetFormatId(const NiPixelLayout& kLayout)
{
    if (kLayout.m_uiFormatNumber)
        return kLayout.m_uiFormatNumber;
    std::vector<NiPixelLayout>& kRegistry = Registry();
    for (uint32_t i = 1; i < kRegistry.size(); ++i)
    {
        if (SameFormat(kRegistry[i], kLayout))
            return i;
    }
    const uint32_t uiNumber = static_cast<uint32_t>(kRegistry.size());
    kRegistry.push_back(kLayout);
    kRegistry.back().m_uiFormatNumber = uiNumber;
    return uiNumber;
}

uint32_t NiPixelLayout::GetFormatId(NiPixelLayout& kLayout)
{
    kLayout.m_uiFormatNumber = GetFormatId(static_cast<const NiPixelLayout&>(kLayout));
    return kLayout.m_uiFormatNumber;
}
