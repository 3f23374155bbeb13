#include "scene/render/ImageFileBytes.h"
#include "scene/render/LoadImageFile.h"
#include "scene/graph/NiRawImageData.h"

#include <array>
#include <cstring>
#include <vector>

// Truevision TGA: colour-mapped, true-colour and grey images, plain or run-length encoded.

namespace
{
constexpr uint32_t COLOR_TABLE_SIZE = 16384;
// First index plus map length may not pass this.
constexpr uint32_t MAX_MAP_END = 16382;

using Color = std::array<uint8_t, 4>; // red, green, blue, alpha

bool IsAcceptedDepth(uint32_t uiBits)
{
    return uiBits == 8 || uiBits == 15 || uiBits == 16 || uiBits == 24 || uiBits == 32;
}

// A map entry or a true-colour / grey pixel of the given depth.
Color DecodeColor(const uint8_t* pucValue, uint32_t uiBits)
{
    switch (uiBits)
    {
    case 8:
        return {pucValue[0], pucValue[0], pucValue[0], 255};
    case 15:
    case 16:
    {
        const uint32_t uiWord = pucValue[0] | (pucValue[1] << 8);
        return {uint8_t(((uiWord >> 10) & 31) << 3), uint8_t(((uiWord >> 5) & 31) << 3),
                uint8_t((uiWord & 31) << 3), 255};
    }
    case 24:
        return {pucValue[2], pucValue[1], pucValue[0], 255};
    default:
        return {pucValue[2], pucValue[1], pucValue[0], pucValue[3]};
    }
}

struct TgaHeader
{
    uint8_t m_ucIdLength = 0;
    uint8_t m_ucMapType = 0;
    uint8_t m_ucImageType = 0;
    uint16_t m_usMapFirst = 0;
    uint16_t m_usMapLength = 0;
    uint8_t m_ucMapEntryBits = 0;
    uint16_t m_usWidth = 0;
    uint16_t m_usHeight = 0;
    uint8_t m_ucPixelBits = 0;
    uint8_t m_ucDescriptor = 0;

    bool IsColorMapped() const { return m_ucImageType == 1 || m_ucImageType == 9; }
    bool IsRunLength() const { return m_ucImageType >= 9; }
};

bool ReadHeader(ImageFileBytes& kBytes, TgaHeader& kHeader)
{
    kHeader.m_ucIdLength = kBytes.ReadU8();
    kHeader.m_ucMapType = kBytes.ReadU8();
    kHeader.m_ucImageType = kBytes.ReadU8();
    kHeader.m_usMapFirst = kBytes.ReadU16LE();
    kHeader.m_usMapLength = kBytes.ReadU16LE();
    kHeader.m_ucMapEntryBits = kBytes.ReadU8();
    kBytes.ReadU16LE(); // x origin
    kBytes.ReadU16LE(); // y origin
    kHeader.m_usWidth = kBytes.ReadU16LE();
    kHeader.m_usHeight = kBytes.ReadU16LE();
    kHeader.m_ucPixelBits = kBytes.ReadU8();
    kHeader.m_ucDescriptor = kBytes.ReadU8();
    if (!kBytes.IsGood())
        return false;

    const uint8_t ucType = kHeader.m_ucImageType;
    if (!(ucType >= 1 && ucType <= 3) && !(ucType >= 9 && ucType <= 11))
        return false;
    if (uint32_t(kHeader.m_usMapFirst) + kHeader.m_usMapLength > MAX_MAP_END)
        return false;
    if (kHeader.IsColorMapped())
    {
        // A mapped pixel is an index of one or two bytes.
        if (kHeader.m_ucMapType != 1 || !IsAcceptedDepth(kHeader.m_ucMapEntryBits))
            return false;
        if (kHeader.m_ucPixelBits != 8 && kHeader.m_ucPixelBits != 15 && kHeader.m_ucPixelBits != 16)
            return false;
    }
    else if (!IsAcceptedDepth(kHeader.m_ucPixelBits))
    {
        return false;
    }
    return kHeader.m_usWidth && kHeader.m_usHeight;
}

// Reads the colour map; a map in an image that is not colour-mapped is read past and not used.
// Entries the map does not fill stay marked unused.
bool ReadColorMap(ImageFileBytes& kBytes, const TgaHeader& kHeader, std::vector<Color>& kTable)
{
    if (!kHeader.m_ucMapType)
        return true;
    const uint32_t uiEntryBytes = (kHeader.m_ucMapEntryBits + 7u) / 8u;
    if (!kHeader.IsColorMapped())
        return kBytes.Skip(uint64_t(uiEntryBytes) * kHeader.m_usMapLength);
    kTable.assign(COLOR_TABLE_SIZE, Color{});
    uint8_t aucEntry[4] = {};
    for (uint32_t i = 0; i < kHeader.m_usMapLength; ++i)
    {
        if (!kBytes.ReadBytes(aucEntry, uiEntryBytes))
            return false;
        kTable[kHeader.m_usMapFirst + i] = DecodeColor(aucEntry, kHeader.m_ucMapEntryBits);
    }
    return true;
}

// Pixels in file order, decoding run-length packets across row ends.
class PixelSource
{
public:
    PixelSource(ImageFileBytes& kBytes, const TgaHeader& kHeader, const std::vector<Color>& kTable)
        : m_kBytes(kBytes), m_kHeader(kHeader), m_kTable(kTable),
          m_uiValueBytes((kHeader.m_ucPixelBits + 7u) / 8u)
    {
    }

    // The next pixel's colour; false when the file ends or an index lies outside the map.
    bool Next(Color& kColor)
    {
        if (m_kHeader.IsRunLength())
        {
            if (!m_uiPacketLeft)
            {
                const uint8_t ucPacket = m_kBytes.ReadU8();
                m_uiPacketLeft = (ucPacket & 127u) + 1;
                m_bRepeat = (ucPacket & 128u) != 0;
                if (m_bRepeat && !ReadValue(m_kRepeated))
                    return false;
            }
            --m_uiPacketLeft;
            if (m_bRepeat)
            {
                kColor = m_kRepeated;
                return m_kBytes.IsGood();
            }
        }
        return ReadValue(kColor);
    }

private:
    bool ReadValue(Color& kColor)
    {
        uint8_t aucValue[4] = {};
        if (!m_kBytes.ReadBytes(aucValue, m_uiValueBytes))
            return false;
        if (!m_kHeader.IsColorMapped())
        {
            kColor = DecodeColor(aucValue, m_kHeader.m_ucPixelBits);
            return true;
        }
        // Indices address the table directly; one the map did not fill has no colour.
        const uint32_t uiIndex = m_uiValueBytes == 1 ? aucValue[0] : (aucValue[0] | (aucValue[1] << 8));
        if (uiIndex < m_kHeader.m_usMapFirst ||
            uiIndex >= uint32_t(m_kHeader.m_usMapFirst) + m_kHeader.m_usMapLength)
            return false;
        kColor = m_kTable[uiIndex];
        return true;
    }

    ImageFileBytes& m_kBytes;
    const TgaHeader& m_kHeader;
    const std::vector<Color>& m_kTable;
    const uint32_t m_uiValueBytes;
    uint32_t m_uiPacketLeft = 0;
    bool m_bRepeat = false;
    Color m_kRepeated{};
};

// The pixel data must be able to cover the image: every pixel stored once, or one packet of
// at most 128 pixels per header byte and value.
bool FileCanHoldPixels(const ImageFileBytes& kBytes, const TgaHeader& kHeader)
{
    const uint64_t uiPixels = uint64_t(kHeader.m_usWidth) * kHeader.m_usHeight;
    const uint64_t uiValueBytes = (kHeader.m_ucPixelBits + 7u) / 8u;
    const uint64_t uiNeeded =
        kHeader.IsRunLength() ? (uiPixels + 127) / 128 * (1 + uiValueBytes) : uiPixels * uiValueBytes;
    return uiNeeded <= kBytes.GetRemaining();
}
} // namespace

bool ReadTgaImage(BinaryStream& kStream, NiRawImageData& kTarget)
{
    ImageFileBytes kBytes;
    TgaHeader kHeader;
    if (!kBytes.ReadAll(kStream) || !ReadHeader(kBytes, kHeader))
        return false;
    if (!kBytes.Skip(kHeader.m_ucIdLength))
        return false;
    std::vector<Color> kTable;
    if (!ReadColorMap(kBytes, kHeader, kTable) || !FileCanHoldPixels(kBytes, kHeader))
        return false;

    const uint32_t uiAlphaBits = kHeader.IsColorMapped() ? kHeader.m_ucMapEntryBits : kHeader.m_ucPixelBits;
    const auto eFormat = uiAlphaBits == 32 ? NiRawImageData::FORMAT_RGBA : NiRawImageData::FORMAT_RGB;
    const uint32_t uiWidth = kHeader.m_usWidth;
    const uint32_t uiHeight = kHeader.m_usHeight;
    if (!kTarget.Create(eFormat, uiWidth, uiHeight))
        return false;

    const bool bTopFirst = (kHeader.m_ucDescriptor & 32u) != 0;
    const uint32_t uiInterleave = (kHeader.m_ucDescriptor >> 6) & 3u;
    // Two-way and four-way interleaving; the undefined value reads as none.
    const uint32_t uiStep = uiInterleave == 1 ? 2 : uiInterleave == 2 ? 4 : 1;
    const uint32_t uiStride = kTarget.GetPixelStride();
    PixelSource kSource(kBytes, kHeader, kTable);
    uint32_t uiRowCounter = 0;
    uint32_t uiPass = 0;
    for (uint32_t uiFileRow = 0; uiFileRow < uiHeight; ++uiFileRow)
    {
        const uint32_t uiRow = bTopFirst ? uiRowCounter : uiHeight - 1 - uiRowCounter;
        uint8_t* pucPixel = kTarget.GetPixels() + size_t(uiRow) * kTarget.GetRowStride();
        for (uint32_t x = 0; x < uiWidth; ++x, pucPixel += uiStride)
        {
            Color kColor;
            if (!kSource.Next(kColor))
                return false;
            std::memcpy(pucPixel, kColor.data(), uiStride);
        }
        uiRowCounter += uiStep;
        if (uiRowCounter >= uiHeight)
        {
            uiRowCounter = ++uiPass;
            if (uiRowCounter >= uiHeight)
                break;
        }
    }
    return true;
}
