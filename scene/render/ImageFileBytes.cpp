#include "scene/render/ImageFileBytes.h"

#include "scene/object/BinaryStream.h"

#include <cstring>

bool ImageFileBytes::ReadAll(BinaryStream& kStream)
{
    m_kBytes.clear();
    m_uiPosition = 0;
    m_bGood = true;
    constexpr uint32_t CHUNK = 65536;
    for (;;)
    {
        const size_t uiOld = m_kBytes.size();
        if (uiOld + CHUNK > MAX_FILE_BYTES)
            return false;
        m_kBytes.resize(uiOld + CHUNK);
        const uint32_t uiRead = kStream.Read(m_kBytes.data() + uiOld, CHUNK);
        m_kBytes.resize(uiOld + uiRead);
        if (uiRead < CHUNK)
            return true;
    }
}

uint8_t ImageFileBytes::ReadU8()
{
    if (m_uiPosition >= m_kBytes.size())
    {
        m_bGood = false;
        return 0;
    }
    return m_kBytes[m_uiPosition++];
}

uint16_t ImageFileBytes::ReadU16LE()
{
    const uint16_t usLow = ReadU8();
    return static_cast<uint16_t>(usLow | (ReadU8() << 8));
}

uint32_t ImageFileBytes::ReadU32LE()
{
    const uint32_t uiLow = ReadU16LE();
    return uiLow | (uint32_t(ReadU16LE()) << 16);
}

uint16_t ImageFileBytes::ReadU16BE()
{
    const uint16_t usHigh = ReadU8();
    return static_cast<uint16_t>((usHigh << 8) | ReadU8());
}

uint32_t ImageFileBytes::ReadU32BE()
{
    const uint32_t uiHigh = ReadU16BE();
    return (uiHigh << 16) | ReadU16BE();
}

bool ImageFileBytes::ReadBytes(uint8_t* pucDestination, uint64_t uiCount)
{
    if (uiCount > GetRemaining())
    {
        m_uiPosition = m_kBytes.size();
        m_bGood = false;
        return false;
    }
    if (uiCount)
        std::memcpy(pucDestination, m_kBytes.data() + m_uiPosition, uiCount);
    m_uiPosition += uiCount;
    return true;
}

bool ImageFileBytes::Skip(uint64_t uiCount)
{
    if (uiCount > GetRemaining())
    {
        m_uiPosition = m_kBytes.size();
        m_bGood = false;
        return false;
    }
    m_uiPosition += uiCount;
    return true;
}

bool ImageFileBytes::SeekTo(uint64_t uiPosition)
{
    if (uiPosition > m_kBytes.size())
    {
        m_uiPosition = m_kBytes.size();
        m_bGood = false;
        return false;
    }
    m_uiPosition = uiPosition;
    return true;
}
