#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class BinaryStream;

// The bytes of an image file held in memory, read through a cursor that never passes the end.
// The readers take the whole file first so that every size a header claims can be checked
// against what the file really holds before anything is allocated for it. A read past the end
// yields zeros and clears the good state; readers test it once per step.
class ImageFileBytes
{
public:
    // The largest file the readers take; far above any picture the raw images can hold.
    static constexpr uint64_t MAX_FILE_BYTES = uint64_t(1) << 30;

    // Reads the stream to its end; false when it holds more than MAX_FILE_BYTES.
    bool ReadAll(BinaryStream& kStream);
    void Assign(const uint8_t* pucData, size_t uiSize) { m_kBytes.assign(pucData, pucData + uiSize); }

    bool IsGood() const { return m_bGood; }
    size_t GetPosition() const { return m_uiPosition; }
    size_t GetSize() const { return m_kBytes.size(); }
    uint64_t GetRemaining() const { return m_kBytes.size() - m_uiPosition; }
    // The bytes from a position on; null when the position lies beyond the end.
    const uint8_t* At(size_t uiPosition) const
    {
        return uiPosition <= m_kBytes.size() ? m_kBytes.data() + uiPosition : nullptr;
    }

    uint8_t ReadU8();
    uint16_t ReadU16LE();
    uint32_t ReadU32LE();
    uint16_t ReadU16BE();
    uint32_t ReadU32BE();
    // Copies bytes out; false (and not good) when fewer remain.
    bool ReadBytes(uint8_t* pucDestination, uint64_t uiCount);
    // Moves on by a count, or to an absolute position; false past the end.
    bool Skip(uint64_t uiCount);
    bool SeekTo(uint64_t uiPosition);

private:
    std::vector<uint8_t> m_kBytes;
    size_t m_uiPosition = 0;
    bool m_bGood = true;
};
