#include "scene/render/LoadImageFile.h"

#include "platform/win32/CaseBlindPath.h"
#include "scene/graph/NiRawImageData.h"
#include "scene/object/BufferedFileStream.h"
#include "scene/object/NiStream.h"
#include "scene/object/NiSystem.h"

#include <cstring>
#include <filesystem>
#include <set>
#include <string>

namespace
{
// The image files being read. A texture .nif names images that are read while it loads, so a
// file that names itself (or a cycle of files) would be read again and again until the stack
// runs out: such a nested read of a file on the way down fails instead.
class NestedLoadGuard
{
public:
    explicit NestedLoadGuard(const std::string& kPath)
    {
        std::error_code kError;
        // Spellings that open the same file are the same file.
        const std::string kResolved = win32::ResolvePath(kPath);
        m_kKey = std::filesystem::weakly_canonical(kResolved, kError).string();
        if (kError)
            m_kKey = kResolved;
        m_bEntered = Files().insert(m_kKey).second;
    }
    ~NestedLoadGuard()
    {
        if (m_bEntered)
            Files().erase(m_kKey);
    }
    NestedLoadGuard(const NestedLoadGuard&) = delete;
    NestedLoadGuard& operator=(const NestedLoadGuard&) = delete;

    bool Entered() const { return m_bEntered; }

private:
    static std::set<std::string>& Files()
    {
        static std::set<std::string> s_kFiles;
        return s_kFiles;
    }

    std::string m_kKey;
    bool m_bEntered = false;
};

bool LoadNifImage(const char* pcPath, NiRawImageData& kTarget)
{
    const NestedLoadGuard kGuard(pcPath);
    if (!kGuard.Entered())
        return false;
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
