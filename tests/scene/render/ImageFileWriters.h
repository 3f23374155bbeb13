#pragma once

#include "scene/object/NiRefPtr.h"
#include "scene/graph/NiRawImageData.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Small writers of TGA, BMP and SGI files for the reader tests and the readers' fuzz seeds. They
// write what the readers accept in the plainest way and leave the malformed cases to the tests.

namespace imagefiles
{
inline void PutU8(std::string& kOut, uint32_t uiValue)
{
    kOut.push_back(static_cast<char>(uiValue & 0xFF));
}
inline void PutU16LE(std::string& kOut, uint32_t uiValue)
{
    PutU8(kOut, uiValue);
    PutU8(kOut, uiValue >> 8);
}
inline void PutU32LE(std::string& kOut, uint32_t uiValue)
{
    PutU16LE(kOut, uiValue);
    PutU16LE(kOut, uiValue >> 16);
}
inline void PutU16BE(std::string& kOut, uint32_t uiValue)
{
    PutU8(kOut, uiValue >> 8);
    PutU8(kOut, uiValue);
}
inline void PutU32BE(std::string& kOut, uint32_t uiValue)
{
    PutU16BE(kOut, uiValue >> 16);
    PutU16BE(kOut, uiValue);
}

// The colour (red, green, blue, alpha) of pixel (x, y), row 0 at the top.
inline std::vector<uint8_t> PixelAt(const NiRawImageData& kImage, uint32_t x, uint32_t y)
{
    const uint8_t* pucPixel =
        kImage.GetPixels() + size_t(y) * kImage.GetRowStride() + size_t(x) * kImage.GetPixelStride();
    if (kImage.GetFormat() == NiRawImageData::FORMAT_PALETTIZED)
        pucPixel = kImage.GetPalette() + 4 * *pucPixel;
    const bool bAlpha = kImage.GetFormat() != NiRawImageData::FORMAT_RGB;
    return {pucPixel[0], pucPixel[1], pucPixel[2], bAlpha ? pucPixel[3] : uint8_t(255)};
}

// A TGA file of an RGB or RGBA image: type 2 (true colour), 10 (the same run-length encoded,
// with repeat packets for runs of equal pixels), 1 or 9 (colour-mapped, 8-bit indices into a map
// of the image's distinct colours, 24- or 32-bit entries) or 3 (grey from the red channel).
inline std::string MakeTga(const NiRawImageData& kImage, uint8_t ucType, bool bTopFirst = false)
{
    const bool bAlpha = kImage.GetFormat() == NiRawImageData::FORMAT_RGBA;
    const bool bMapped = ucType == 1 || ucType == 9;
    const bool bGrey = ucType == 3 || ucType == 11;
    const uint32_t uiWidth = kImage.GetWidth();
    const uint32_t uiHeight = kImage.GetHeight();
    std::map<std::vector<uint8_t>, uint32_t> kIndices;
    std::vector<std::vector<uint8_t>> kMap;
    if (bMapped)
    {
        for (uint32_t y = 0; y < uiHeight; ++y)
            for (uint32_t x = 0; x < uiWidth; ++x)
                if (kIndices.emplace(PixelAt(kImage, x, y), uint32_t(kMap.size())).second)
                    kMap.push_back(PixelAt(kImage, x, y));
    }
    const uint32_t uiColorBits = bAlpha ? 32 : 24;
    std::string kOut;
    PutU8(kOut, 0);
    PutU8(kOut, bMapped ? 1 : 0);
    PutU8(kOut, ucType);
    PutU16LE(kOut, 0);
    PutU16LE(kOut, uint32_t(kMap.size()));
    PutU8(kOut, bMapped ? uiColorBits : 0);
    PutU16LE(kOut, 0);
    PutU16LE(kOut, 0);
    PutU16LE(kOut, uiWidth);
    PutU16LE(kOut, uiHeight);
    PutU8(kOut, bMapped || bGrey ? 8 : uiColorBits);
    PutU8(kOut, bTopFirst ? 32 : 0);
    const auto PutColor = [&](const std::vector<uint8_t>& kColor)
    {
        PutU8(kOut, kColor[2]);
        PutU8(kOut, kColor[1]);
        PutU8(kOut, kColor[0]);
        if (bAlpha)
            PutU8(kOut, kColor[3]);
    };
    for (const auto& kColor : kMap)
        PutColor(kColor);

    std::vector<std::vector<uint8_t>> kPixels; // in file order
    for (uint32_t uiFileRow = 0; uiFileRow < uiHeight; ++uiFileRow)
        for (uint32_t x = 0; x < uiWidth; ++x)
            kPixels.push_back(PixelAt(kImage, x, bTopFirst ? uiFileRow : uiHeight - 1 - uiFileRow));
    const auto PutValue = [&](const std::vector<uint8_t>& kColor)
    {
        if (bMapped)
            PutU8(kOut, kIndices[kColor]);
        else if (bGrey)
            PutU8(kOut, kColor[0]);
        else
            PutColor(kColor);
    };
    if (ucType < 9)
    {
        for (const auto& kColor : kPixels)
            PutValue(kColor);
        return kOut;
    }
    // Run-length packets run across row ends: runs of equal pixels repeat, the rest are raw.
    for (size_t i = 0; i < kPixels.size();)
    {
        size_t uiRun = 1;
        while (i + uiRun < kPixels.size() && uiRun < 128 && kPixels[i + uiRun] == kPixels[i])
            ++uiRun;
        if (uiRun > 1)
        {
            PutU8(kOut, 128 | (uiRun - 1));
            PutValue(kPixels[i]);
            i += uiRun;
            continue;
        }
        size_t uiRaw = 1;
        while (i + uiRaw < kPixels.size() && uiRaw < 128 &&
               !(i + uiRaw + 1 < kPixels.size() && kPixels[i + uiRaw] == kPixels[i + uiRaw + 1]))
            ++uiRaw;
        PutU8(kOut, uiRaw - 1);
        for (size_t k = 0; k < uiRaw; ++k)
            PutValue(kPixels[i + k]);
        i += uiRaw;
    }
    return kOut;
}

// A BMP file: 24 or 32 bits from an RGB or RGBA image, 4 or 8 bits from a palettized one (its
// palette written in full: 16 or 256 entries). Negative heights store the rows top first.
inline std::string MakeBmp(const NiRawImageData& kImage, uint32_t uiBits, bool bTopFirst = false)
{
    const uint32_t uiWidth = kImage.GetWidth();
    const uint32_t uiHeight = kImage.GetHeight();
    const uint32_t uiColors = uiBits == 4 ? 16 : uiBits == 8 ? 256 : 0;
    const uint32_t uiRowBytes = (uiWidth * uiBits + 7) / 8;
    const uint32_t uiPadded = (uiRowBytes + 3) & ~3u;
    const uint32_t uiOffset = 54 + 4 * uiColors;
    std::string kOut = "BM";
    PutU32LE(kOut, uiOffset + uiPadded * uiHeight);
    PutU32LE(kOut, 0);
    PutU32LE(kOut, uiOffset);
    PutU32LE(kOut, 40);
    PutU32LE(kOut, uiWidth);
    PutU32LE(kOut, bTopFirst ? uint32_t(-int32_t(uiHeight)) : uiHeight);
    PutU16LE(kOut, 1);
    PutU16LE(kOut, uiBits);
    PutU32LE(kOut, 0);
    PutU32LE(kOut, 0);
    PutU32LE(kOut, 2835);
    PutU32LE(kOut, 2835);
    PutU32LE(kOut, uiColors);
    PutU32LE(kOut, 0);
    for (uint32_t i = 0; i < uiColors; ++i)
    {
        const uint8_t* pucEntry = kImage.GetPalette() + 4 * i;
        PutU8(kOut, pucEntry[2]);
        PutU8(kOut, pucEntry[1]);
        PutU8(kOut, pucEntry[0]);
        PutU8(kOut, pucEntry[3]);
    }
    for (uint32_t uiFileRow = 0; uiFileRow < uiHeight; ++uiFileRow)
    {
        const uint32_t y = bTopFirst ? uiFileRow : uiHeight - 1 - uiFileRow;
        const uint8_t* pucRow = kImage.GetPixels() + size_t(y) * kImage.GetRowStride();
        std::string kRow;
        for (uint32_t x = 0; x < uiWidth; ++x)
        {
            if (uiBits == 4)
            {
                if (x & 1)
                    kRow.back() = static_cast<char>(kRow.back() | (pucRow[x] & 15));
                else
                    PutU8(kRow, pucRow[x] << 4);
            }
            else if (uiBits == 8)
                PutU8(kRow, pucRow[x]);
            else
            {
                const std::vector<uint8_t> kColor = PixelAt(kImage, x, y);
                PutU8(kRow, kColor[2]);
                PutU8(kRow, kColor[1]);
                PutU8(kRow, kColor[0]);
                if (uiBits == 32)
                    PutU8(kRow, kColor[3]);
            }
        }
        kRow.resize(uiPadded, '\0');
        kOut += kRow;
    }
    return kOut;
}

// An SGI file of an RGB (3 channels) or RGBA (4 channels) image, verbatim or run-length encoded
// (one repeat packet per run of equal samples, literal packets otherwise).
inline std::string MakeSgi(const NiRawImageData& kImage, bool bRunLength, uint32_t uiChannels = 0)
{
    const uint32_t uiWidth = kImage.GetWidth();
    const uint32_t uiHeight = kImage.GetHeight();
    if (!uiChannels)
        uiChannels = kImage.GetFormat() == NiRawImageData::FORMAT_RGBA ? 4 : 3;
    std::string kOut;
    PutU16BE(kOut, 474);
    PutU8(kOut, bRunLength ? 1 : 0);
    PutU8(kOut, 1);
    PutU16BE(kOut, 3);
    PutU16BE(kOut, uiWidth);
    PutU16BE(kOut, uiHeight);
    PutU16BE(kOut, uiChannels);
    PutU32BE(kOut, 0);
    PutU32BE(kOut, 255);
    kOut.resize(512, '\0');
    // Channel c of file row y (bottom first); a grey file takes red, a two-channel one red and alpha.
    const auto Sample = [&](uint32_t c, uint32_t y, uint32_t x)
    {
        const uint32_t uiSource = uiChannels == 2 && c == 1 ? 3 : c;
        return PixelAt(kImage, x, uiHeight - 1 - y)[uiSource];
    };
    if (!bRunLength)
    {
        for (uint32_t c = 0; c < uiChannels; ++c)
            for (uint32_t y = 0; y < uiHeight; ++y)
                for (uint32_t x = 0; x < uiWidth; ++x)
                    PutU8(kOut, Sample(c, y, x));
        return kOut;
    }
    std::vector<std::string> kRows;
    for (uint32_t c = 0; c < uiChannels; ++c)
    {
        for (uint32_t y = 0; y < uiHeight; ++y)
        {
            std::string kRow;
            for (uint32_t x = 0; x < uiWidth;)
            {
                uint32_t uiRun = 1;
                while (x + uiRun < uiWidth && uiRun < 127 && Sample(c, y, x + uiRun) == Sample(c, y, x))
                    ++uiRun;
                if (uiRun > 1)
                {
                    PutU8(kRow, uiRun);
                    PutU8(kRow, Sample(c, y, x));
                }
                else
                {
                    PutU8(kRow, 128 | 1);
                    PutU8(kRow, Sample(c, y, x));
                }
                x += uiRun;
            }
            PutU8(kRow, 0);
            kRows.push_back(kRow);
        }
    }
    uint32_t uiStart = 512 + 8 * uint32_t(kRows.size());
    for (const auto& kRow : kRows)
    {
        PutU32BE(kOut, uiStart);
        uiStart += uint32_t(kRow.size());
    }
    for (const auto& kRow : kRows)
        PutU32BE(kOut, uint32_t(kRow.size()));
    for (const auto& kRow : kRows)
        kOut += kRow;
    return kOut;
}
} // namespace imagefiles
