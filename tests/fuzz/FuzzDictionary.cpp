#include "FuzzDictionary.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

namespace
{
template <class T> std::string Bytes(T value)
{
    std::string kBytes(sizeof(T), '\0');
    std::memcpy(kBytes.data(), &value, sizeof(T));
    return kBytes;
}
} // namespace

std::vector<std::string> BoundaryWords()
{
    std::vector<std::string> kWords;
    const uint32_t auiWords[] = {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 0x7Fu, 0x80u, 0xFFu, 0x100u, 0x7FFFu,
                                 0x8000u, 0xFFFFu, 0x10000u, 0x7FFFFFFFu, 0x80000000u, 0x80000001u,
                                 0xFFFFFFFFu, 0xFFFFFFFEu, 0x40000000u, 0x20000000u, 0x10000000u,
                                 // Times an element of 3, 6, 12, 24 or 5 bytes these reach 2^32 or just past
                                 // it; and 0x80000000 x 0x2AAAAAAA x 12 is 2^64.
                                 0x55555556u, 0x2AAAAAABu, 0x2AAAAAAAu, 0x15555556u, 0x0AAAAAABu,
                                 0x33333334u};
    for (const uint32_t uiWord : auiWords)
        kWords.push_back(Bytes(uiWord));
    for (const uint16_t usWord : {uint16_t(0x7FFF), uint16_t(0x8000), uint16_t(0xFFFF), uint16_t(0xFFFE)})
        kWords.push_back(Bytes(usWord));
    const float afFloats[] = {std::numeric_limits<float>::quiet_NaN(),
                              std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(),
                              std::numeric_limits<float>::max(),
                              -std::numeric_limits<float>::max(),
                              std::numeric_limits<float>::denorm_min(),
                              -0.0f,
                              1.0f,
                              -1.0f,
                              1e-30f,
                              1e30f};
    for (const float fValue : afFloats)
        kWords.push_back(Bytes(fValue));
    return kWords;
}

std::string LengthPrefixed(const std::string& kText)
{
    return Bytes(static_cast<uint32_t>(kText.size())) + kText;
}

bool WriteDictionary(const char* pcPath, const std::vector<std::string>& kEntries)
{
    std::FILE* pkFile = std::fopen(pcPath, "w");
    if (!pkFile)
        return false;
    for (const std::string& kEntry : kEntries)
    {
        std::fputc('"', pkFile);
        for (const unsigned char ucByte : kEntry)
        {
            if (ucByte >= 0x20 && ucByte < 0x7F && ucByte != '"' && ucByte != '\\')
                std::fputc(ucByte, pkFile);
            else
                std::fprintf(pkFile, "\\x%02X", ucByte);
        }
        std::fputs("\"\n", pkFile);
    }
    return std::fclose(pkFile) == 0;
}
