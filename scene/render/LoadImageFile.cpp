#include "scene/render/LoadImageFile.h"

#include "scene/object/BufferedFileStream.h"
#include "scene/object/NiStream.h"
#include "scene/object/NiSystem.h"
#include "scene/graph/NiRawImageData.h"

#include <cstring>
#include <string>

namespace
{
bool LoadNifImage(const char* pcPath, NiRawImageData& kTarget)
{
    NiStream kStream;
    if (!kStream.LoadFile(pcPath) || kStream.GetTopObjectCount() != 1)
        return false;
    auto* pkRaw = NiDynamicCast<NiRawImageData>(kStream.GetTopObjectAt(0));
    if (!pkRaw)
        return false;
    kTarget.TakeFrom(*pkRaw);
    return true;
}
} // namespace

bool LoadImageFile(const char* pcFileName, NiRawImageData& kTarget)
{
    if (!pcFileName)
        return false;
    static constexpr char PREFIX[] = "file://";
    constexpr size_t PREFIX_LENGTH = sizeof(PREFIX) - 1;
    if (std::strlen(pcFileName) >= PREFIX_LENGTH && NiStrnicmp(pcFileName, PREFIX, PREFIX_LENGTH) == 0)
        pcFileName += PREFIX_LENGTH;
    // Kept whole: a long path opens the file it names or fails, it is never cut short.
    const std::string kPath(pcFileName);
    const size_t uiDot = kPath.rfind('.');
    if (uiDot == std::string::npos)
        return false;
    const char* pcExtension = kPath.c_str() + uiDot;

    if (NiStricmp(pcExtension, ".nif") == 0)
        return LoadNifImage(kPath.c_str(), kTarget);

    using Reader = bool (*)(BinaryStream&, NiRawImageData&);
    static const struct
    {
        const char* m_pcExtension;
        Reader m_pfnReader;
    } READERS[] = {{".tga", &ReadTgaImage},  {".bmp", &ReadBmpImage}, {".rgb", &ReadSgiImage},
                   {".rgba", &ReadSgiImage}, {".int", &ReadSgiImage}, {".inta", &ReadSgiImage}};
    for (const auto& kReader : READERS)
    {
        if (NiStricmp(pcExtension, kReader.m_pcExtension) != 0)
            continue;
        BufferedFileStream kFile(kPath.c_str(), false);
        return kFile.IsGood() && kReader.m_pfnReader(kFile, kTarget);
    }
    return false;
}
