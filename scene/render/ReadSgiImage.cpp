#include "scene/render/ImageFileBytes.h"
#include "scene/render/LoadImageFile.h"
#include "scene/graph/NiRawImageData.h"

#include <algorithm>
#include <cstring>
#include <vector>

// SGI images: planes of big-endian samples, rows bottom-up, verbatim or run-length encoded.

namespace
{
constexpr uint16_t SGI_MAGIC = 474;
constexpr uint32_t PIXEL_DATA_START = 512;

struct SgiHeader
{
    uint8_t m_ucStorage = 0;
    uint8_t m_ucBytesPerChannel = 0;
    uint32_t m_uiWidth = 0;
    uint32_t m_uiHeight = 0;
    uint32_t m_uiChannels = 0;
};

bool ReadHeader(ImageFileBytes& kBytes, SgiHeader& kHeader)
{
    if (kBytes.ReadU16BE() != SGI_MAGIC || !kBytes.IsGood())
        return false;
    kHeader.m_ucStorage = kBytes.ReadU8();
    if (kHeader.m_ucStorage > 1 || !kBytes.IsGood())
        return false;
    kHeader.m_ucBytesPerChannel = kBytes.ReadU8();
    kBytes.ReadU16BE(); // dimension
    kHeader.m_uiWidth = kBytes.ReadU16BE();
    kHeader.m_uiHeight = kBytes.ReadU16BE();
    kHeader.m_uiChannels = kBytes.ReadU16BE();
    if (kHeader.m_ucBytesPerChannel != 1 && kHeader.m_ucBytesPerChannel != 2)
        return false;
    if (kHeader.m_ucStorage == 1 && kHeader.m_ucBytesPerChannel != 1)
        return false;
    // Everything up to the pixel data (minimum, maximum, name, colour map id) is not used.
    return kBytes.SeekTo(PIXEL_DATA_START) && kHeader.m_uiWidth && kHeader.m_uiHeight && kHeader.m_uiChannels;
}

// Where image channel c (red, green, blue, alpha) comes from in the file's channels.
uint32_t SourceChannel(uint32_t uiChannel, uint32_t uiFileChannels)
{
    if (uiChannel == 3)
        return uiFileChannels == 2 ? 1 : 3;
    return uiFileChannels < 3 ? 0 : uiChannel;
}

// Expands one run-length encoded row into 8-bit samples; a row whose packets run past its width
// or its bytes stops there, leaving the rest of the row zero.
void DecodeRow(const ImageFileBytes& kBytes, uint64_t uiStart, uint64_t uiLength, uint8_t* pucSamples,
               uint32_t uiWidth)
{
    const uint64_t uiEnd = uiStart + uiLength;
    const uint8_t* pucData = kBytes.At(0);
    uint32_t x = 0;
    for (uint64_t uiAt = uiStart; uiAt < uiEnd && x < uiWidth;)
    {
        const uint8_t ucCount = pucData[uiAt++];
        const uint32_t uiCount = ucCount & 127u;
        if (!uiCount)
            return;
        if (ucCount & 128u)
        {
            for (uint32_t i = 0; i < uiCount && uiAt < uiEnd && x < uiWidth; ++i)
                pucSamples[x++] = pucData[uiAt++];
        }
        else
        {
            if (uiAt >= uiEnd)
                return;
            const uint8_t ucValue = pucData[uiAt++];
            for (uint32_t i = 0; i < uiCount && x < uiWidth; ++i)
                pucSamples[x++] = ucValue;
        }
    }
}

// The planes as 8-bit samples: plane c, row y (bottom first) starts at (c x height + y) x width.
bool ReadPlanes(ImageFileBytes& kBytes, const SgiHeader& kHeader, uint32_t uiPlanes,
                std::vector<uint8_t>& kPlanes)
{
    const uint64_t uiRows = uint64_t(kHeader.m_uiHeight) * kHeader.m_uiChannels;
    const uint64_t uiPlaneBytes = uint64_t(kHeader.m_uiWidth) * kHeader.m_uiHeight;
    if (kHeader.m_ucStorage == 0)
    {
        const uint64_t uiSampleBytes = kHeader.m_ucBytesPerChannel;
        if (uiRows * kHeader.m_uiWidth * uiSampleBytes > kBytes.GetRemaining())
            return false;
        kPlanes.resize(uiPlaneBytes * uiPlanes);
        // Two-byte samples keep their high byte.
        const uint8_t* pucData = kBytes.At(kBytes.GetPosition());
        for (uint64_t i = 0; i < kPlanes.size(); ++i)
            kPlanes[i] = pucData[i * uiSampleBytes];
        return true;
    }

    // Two tables of row starts and row lengths; each row is read where its start points.
    if (uiRows * 8 > kBytes.GetRemaining())
        return false;
    const uint64_t uiTables = kBytes.GetPosition();
    const uint64_t uiDataStart = uiTables + uiRows * 8;
    kPlanes.assign(uiPlaneBytes * uiPlanes, 0);
    for (uint32_t c = 0; c < uiPlanes; ++c)
    {
        for (uint32_t y = 0; y < kHeader.m_uiHeight; ++y)
        {
            const uint64_t uiEntry = uint64_t(c) * kHeader.m_uiHeight + y;
            kBytes.SeekTo(uiTables + 4 * uiEntry);
            const uint32_t uiStart = kBytes.ReadU32BE();
            kBytes.SeekTo(uiTables + 4 * (uiRows + uiEntry));
            const uint32_t uiLength = kBytes.ReadU32BE();
            // A row's bytes lie after the tables and within the file (rows may share bytes).
            if (uiStart < uiDataStart || uint64_t(uiStart) + uiLength > kBytes.GetSize())
                return false;
            DecodeRow(kBytes, uiStart, uiLength, kPlanes.data() + (uiEntry * kHeader.m_uiWidth),
                      kHeader.m_uiWidth);
        }
    }
    return true;
}
} // namespace

bool ReadSgiImage(BinaryStream& kStream, NiRawImageData& kTarget)
{
    ImageFileBytes kBytes;
    SgiHeader kHeader;
    if (!kBytes.ReadAll(kStream) || !ReadHeader(kBytes, kHeader))
        return false;
    const uint32_t uiChannels = kHeader.m_uiChannels;
    const bool bAlpha = uiChannels == 2 || uiChannels >= 4;
    // Only the planes that give colour or alpha are kept.
    const uint32_t uiPlanes = std::min(uiChannels, 4u);
    const auto eFormat = bAlpha ? NiRawImageData::FORMAT_RGBA : NiRawImageData::FORMAT_RGB;
    // Within the raw image's limits before anything is expanded (the planes are no larger).
    uint64_t uiImageBytes = 0;
    if (!NiRawImageData::ComputePixelBytes(eFormat, kHeader.m_uiWidth, kHeader.m_uiHeight, uiImageBytes))
        return false;
    std::vector<uint8_t> kPlanes;
    if (!ReadPlanes(kBytes, kHeader, uiPlanes, kPlanes))
        return false;

    if (!kTarget.Create(eFormat, kHeader.m_uiWidth, kHeader.m_uiHeight))
        return false;
    const uint32_t uiStride = kTarget.GetPixelStride();
    const uint32_t uiWidth = kHeader.m_uiWidth;
    const uint32_t uiHeight = kHeader.m_uiHeight;
    const uint64_t uiPlaneBytes = uint64_t(uiWidth) * uiHeight;
    for (uint32_t c = 0; c < uiStride; ++c)
    {
        const uint8_t* pucPlane = kPlanes.data() + SourceChannel(c, uiChannels) * uiPlaneBytes;
        for (uint32_t y = 0; y < uiHeight; ++y)
        {
            const uint8_t* pucSource = pucPlane + uint64_t(y) * uiWidth;
            uint8_t* pucRow = kTarget.GetPixels() + uint64_t(uiHeight - 1 - y) * kTarget.GetRowStride();
            for (uint32_t x = 0; x < uiWidth; ++x)
                pucRow[x * uiStride + c] = pucSource[x];
        }
    }
    return true;
}
