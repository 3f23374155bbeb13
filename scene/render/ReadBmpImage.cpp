#include "scene/render/ImageFileBytes.h"
#include "scene/render/LoadImageFile.h"
#include "scene/graph/NiRawImageData.h"

#include <algorithm>
#include <cstring>
#include <utility>

// Windows BMP: 4- and 8-bit palettized, 24- and 32-bit true colour, rows bottom-up or top-down.

namespace
{
constexpr uint32_t FILE_HEADER_BYTES = 14;
// The info header fields read here are those of its 40-byte form.
constexpr uint32_t MIN_INFO_HEADER_BYTES = 40;
} // namespace

bool ReadBmpImage(BinaryStream& kStream, NiRawImageData& kTarget)
{
    ImageFileBytes kBytes;
    if (!kBytes.ReadAll(kStream))
        return false;
    const uint8_t ucB = kBytes.ReadU8();
    const uint8_t ucM = kBytes.ReadU8();
    kBytes.ReadU32LE(); // file size
    kBytes.ReadU32LE(); // reserved
    const uint32_t uiDataOffset = kBytes.ReadU32LE();
    const uint32_t uiInfoSize = kBytes.ReadU32LE();
    const int32_t iWidth = static_cast<int32_t>(kBytes.ReadU32LE());
    const int32_t iHeight = static_cast<int32_t>(kBytes.ReadU32LE());
    kBytes.ReadU16LE(); // planes
    const uint16_t usBits = kBytes.ReadU16LE();
    const uint32_t uiCompression = kBytes.ReadU32LE();
    kBytes.ReadU32LE(); // image size: the rows are measured from width and depth instead
    kBytes.ReadU32LE(); // resolutions
    kBytes.ReadU32LE();
    uint32_t uiColorsUsed = kBytes.ReadU32LE();
    kBytes.ReadU32LE(); // colours important
    if (!kBytes.IsGood() || ucB != 'B' || ucM != 'M' || uiInfoSize < MIN_INFO_HEADER_BYTES)
        return false;

    NiRawImageData::Format eFormat;
    switch (usBits)
    {
    case 4:
    case 8:
        eFormat = NiRawImageData::FORMAT_PALETTIZED;
        if (!uiColorsUsed)
            uiColorsUsed = usBits == 4 ? 16 : 256;
        break;
    case 24:
        eFormat = NiRawImageData::FORMAT_RGB;
        break;
    case 32:
        if (uiCompression != 0 && uiCompression != 3)
            return false;
        eFormat = NiRawImageData::FORMAT_RGBA;
        break;
    default:
        return false;
    }
    const bool bBottomFirst = iHeight > 0;
    const uint64_t uiHeight = bBottomFirst ? uint64_t(iHeight) : uint64_t(-int64_t(iHeight));
    if (iWidth <= 0 || uiHeight == 0 || uiHeight > UINT32_MAX)
        return false;
    const uint32_t uiWidth = static_cast<uint32_t>(iWidth);

    // The colour table follows the info header, whatever its size.
    if (!kBytes.SeekTo(uint64_t(FILE_HEADER_BYTES) + uiInfoSize))
        return false;
    const bool bPalettized = eFormat == NiRawImageData::FORMAT_PALETTIZED;
    const uint32_t uiTableEntries = bPalettized ? std::min(uiColorsUsed, NiRawImageData::PALETTE_ENTRIES) : 0;
    const uint64_t uiTableBytes = uint64_t(uiColorsUsed) * 4;
    const size_t uiTableStart = kBytes.GetPosition();
    if (!kBytes.Skip(uiTableBytes))
        return false;
    if (uiDataOffset > kBytes.GetPosition() && !kBytes.SeekTo(uiDataOffset))
        return false;

    const uint64_t uiRowBytes = (uint64_t(uiWidth) * usBits + 7) / 8;
    const uint64_t uiPaddedRow = (uiRowBytes + 3) & ~uint64_t(3);
    // Compared by division: the product of two file values may not fit 64 bits.
    if (uiPaddedRow > kBytes.GetRemaining() / uiHeight)
        return false;
    if (!kTarget.Create(eFormat, uiWidth, static_cast<uint32_t>(uiHeight)))
        return false;

    if (bPalettized)
    {
        uint8_t* pucPalette = kTarget.GetPalette();
        std::memset(pucPalette, 0, NiRawImageData::PALETTE_BYTES);
        const uint8_t* pucTable = kBytes.At(uiTableStart);
        for (uint32_t i = 0; i < uiTableEntries; ++i)
        {
            pucPalette[4 * i + 0] = pucTable[4 * i + 2];
            pucPalette[4 * i + 1] = pucTable[4 * i + 1];
            pucPalette[4 * i + 2] = pucTable[4 * i + 0];
            pucPalette[4 * i + 3] = pucTable[4 * i + 3];
        }
    }

    const uint32_t uiRowStride = kTarget.GetRowStride();
    for (uint64_t uiFileRow = 0; uiFileRow < uiHeight; ++uiFileRow)
    {
        const uint64_t uiRow = bBottomFirst ? uiHeight - 1 - uiFileRow : uiFileRow;
        uint8_t* pucRow = kTarget.GetPixels() + uiRow * uiRowStride;
        const uint8_t* pucSource = kBytes.At(kBytes.GetPosition());
        if (usBits == 4)
        {
            for (uint32_t x = 0; x < uiWidth; ++x)
                pucRow[x] = (x & 1) ? (pucSource[x / 2] & 15) : (pucSource[x / 2] >> 4);
        }
        else
        {
            std::memcpy(pucRow, pucSource, uiRowStride);
            if (!bPalettized)
            {
                const uint32_t uiStride = kTarget.GetPixelStride();
                for (uint8_t* pucPixel = pucRow; pucPixel < pucRow + uiRowStride; pucPixel += uiStride)
                    std::swap(pucPixel[0], pucPixel[2]);
            }
        }
        kBytes.Skip(uiPaddedRow);
    }
    return true;
}
