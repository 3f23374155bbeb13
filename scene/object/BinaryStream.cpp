#include "scene/object/BinaryStream.h"

#include <cstring>
#include <limits>

BinaryStream::~BinaryStream() = default;

uint32_t BinaryStream::GetLine(char* pcBuffer, uint32_t uiSize)
{
    if (uiSize == 0 || pcBuffer == nullptr)
        return 0;
    uint32_t uiStored = 0;
    uint32_t uiConsumed = 0;
    while (uiStored + 1 < uiSize)
    {
        char cByte;
        if (Read(&cByte, 1) != 1)
            break;
        ++uiConsumed;
        if (cByte == '\n')
            break;
        pcBuffer[uiStored++] = cByte;
    }
    pcBuffer[uiStored] = '\0';
    return uiConsumed;
}

uint32_t BinaryStream::PutString(const char* pcText)
{
    if (pcText == nullptr)
        return 0;
    uint32_t uiWritten = 0;
    for (; pcText[uiWritten] != '\0'; ++uiWritten)
    {
        if (Write(&pcText[uiWritten], 1) != 1)
            break;
    }
    return uiWritten;
}

uint32_t BinaryStream::Read(BinaryStream& kStream, void* pvDestination, uint32_t uiBytes)
{
    return kStream.Read(pvDestination, uiBytes);
}

uint32_t BinaryStream::ReadDwords(BinaryStream& kStream, void* pvDestination, uint32_t uiCount)
{
    const uint64_t uiBytes = uint64_t{uiCount} * 4;
    if (uiBytes > std::numeric_limits<uint32_t>::max())
        return 0;
    return kStream.Read(pvDestination, static_cast<uint32_t>(uiBytes));
}
