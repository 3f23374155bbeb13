#pragma once

#include "scene/graph/NiPixelLayout.h"
#include "scene/graph/NiRawImageData.h"
#include "scene/object/NiStream.h"

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

// Small builders shared by the image tests.

// A layout of the given depth from its four channel masks: widths, losses and shifts follow.
inline NiPixelLayout MakeLayout(uint8_t ucBits, uint32_t uiRed, uint32_t uiGreen, uint32_t uiBlue,
                                uint32_t uiAlpha)
{
    NiPixelLayout kLayout;
    kLayout.m_ucBitsPerPixel = ucBits;
    const uint32_t auiMasks[4] = {uiRed, uiGreen, uiBlue, uiAlpha};
    for (int c = 0; c < 4; ++c)
    {
        kLayout.m_auiMask[c] = auiMasks[c];
        uint32_t uiShift = 0;
        while (auiMasks[c] && !(auiMasks[c] & (1u << uiShift)))
            ++uiShift;
        uint32_t uiWidth = 0;
        while (uiShift + uiWidth < 32 && (auiMasks[c] & (1u << (uiShift + uiWidth))))
            ++uiWidth;
        kLayout.m_aucShift[c] = static_cast<uint8_t>(uiShift);
        kLayout.m_aucBits[c] = static_cast<uint8_t>(uiWidth);
        kLayout.m_aucLoss[c] = static_cast<uint8_t>(8 - uiWidth);
    }
    return kLayout;
}

// An image of the format and size whose pixel bytes are the given ones (row after row).
inline NiRawImageData* MakeImage(NiRawImageData::Format eFormat, uint32_t uiWidth, uint32_t uiHeight,
                                 std::initializer_list<uint8_t> kPixels)
{
    auto* pkImage = new NiRawImageData(eFormat, uiWidth, uiHeight);
    if (kPixels.size())
        std::memcpy(pkImage->GetPixels(), kPixels.begin(), kPixels.size());
    return pkImage;
}

inline void SetPaletteEntry(NiRawImageData& kImage, uint32_t uiIndex, uint8_t ucRed, uint8_t ucGreen,
                            uint8_t ucBlue, uint8_t ucAlpha)
{
    uint8_t* pEntry = kImage.GetPalette() + 4 * uiIndex;
    pEntry[0] = ucRed;
    pEntry[1] = ucGreen;
    pEntry[2] = ucBlue;
    pEntry[3] = ucAlpha;
}

inline std::vector<uint8_t> PixelBytes(const NiRawImageData& kImage)
{
    const uint8_t* pPixels = kImage.GetPixels();
    return pPixels ? std::vector<uint8_t>(pPixels, pPixels + kImage.GetPixelByteCount())
                   : std::vector<uint8_t>();
}

// The offset of a saved record: the length-prefixed class name, or npos.
inline size_t FindRecord(const std::vector<char>& kBuffer, const char* pcClassName)
{
    std::string kKey(4, '\0');
    const uint32_t uiLength = static_cast<uint32_t>(std::strlen(pcClassName));
    std::memcpy(kKey.data(), &uiLength, 4);
    kKey += pcClassName;
    return std::string(kBuffer.begin(), kBuffer.end()).find(kKey);
}

// Offset of the first field after a record's class name and link id.
inline size_t RecordBody(const std::vector<char>& kBuffer, const char* pcClassName)
{
    const size_t uiAt = FindRecord(kBuffer, pcClassName);
    return uiAt == std::string::npos ? uiAt : uiAt + 4 + std::strlen(pcClassName) + 4;
}

inline void PutU32(std::vector<char>& kBuffer, size_t uiAt, uint32_t uiValue)
{
    std::memcpy(kBuffer.data() + uiAt, &uiValue, 4);
}
