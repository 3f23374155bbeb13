#include "scene/graph/NiRawImageData.h"

#include "scene/graph/NiPixelLayout.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <utility>

// Contents: construction and storage / copies and filters / ConvertTo / ConvertFrom / stream and
// viewer operations.

NiImplementRTTI(NiRawImageData, NiObject);
NiImplementCreateObject(NiRawImageData);

namespace
{
constexpr const char* FORMAT_NAMES[] = {"FORMAT_PALETTIZED", "FORMAT_RGB", "FORMAT_RGBA"};

// ((c >> loss) << shift) & mask for one channel; a shift past the word packs nothing.
uint32_t PackChannel(uint8_t ucValue, const NiPixelLayout& kLayout, uint32_t uiChannel)
{
    const uint32_t uiLoss = kLayout.m_aucLoss[uiChannel];
    const uint32_t uiShift = kLayout.m_aucShift[uiChannel];
    if (uiLoss >= 32 || uiShift >= 32)
        return 0;
    return ((uint32_t(ucValue) >> uiLoss) << uiShift) & kLayout.m_auiMask[uiChannel];
}

uint32_t PackColor(const uint8_t* pColor, const NiPixelLayout& kLayout)
{
    return PackChannel(pColor[0], kLayout, NiPixelLayout::RED) |
           PackChannel(pColor[1], kLayout, NiPixelLayout::GREEN) |
           PackChannel(pColor[2], kLayout, NiPixelLayout::BLUE);
}

// ((p & mask) >> shift) << loss, kept as a byte: a narrow channel lands in the high bits.
uint8_t UnpackChannel(uint32_t uiPixel, const NiPixelLayout& kLayout, uint32_t uiChannel)
{
    const uint32_t uiLoss = kLayout.m_aucLoss[uiChannel];
    const uint32_t uiShift = kLayout.m_aucShift[uiChannel];
    if (uiLoss >= 32 || uiShift >= 32)
        return 0;
    return static_cast<uint8_t>(((uiPixel & kLayout.m_auiMask[uiChannel]) >> uiShift) << uiLoss);
}

// Layout words are little-endian whatever the host is.
void PutWord(uint8_t* pDestination, uint32_t uiWord, uint32_t uiBytes)
{
    for (uint32_t i = 0; i < uiBytes; ++i)
        pDestination[i] = static_cast<uint8_t>(uiWord >> (8 * i));
}

uint32_t GetWord(const uint8_t* pSource, uint32_t uiBytes)
{
    uint32_t uiWord = 0;
    for (uint32_t i = 0; i < uiBytes; ++i)
        uiWord |= uint32_t(pSource[i]) << (8 * i);
    return uiWord;
}

uint8_t* RowAt(uint8_t* pBase, int32_t iPitch, uint32_t uiRow)
{
    return pBase + ptrdiff_t(iPitch) * ptrdiff_t(uiRow);
}

const uint8_t* RowAt(const uint8_t* pBase, int32_t iPitch, uint32_t uiRow)
{
    return pBase + ptrdiff_t(iPitch) * ptrdiff_t(uiRow);
}

// The byte order of a 24-bit layout: +1 for red, green, blue; -1 for blue, green, red; 0 when the
// layout has no conversion (its green mask must be 0xff00 and its red mask 0xff or 0xff0000).
int32_t Order24(const NiPixelLayout& kLayout)
{
    if (kLayout.m_auiMask[NiPixelLayout::GREEN] != 0xff00)
        return 0;
    if (kLayout.m_auiMask[NiPixelLayout::RED] == 0xff)
        return 1;
    if (kLayout.m_auiMask[NiPixelLayout::RED] == 0xff0000)
        return -1;
    return 0;
}

void Put24(uint8_t* pDestination, const uint8_t* pColor, int32_t iOrder)
{
    pDestination[0] = iOrder > 0 ? pColor[0] : pColor[2];
    pDestination[1] = pColor[1];
    pDestination[2] = iOrder > 0 ? pColor[2] : pColor[0];
}

bool SameBytes(const uint8_t* pA, const uint8_t* pB, size_t uiBytes)
{
    if (uiBytes == 0)
        return true;
    if (!pA || !pB)
        return pA == pB;
    return std::memcmp(pA, pB, uiBytes) == 0;
}
} // namespace

//--- Construction and storage -------------------------------------------------------------------

NiRawImageData::NiRawImageData() = default;

NiRawImageData::NiRawImageData(Format eFormat, uint32_t uiWidth, uint32_t uiHeight)
{
    Create(eFormat, uiWidth, uiHeight);
}

NiRawImageData::~NiRawImageData() = default;

bool NiRawImageData::IsValidFormat(int64_t iFormat)
{
    return iFormat >= FORMAT_PALETTIZED && iFormat <= FORMAT_RGBA;
}

uint32_t NiRawImageData::GetFormatPixelStride(int64_t iFormat)
{
    switch (iFormat)
    {
    case FORMAT_PALETTIZED:
        return 1;
    case FORMAT_RGB:
        return 3;
    case FORMAT_RGBA:
        return 4;
    default:
        return 0;
    }
}

bool NiRawImageData::ComputePixelBytes(int64_t iFormat, uint32_t uiWidth, uint32_t uiHeight,
                                       uint64_t& uiBytes)
{
    uiBytes = 0;
    const uint32_t uiStride = GetFormatPixelStride(iFormat);
    if (uiStride == 0)
        return false;
    // The row first: with a height of 0 a huge width would still overflow the row stride.
    const uint64_t uiRowBytes = uint64_t(uiWidth) * uiStride;
    if (uiRowBytes > MAX_PIXEL_BYTES)
        return false;
    const uint64_t uiTotal = uiRowBytes * uiHeight;
    if (uiTotal > MAX_PIXEL_BYTES)
        return false;
    uiBytes = uiTotal;
    return true;
}

bool NiRawImageData::Create(Format eFormat, uint32_t uiWidth, uint32_t uiHeight)
{
    // An unknown format must never look like an image with storage.
    if (!IsValidFormat(eFormat))
        return false;
    if (eFormat == m_eFormat && uiWidth == m_uiWidth && uiHeight == m_uiHeight &&
        (eFormat != FORMAT_PALETTIZED || m_pPal))
    {
        return true;
    }

    FreeStorage();
    m_eFormat = eFormat;
    m_uiWidth = m_uiHeight = m_uiPixelStride = m_uiRowStride = 0;

    uint64_t uiBytes = 0;
    if (!ComputePixelBytes(eFormat, uiWidth, uiHeight, uiBytes))
        return false;
    if (eFormat == FORMAT_PALETTIZED)
    {
        m_pPal.reset(new (std::nothrow) uint8_t[PALETTE_BYTES]());
        if (!m_pPal)
            return false;
    }
    if (!AllocatePixels(uiBytes))
    {
        m_pPal.reset();
        return false;
    }
    m_uiPixelStride = GetFormatPixelStride(eFormat);
    m_uiRowStride = uiWidth * m_uiPixelStride;
    m_uiWidth = uiWidth;
    m_uiHeight = uiHeight;
    return true;
}

bool NiRawImageData::ShrinkTo(uint32_t uiWidth, uint32_t uiHeight)
{
    if (uint64_t(uiWidth) * uiHeight > uint64_t(m_uiWidth) * m_uiHeight)
        return false;
    m_uiWidth = uiWidth;
    m_uiHeight = uiHeight;
    m_uiRowStride = uiWidth * m_uiPixelStride;
    return true;
}

void NiRawImageData::TakeFrom(NiRawImageData& kOther)
{
    if (&kOther == this)
        return;
    m_eFormat = kOther.m_eFormat;
    m_uiWidth = std::exchange(kOther.m_uiWidth, 0);
    m_uiHeight = std::exchange(kOther.m_uiHeight, 0);
    m_uiPixelStride = kOther.m_uiPixelStride;
    m_uiRowStride = std::exchange(kOther.m_uiRowStride, 0);
    m_pPal = std::move(kOther.m_pPal);
    m_pData = std::move(kOther.m_pData);
}

uint8_t* NiRawImageData::AllocatePixels(size_t uiBytes)
{
    m_pData.reset(uiBytes <= MAX_PIXEL_BYTES ? new (std::nothrow) uint8_t[uiBytes] : nullptr);
    return m_pData.get();
}

void NiRawImageData::FreePixels()
{
    m_pData.reset();
}

void NiRawImageData::FreeStorage()
{
    m_pPal.reset();
    m_pData.reset();
}

const uint8_t* NiRawImageData::ColorOf(const uint8_t* pPixel) const
{
    return m_eFormat == FORMAT_PALETTIZED ? m_pPal.get() + 4 * size_t(*pPixel) : pPixel;
}

//--- Copies and filters -------------------------------------------------------------------------

bool NiRawImageData::CopyFrom(const NiRawImageData* pkSource)
{
    if (!pkSource)
        return false;
    if (pkSource == this)
        return true;
    if (!Create(pkSource->m_eFormat, pkSource->m_uiWidth, pkSource->m_uiHeight))
        return false;
    if (m_eFormat == FORMAT_PALETTIZED && pkSource->m_pPal)
        std::memcpy(m_pPal.get(), pkSource->m_pPal.get(), PALETTE_BYTES);
    if (GetPixelByteCount())
        std::memcpy(m_pData.get(), pkSource->m_pData.get(), GetPixelByteCount());
    return true;
}

bool NiRawImageData::ResampleFrom(const NiRawImageData* pkSource, uint32_t uiWidth, uint32_t uiHeight)
{
    // A source without pixels has nothing to sample from.
    if (!pkSource || !uiWidth || !uiHeight || !pkSource->m_uiWidth || !pkSource->m_uiHeight)
        return false;
    if (pkSource == this)
    {
        // Create would free the pixels being sampled.
        NiRawImageData kCopy;
        return kCopy.CopyFrom(this) && ResampleFrom(&kCopy, uiWidth, uiHeight);
    }
    if (!Create(pkSource->m_eFormat, uiWidth, uiHeight))
        return false;
    if (m_eFormat == FORMAT_PALETTIZED)
        std::memcpy(m_pPal.get(), pkSource->m_pPal.get(), PALETTE_BYTES);

    const uint32_t uiStride = m_uiPixelStride;
    for (uint32_t i = 0; i < uiHeight; ++i)
    {
        const uint32_t uiSourceRow = static_cast<uint32_t>(uint64_t(i) * pkSource->m_uiHeight / uiHeight);
        const uint8_t* pSourceRow = pkSource->m_pData.get() + size_t(uiSourceRow) * pkSource->m_uiRowStride;
        uint8_t* pRow = m_pData.get() + size_t(i) * m_uiRowStride;
        for (uint32_t j = 0; j < uiWidth; ++j)
        {
            const uint32_t uiSourceColumn =
                static_cast<uint32_t>(uint64_t(j) * pkSource->m_uiWidth / uiWidth);
            std::memcpy(pRow + size_t(j) * uiStride, pSourceRow + size_t(uiSourceColumn) * uiStride,
                        uiStride);
        }
    }
    return true;
}

bool NiRawImageData::ReduceFrom(const NiRawImageData* pkSource)
{
    if (!pkSource)
        return false;
    const Format eSource = pkSource->m_eFormat;
    const bool bFormatsAgree = (eSource == m_eFormat && eSource != FORMAT_PALETTIZED) ||
                               (eSource == FORMAT_PALETTIZED && m_eFormat == FORMAT_RGB);
    if (!bFormatsAgree)
        return false;
    if (uint64_t(m_uiWidth) * 2 != pkSource->m_uiWidth || uint64_t(m_uiHeight) * 2 != pkSource->m_uiHeight)
        return false;

    const uint32_t uiChannels = m_uiPixelStride;
    const uint32_t uiSourceStride = pkSource->m_uiPixelStride;
    const size_t uiSourceRow = pkSource->m_uiRowStride;
    for (uint32_t y = 0; y < m_uiHeight; ++y)
    {
        const uint8_t* pTop = pkSource->m_pData.get() + size_t(2 * y) * uiSourceRow;
        uint8_t* pTarget = m_pData.get() + size_t(y) * m_uiRowStride;
        for (uint32_t x = 0; x < m_uiWidth; ++x, pTarget += uiChannels)
        {
            const uint8_t* pPixel = pTop + size_t(2 * x) * uiSourceStride;
            const uint8_t* apQuad[4] = {
                pkSource->ColorOf(pPixel),
                pkSource->ColorOf(pPixel + uiSourceStride),
                pkSource->ColorOf(pPixel + uiSourceRow),
                pkSource->ColorOf(pPixel + uiSourceRow + uiSourceStride),
            };
            for (uint32_t c = 0; c < uiChannels; ++c)
            {
                const uint32_t uiSum = apQuad[0][c] + apQuad[1][c] + apQuad[2][c] + apQuad[3][c];
                pTarget[c] = static_cast<uint8_t>(uiSum >> 2);
            }
        }
    }
    return true;
}

NiRawImageData* NiRawImageData::CreateFromColorAndAlpha(const NiRawImageData* pkColor,
                                                        const NiRawImageData* pkAlpha)
{
    if (!pkColor || !pkAlpha || pkColor->m_uiWidth != pkAlpha->m_uiWidth ||
        pkColor->m_uiHeight != pkAlpha->m_uiHeight)
    {
        return nullptr;
    }
    auto* pkImage = new NiRawImageData;
    if (!pkImage->Create(FORMAT_RGBA, pkColor->m_uiWidth, pkColor->m_uiHeight))
    {
        delete pkImage;
        return nullptr;
    }
    for (uint32_t y = 0; y < pkImage->m_uiHeight; ++y)
    {
        const uint8_t* pColor = pkColor->m_pData.get() + size_t(y) * pkColor->m_uiRowStride;
        const uint8_t* pAlpha = pkAlpha->m_pData.get() + size_t(y) * pkAlpha->m_uiRowStride;
        uint8_t* pTarget = pkImage->m_pData.get() + size_t(y) * pkImage->m_uiRowStride;
        for (uint32_t x = 0; x < pkImage->m_uiWidth; ++x)
        {
            std::memcpy(pTarget, pkColor->ColorOf(pColor), 3);
            pTarget[3] = pkAlpha->ColorOf(pAlpha)[0];
            pColor += pkColor->m_uiPixelStride;
            pAlpha += pkAlpha->m_uiPixelStride;
            pTarget += 4;
        }
    }
    return pkImage;
}

bool NiRawImageData::CreateColorKeyed(const NiRawImageData* pkSource, uint8_t ucRedMin, uint8_t ucRedMax,
                                      uint8_t ucGreenMin, uint8_t ucGreenMax, uint8_t ucBlueMin,
                                      uint8_t ucBlueMax, uint8_t ucAlphaInside, uint8_t ucAlphaOutside)
{
    if (!pkSource)
        return false;
    if (pkSource == this)
    {
        // Create would free the pixels being keyed.
        NiRawImageData kCopy;
        return kCopy.CopyFrom(this) && CreateColorKeyed(&kCopy, ucRedMin, ucRedMax, ucGreenMin, ucGreenMax,
                                                        ucBlueMin, ucBlueMax, ucAlphaInside, ucAlphaOutside);
    }
    if (!Create(FORMAT_RGBA, pkSource->m_uiWidth, pkSource->m_uiHeight))
        return false;
    for (uint32_t y = 0; y < m_uiHeight; ++y)
    {
        const uint8_t* pSource = pkSource->m_pData.get() + size_t(y) * pkSource->m_uiRowStride;
        uint8_t* pTarget = m_pData.get() + size_t(y) * m_uiRowStride;
        for (uint32_t x = 0; x < m_uiWidth; ++x, pSource += pkSource->m_uiPixelStride, pTarget += 4)
        {
            const uint8_t* pColor = pkSource->ColorOf(pSource);
            const bool bInside = pColor[0] >= ucRedMin && pColor[0] <= ucRedMax && pColor[1] >= ucGreenMin &&
                                 pColor[1] <= ucGreenMax && pColor[2] >= ucBlueMin && pColor[2] <= ucBlueMax;
            std::memcpy(pTarget, pColor, 3);
            pTarget[3] = bInside ? ucAlphaInside : ucAlphaOutside;
        }
    }
    return true;
}

bool NiRawImageData::CopyRegionFrom(const NiRawImageData* pkSource, uint32_t uiX, uint32_t uiY, float fAlpha)
{
    if (!pkSource || m_eFormat == FORMAT_PALETTIZED)
        return false;
    if (uiX >= pkSource->m_uiWidth || uiY >= pkSource->m_uiHeight)
        return false;

    const uint32_t uiWidth = std::min(pkSource->m_uiWidth - uiX, m_uiWidth);
    const uint32_t uiHeight = std::min(pkSource->m_uiHeight - uiY, m_uiHeight);
    // An alpha outside 0..1 saturates instead of wrapping round the byte.
    const double dAlpha = std::trunc(double(fAlpha) * 255.0);
    const uint8_t ucAlpha = dAlpha >= 255.0 ? 255 : (dAlpha > 0.0 ? static_cast<uint8_t>(dAlpha) : 0);

    const Format eSource = pkSource->m_eFormat;
    const uint32_t uiSourceStride = pkSource->m_uiPixelStride;
    for (uint32_t r = 0; r < uiHeight; ++r)
    {
        const uint8_t* pSource = pkSource->m_pData.get() + size_t(uiY + r) * pkSource->m_uiRowStride +
                                 size_t(uiX) * uiSourceStride;
        uint8_t* pTarget = m_pData.get() + size_t(r) * m_uiRowStride;
        if (eSource == m_eFormat)
        {
            // Source and target may be one image: the rows can overlap.
            std::memmove(pTarget, pSource, size_t(uiWidth) * m_uiPixelStride);
            continue;
        }
        for (uint32_t x = 0; x < uiWidth; ++x, pSource += uiSourceStride, pTarget += m_uiPixelStride)
        {
            std::memmove(pTarget, pkSource->ColorOf(pSource), 3);
            if (m_eFormat == FORMAT_RGBA)
                pTarget[3] = ucAlpha;
        }
    }
    return true;
}

//--- ConvertTo ----------------------------------------------------------------------------------

bool NiRawImageData::ConvertTo(const NiPixelLayout& kLayout, int32_t iPitch, uint8_t* pDestination) const
{
    if (!IsValidFormat(m_eFormat) || (!pDestination && GetPixelByteCount()))
        return false;
    const uint32_t uiBits = kLayout.m_ucBitsPerPixel;

    if (uiBits == 8)
    {
        if (m_eFormat != FORMAT_PALETTIZED || !kLayout.m_bPalettized)
            return false;
        for (uint32_t r = 0; r < m_uiHeight; ++r)
            std::memcpy(RowAt(pDestination, iPitch, r), m_pData.get() + size_t(r) * m_uiRowStride, m_uiWidth);
        return true;
    }

    if (uiBits == 24)
    {
        const int32_t iOrder = Order24(kLayout);
        if (iOrder == 0)
            return false;
        for (uint32_t r = 0; r < m_uiHeight; ++r)
        {
            const uint8_t* pSource = m_pData.get() + size_t(r) * m_uiRowStride;
            uint8_t* pTarget = RowAt(pDestination, iPitch, r);
            if (m_eFormat == FORMAT_RGB && iOrder > 0)
            {
                std::memcpy(pTarget, pSource, m_uiRowStride);
                continue;
            }
            for (uint32_t x = 0; x < m_uiWidth; ++x, pSource += m_uiPixelStride, pTarget += 3)
                Put24(pTarget, ColorOf(pSource), iOrder);
        }
        return true;
    }

    if (uiBits != 16 && uiBits != 32)
        return false;
    const uint32_t uiBytes = uiBits / 8;
    const uint32_t uiOpaque = PackChannel(0xff, kLayout, NiPixelLayout::ALPHA);
    // Palette index 0 is the transparent colour: always the all-zero pixel.
    uint32_t auiTable[PALETTE_ENTRIES] = {};
    if (m_eFormat == FORMAT_PALETTIZED && m_pPal)
    {
        for (uint32_t i = 1; i < PALETTE_ENTRIES; ++i)
            auiTable[i] = PackColor(m_pPal.get() + 4 * i, kLayout) | uiOpaque;
    }
    for (uint32_t r = 0; r < m_uiHeight; ++r)
    {
        const uint8_t* pSource = m_pData.get() + size_t(r) * m_uiRowStride;
        uint8_t* pTarget = RowAt(pDestination, iPitch, r);
        for (uint32_t x = 0; x < m_uiWidth; ++x, pSource += m_uiPixelStride, pTarget += uiBytes)
        {
            uint32_t uiWord = 0;
            if (m_eFormat == FORMAT_PALETTIZED)
                uiWord = auiTable[*pSource];
            else if (m_eFormat == FORMAT_RGB)
                uiWord = PackColor(pSource, kLayout) | uiOpaque;
            else
                uiWord = PackColor(pSource, kLayout) | PackChannel(pSource[3], kLayout, NiPixelLayout::ALPHA);
            PutWord(pTarget, uiWord, uiBytes);
        }
    }
    return true;
}

//--- ConvertFrom --------------------------------------------------------------------------------

bool NiRawImageData::ConvertFrom(const NiPixelLayout& kLayout, int32_t iPitch, uint32_t uiWidth,
                                 uint32_t uiHeight, const uint8_t* pSource)
{
    if (!pSource && uiWidth && uiHeight)
        return false;
    const uint32_t uiBits = kLayout.m_ucBitsPerPixel;

    if (uiBits == 8)
    {
        if (!kLayout.m_bPalettized || !Create(FORMAT_PALETTIZED, uiWidth, uiHeight))
            return false;
        for (uint32_t r = 0; r < uiHeight; ++r)
            std::memcpy(m_pData.get() + size_t(r) * m_uiRowStride, RowAt(pSource, iPitch, r), uiWidth);
        return true;
    }

    if (uiBits == 24)
    {
        if (kLayout.m_bPalettized || kLayout.m_auiMask[NiPixelLayout::ALPHA] != 0)
            return false;
        if (!Create(FORMAT_RGB, uiWidth, uiHeight))
            return false;
        const int32_t iOrder = Order24(kLayout);
        if (iOrder == 0)
            return false;
        for (uint32_t r = 0; r < uiHeight; ++r)
        {
            const uint8_t* pRow = RowAt(pSource, iPitch, r);
            uint8_t* pTarget = m_pData.get() + size_t(r) * m_uiRowStride;
            if (iOrder > 0)
            {
                std::memcpy(pTarget, pRow, m_uiRowStride);
                continue;
            }
            for (uint32_t x = 0; x < uiWidth; ++x, pRow += 3, pTarget += 3)
                Put24(pTarget, pRow, iOrder);
        }
        return true;
    }

    if ((uiBits != 16 && uiBits != 32) || kLayout.m_bPalettized)
        return false;
    const bool bAlpha = kLayout.m_auiMask[NiPixelLayout::ALPHA] != 0;
    if (!Create(bAlpha ? FORMAT_RGBA : FORMAT_RGB, uiWidth, uiHeight))
        return false;
    const uint32_t uiBytes = uiBits / 8;
    const uint32_t uiChannels = m_uiPixelStride;
    for (uint32_t r = 0; r < uiHeight; ++r)
    {
        const uint8_t* pRow = RowAt(pSource, iPitch, r);
        uint8_t* pTarget = m_pData.get() + size_t(r) * m_uiRowStride;
        for (uint32_t x = 0; x < uiWidth; ++x, pRow += uiBytes, pTarget += uiChannels)
        {
            const uint32_t uiWord = GetWord(pRow, uiBytes);
            for (uint32_t c = 0; c < uiChannels; ++c)
                pTarget[c] = UnpackChannel(uiWord, kLayout, c);
        }
    }
    return true;
}

//--- Stream and viewer operations ---------------------------------------------------------------

NiObject* NiRawImageData::MakeClone()
{
    return this;
}

void NiRawImageData::LoadBinary(NiStream& kStream)
{
    NiObject::LoadBinary(kStream);
    uint32_t uiWidth = 0;
    uint32_t uiHeight = 0;
    uint32_t uiFormat = 0;
    if (!kStream.Load(uiWidth) || !kStream.Load(uiHeight) || !kStream.Load(uiFormat))
        return;

    // The record must hold every byte its header promises before any storage is made for it.
    uint64_t uiPixelBytes = 0;
    if (!ComputePixelBytes(uiFormat, uiWidth, uiHeight, uiPixelBytes))
    {
        kStream.MarkLoadFailed();
        return;
    }
    const uint64_t uiPaletteBytes = uiFormat == FORMAT_PALETTIZED ? PALETTE_BYTES : 0;
    // Both at most MAX_PIXEL_BYTES: the sum cannot wrap.
    if (!kStream.RequireArray<uint8_t>(uiPaletteBytes + uiPixelBytes))
        return;
    if (!Create(static_cast<Format>(uiFormat), uiWidth, uiHeight))
    {
        kStream.MarkLoadFailed();
        return;
    }
    if (m_pPal)
        kStream.Read(m_pPal.get(), PALETTE_BYTES);
    kStream.Read(m_pData.get(), uiPixelBytes);
}

void NiRawImageData::SaveBinary(NiStream& kStream)
{
    NiObject::SaveBinary(kStream);
    kStream.Save(m_uiWidth);
    kStream.Save(m_uiHeight);
    kStream.Save(static_cast<uint32_t>(m_eFormat));
    if (m_eFormat == FORMAT_PALETTIZED)
    {
        // The record always carries a palette for this format, even for an image without storage.
        static const uint8_t s_aucNoPalette[PALETTE_BYTES] = {};
        kStream.Write(m_pPal ? m_pPal.get() : s_aucNoPalette, PALETTE_BYTES);
    }
    if (GetPixelByteCount())
        kStream.Write(m_pData.get(), GetPixelByteCount());
}

bool NiRawImageData::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiObject::IsEquivalent(pkObject))
        return false;
    const auto* pkOther = NiDynamicCast<NiRawImageData>(pkObject);
    if (!pkOther || m_uiWidth != pkOther->m_uiWidth || m_uiHeight != pkOther->m_uiHeight ||
        m_eFormat != pkOther->m_eFormat)
    {
        return false;
    }
    if (m_eFormat == FORMAT_PALETTIZED && !SameBytes(m_pPal.get(), pkOther->m_pPal.get(), PALETTE_BYTES))
        return false;
    return GetPixelByteCount() == pkOther->GetPixelByteCount() &&
           SameBytes(m_pData.get(), pkOther->m_pData.get(), GetPixelByteCount());
}

void NiRawImageData::AddFieldStrings(NiFieldStringList& kList) const
{
    NiObject::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiRawImageData"));
    kList.push_back(NiFieldString("m_eFormat", IsValidFormat(m_eFormat) ? FORMAT_NAMES[m_eFormat] : nullptr));
    kList.push_back(NiFieldString("m_uiWidth", m_uiWidth));
    kList.push_back(NiFieldString("m_uiHeight", m_uiHeight));
    kList.push_back(NiFieldString("m_uiPixelStride", m_uiPixelStride));
    kList.push_back(NiFieldString("m_uiRowStride", m_uiRowStride));
    kList.push_back(NiFieldString("m_pPal", static_cast<const void*>(m_pPal.get())));
    kList.push_back(NiFieldString("m_pData", static_cast<const void*>(m_pData.get())));
}
