#include "core/SKScreenshotWriters.h"

#include <cstring>
#include <memory>
#include <new>

#include "core/SKReplacingFile.h"

namespace
{

void PutU16(uint8_t* pDest, uint32_t uiValue)
{
    pDest[0] = static_cast<uint8_t>(uiValue);
    pDest[1] = static_cast<uint8_t>(uiValue >> 8);
}

void PutU32(uint8_t* pDest, uint32_t uiValue)
{
    PutU16(pDest, uiValue);
    PutU16(pDest + 2, uiValue >> 16);
}

// Converts the whole image (top row first) into rows of uiRowBytes; null when the buffer cannot be
// allocated or the conversion fails, with bAllocated telling the two apart.
std::unique_ptr<uint8_t[]> ConvertImage(const SKScreenshotImage& kImage,
                                        const SKScreenshotImage::Layout& kLayout, size_t uiRowBytes,
                                        bool& bAllocated)
{
    size_t uiSize = uiRowBytes * kImage.GetHeight();
    std::unique_ptr<uint8_t[]> pBuffer(new (std::nothrow) uint8_t[uiSize > 0 ? uiSize : 1]());
    bAllocated = pBuffer != nullptr;
    if (!pBuffer || !kImage.ConvertTo(kLayout, static_cast<uint32_t>(uiRowBytes), pBuffer.get()))
        return nullptr;
    return pBuffer;
}

bool WriteRowsBottomFirst(SKReplacingFile& kFile, const uint8_t* pRows, size_t uiRowBytes, uint32_t uiHeight)
{
    for (uint32_t uiRow = uiHeight; uiRow-- > 0;)
    {
        if (!kFile.Write(pRows + uiRow * uiRowBytes, uiRowBytes))
            return false;
    }
    return true;
}

// The path the writers take when no conversion buffer can be had: swap the channels of an RGB or
// RGBA image one pixel at a time.
bool WriteTGAPixelsDirect(SKReplacingFile& kFile, const SKScreenshotImage& kImage)
{
    SKScreenshotImage::Format eFormat = kImage.GetFormat();
    const uint8_t* pPixels = kImage.GetPixels();
    if ((eFormat != SKScreenshotImage::FORMAT_RGB && eFormat != SKScreenshotImage::FORMAT_RGBA) || !pPixels)
        return false;
    size_t uiChannels = eFormat == SKScreenshotImage::FORMAT_RGBA ? 4 : 3;
    for (uint32_t uiRow = kImage.GetHeight(); uiRow-- > 0;)
    {
        const uint8_t* pSource = pPixels + static_cast<size_t>(uiRow) * kImage.GetRowBytes();
        for (uint32_t uiX = 0; uiX < kImage.GetWidth(); ++uiX, pSource += uiChannels)
        {
            uint8_t aucPixel[4] = {pSource[2], pSource[1], pSource[0],
                                   uiChannels == 4 ? pSource[3] : uint8_t(0)};
            if (!kFile.Write(aucPixel, uiChannels))
                return false;
        }
    }
    return true;
}

} // namespace

bool SaveScreenshotTGA(const char* pcPath, const SKScreenshotImage* pkImage)
{
    if (!pcPath || !pkImage)
        return false;
    uint32_t uiWidth = pkImage->GetWidth();
    uint32_t uiHeight = pkImage->GetHeight();
    // The header holds 16-bit sizes; a larger image cannot be described.
    if (uiWidth > 0xFFFF || uiHeight > 0xFFFF)
        return false;
    bool bAlpha = pkImage->GetFormat() == SKScreenshotImage::FORMAT_RGBA;
    uint32_t uiDepth = bAlpha ? 32 : 24;

    SKReplacingFile kFile(pcPath);
    if (!kFile.IsOpen())
        return false;

    uint8_t aucHeader[18] = {};
    aucHeader[2] = 2;
    PutU16(aucHeader + 12, uiWidth);
    PutU16(aucHeader + 14, uiHeight);
    aucHeader[16] = static_cast<uint8_t>(uiDepth);
    if (!kFile.Write(aucHeader, sizeof(aucHeader)))
        return false;

    size_t uiRowBytes = static_cast<size_t>(uiWidth) * (uiDepth / 8);
    bool bAllocated = false;
    std::unique_ptr<uint8_t[]> pRows =
        ConvertImage(*pkImage, bAlpha ? SKScreenshotImage::LAYOUT_BGRA32 : SKScreenshotImage::LAYOUT_BGR24,
                     uiRowBytes, bAllocated);
    if (pRows)
    {
        if (!WriteRowsBottomFirst(kFile, pRows.get(), uiRowBytes, uiHeight))
            return false;
    }
    else if (bAllocated || !WriteTGAPixelsDirect(kFile, *pkImage))
    {
        return false;
    }

    static const char acSignature[18] = "TRUEVISION-XFILE.";
    uint8_t aucFooter[8 + sizeof(acSignature)] = {};
    std::memcpy(aucFooter + 8, acSignature, sizeof(acSignature));
    return kFile.Write(aucFooter, sizeof(aucFooter)) && kFile.Commit();
}

bool SaveScreenshotBMP(const char* pcPath, const SKScreenshotImage* pkImage)
{
    if (!pcPath || !pkImage)
        return false;
    uint32_t uiWidth = pkImage->GetWidth();
    uint32_t uiHeight = pkImage->GetHeight();
    size_t uiRowBytes = (static_cast<size_t>(uiWidth) * 3 + 3) & ~size_t(3);
    size_t uiImageSize = uiRowBytes * uiHeight;
    // Sizes are signed 32-bit fields in the header.
    if (uiWidth > 0x7FFFFFFF || uiHeight > 0x7FFFFFFF || uiImageSize > 0x7FFFFFFF - 54)
        return false;

    SKReplacingFile kFile(pcPath);
    if (!kFile.IsOpen())
        return false;

    uint8_t aucHeader[54] = {};
    aucHeader[0] = 'B';
    aucHeader[1] = 'M';
    PutU32(aucHeader + 2, static_cast<uint32_t>(54 + uiImageSize));
    PutU32(aucHeader + 10, 54);
    PutU32(aucHeader + 14, 40);
    PutU32(aucHeader + 18, uiWidth);
    PutU32(aucHeader + 22, uiHeight);
    PutU16(aucHeader + 26, 1);
    PutU16(aucHeader + 28, 24);
    PutU32(aucHeader + 34, static_cast<uint32_t>(uiImageSize));
    if (!kFile.Write(aucHeader, sizeof(aucHeader)))
        return false;

    bool bAllocated = false;
    std::unique_ptr<uint8_t[]> pRows =
        ConvertImage(*pkImage, SKScreenshotImage::LAYOUT_BGR24, uiRowBytes, bAllocated);
    return pRows && WriteRowsBottomFirst(kFile, pRows.get(), uiRowBytes, uiHeight) && kFile.Commit();
}
