#include "NifOlderLayouts.h"

#include "scene/animation/FloatKey.h"
#include "scene/object/NiObject.h"
#include "scene/object/NiPlane.h"
#include "scene/object/NiStream.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>

namespace
{
constexpr const char* TOP_LEVEL_MARKER = "Top Level Object";
constexpr const char* END_MARKER = "End Of File";

struct Record
{
    std::string m_kName;
    std::vector<char> m_kBody; // the bytes after the name, up to the next record
};

bool Before(const char* pcVersion, const char* pcGate)
{
    return std::strcmp(pcVersion, pcGate) < 0;
}

// Reads a body from the front; any read past the end makes it bad.
class BodyReader
{
public:
    explicit BodyReader(const std::vector<char>& kBody) : m_kBody(kBody) {}

    template <class T> T Read()
    {
        T value{};
        if (m_uiAt + sizeof(T) > m_kBody.size())
        {
            m_bBad = true;
            return value;
        }
        std::memcpy(&value, m_kBody.data() + m_uiAt, sizeof(T));
        m_uiAt += sizeof(T);
        return value;
    }
    void Skip(uint64_t uiBytes)
    {
        if (m_uiAt + uiBytes > m_kBody.size())
            m_bBad = true;
        else
            m_uiAt += uiBytes;
    }
    // An object name's text and the extra data and controller links.
    void SkipObjectNET()
    {
        Skip(4);
        Skip(Read<uint32_t>());
        Skip(8);
    }
    // Present arrays of elements of the size.
    void SkipArray(uint64_t uiElements, uint32_t uiBytes)
    {
        if (Read<uint32_t>())
            Skip(uiElements * uiBytes);
    }
    size_t At() const { return m_uiAt; }
    bool IsBad() const { return m_bBad; }
    bool AtEnd() const { return !m_bBad && m_uiAt == m_kBody.size(); }

private:
    const std::vector<char>& m_kBody;
    size_t m_uiAt = 0;
    bool m_bBad = false;
};

template <class T> void Append(std::vector<char>& kBytes, const T& value)
{
    const char* pcValue = reinterpret_cast<const char*>(&value);
    kBytes.insert(kBytes.end(), pcValue, pcValue + sizeof(T));
}

// The record names in the buffer are the registered classes and the two markers.
bool IsRecordStart(const std::vector<char>& kBuffer, size_t uiAt, const std::set<std::string>& kNames)
{
    uint32_t uiLength = 0;
    if (uiAt + 4 > kBuffer.size())
        return false;
    std::memcpy(&uiLength, kBuffer.data() + uiAt, 4);
    if (uiLength == 0 || uiLength > 64 || uiAt + 4 + uiLength > kBuffer.size())
        return false;
    return kNames.count(std::string(kBuffer.data() + uiAt + 4, uiLength)) != 0;
}

std::optional<std::vector<Record>> SplitRecords(const std::vector<char>& kBuffer, size_t uiBodyStart)
{
    std::set<std::string> kNames{TOP_LEVEL_MARKER, END_MARKER};
    for (const std::string& kName : NiObject::GetClassLoaderNames())
        kNames.insert(kName);
    std::vector<Record> kRecords;
    size_t uiAt = uiBodyStart;
    while (uiAt < kBuffer.size())
    {
        if (!IsRecordStart(kBuffer, uiAt, kNames))
            return std::nullopt;
        uint32_t uiLength = 0;
        std::memcpy(&uiLength, kBuffer.data() + uiAt, 4);
        Record kRecord;
        kRecord.m_kName.assign(kBuffer.data() + uiAt + 4, uiLength);
        size_t uiNext = uiAt + 4 + uiLength;
        const size_t uiBody = uiNext;
        // Markers have no body; a record's body runs up to the next record's name.
        if (kRecord.m_kName != TOP_LEVEL_MARKER && kRecord.m_kName != END_MARKER)
            while (uiNext < kBuffer.size() && !IsRecordStart(kBuffer, uiNext, kNames))
                ++uiNext;
        kRecord.m_kBody.assign(kBuffer.begin() + uiBody, kBuffer.begin() + uiNext);
        kRecords.push_back(std::move(kRecord));
        uiAt = uiNext;
    }
    return kRecords;
}

bool DropTail(std::vector<char>& kBody, size_t uiBytes)
{
    if (kBody.size() < uiBytes)
        return false;
    kBody.resize(kBody.size() - uiBytes);
    return true;
}

// Before 3.04 a multi-texture map ends after its texture coordinate set.
bool DropMapParameters(std::vector<char>& kBody)
{
    BodyReader kReader(kBody);
    kReader.SkipObjectNET();
    kReader.Skip(2);
    const uint32_t uiCount = kReader.Read<uint32_t>();
    std::vector<char> kOld(kBody.begin(), kBody.begin() + std::min(kReader.At(), kBody.size()));
    for (uint32_t uiSlot = 0; uiSlot < uiCount && !kReader.IsBad(); ++uiSlot)
    {
        // The glow alpha slot (4) has an entry only in a record of exactly five slots.
        if (uiSlot == 4 && uiCount != 5)
            continue;
        const size_t uiEntry = kReader.At();
        const bool bPresent = kReader.Read<uint32_t>() != 0;
        if (bPresent)
            kReader.Skip(16);
        if (kReader.IsBad())
            return false;
        kOld.insert(kOld.end(), kBody.begin() + uiEntry, kBody.begin() + kReader.At());
        if (bPresent)
            kReader.Skip(6);
    }
    if (!kReader.AtEnd())
        return false;
    kBody = std::move(kOld);
    return true;
}

// Up to 3.05 triangle lists carry no shared normals: the record ends after the list.
bool DropSharedNormals(std::vector<char>& kBody)
{
    BodyReader kReader(kBody);
    kReader.Skip(4);
    const uint16_t usVertices = kReader.Read<uint16_t>();
    kReader.SkipArray(usVertices, 12);
    kReader.SkipArray(usVertices, 12);
    kReader.Skip(16);
    kReader.SkipArray(usVertices, 16);
    const uint16_t usSets = kReader.Read<uint16_t>();
    kReader.SkipArray(uint64_t(usSets) * usVertices, 8);
    kReader.Skip(2);
    kReader.Skip(uint64_t(kReader.Read<uint32_t>()) * 2);
    if (kReader.IsBad())
        return false;
    kBody.resize(kReader.At());
    return true;
}

// Before 3.05 a morpher carries its morph itself: the keyed target count and the vertex count,
// each keyed target's key count and type, their keys, then every target's vertices, the base
// first. The morph data record gives all of it (its first target, the base, has no keys).
std::optional<std::vector<char>> InlineMorph(const std::vector<char>& kData)
{
    BodyReader kReader(kData);
    kReader.Skip(4);
    const uint32_t uiTargets = kReader.Read<uint32_t>();
    const uint32_t uiVertices = kReader.Read<uint32_t>();
    kReader.Skip(1);
    if (uiTargets == 0 || kReader.IsBad())
        return std::nullopt;
    std::vector<uint32_t> kCounts, kTypes;
    std::vector<char> kKeys, kPoints;
    for (uint32_t i = 0; i < uiTargets; ++i)
    {
        const uint32_t uiCount = kReader.Read<uint32_t>();
        const uint32_t uiType = kReader.Read<uint32_t>();
        const FloatKeyOps* pkOps = GetFloatKeyOps(uiType);
        // Array keys hold a value per target, whose count differs between the two layouts.
        if ((uiCount && !pkOps) || uiType == KEY_TCB_ARRAY || (i == 0 && uiCount))
            return std::nullopt;
        const size_t uiKeys = kReader.At();
        kReader.Skip(uint64_t(uiCount) * (pkOps ? pkOps->m_uiRecordBytes : 0));
        const size_t uiPoints = kReader.At();
        kReader.Skip(uint64_t(uiVertices) * 12);
        if (kReader.IsBad())
            return std::nullopt;
        if (i > 0)
        {
            kCounts.push_back(uiCount);
            kTypes.push_back(uiType);
            kKeys.insert(kKeys.end(), kData.begin() + uiKeys, kData.begin() + uiPoints);
        }
        kPoints.insert(kPoints.end(), kData.begin() + uiPoints, kData.begin() + kReader.At());
    }
    if (!kReader.AtEnd())
        return std::nullopt;
    std::vector<char> kInline;
    Append(kInline, uiTargets - 1);
    Append(kInline, uiVertices);
    for (const uint32_t uiCount : kCounts)
        Append(kInline, uiCount);
    for (const uint32_t uiType : kTypes)
        Append(kInline, uiType);
    kInline.insert(kInline.end(), kKeys.begin(), kKeys.end());
    kInline.insert(kInline.end(), kPoints.begin(), kPoints.end());
    return kInline;
}

uint32_t LinkIdOf(const Record& kRecord)
{
    uint32_t uiID = 0;
    if (kRecord.m_kBody.size() >= 4)
        std::memcpy(&uiID, kRecord.m_kBody.data(), 4);
    return uiID;
}

bool Rewrite(Record& kRecord, const char* pcVersion, const std::vector<Record>& kRecords,
             std::set<uint32_t>& kInlined)
{
    const std::string& kName = kRecord.m_kName;
    std::vector<char>& kBody = kRecord.m_kBody;
    if (kName == "NiSortAdjustNode" && Before(pcVersion, "3.01"))
        return DropTail(kBody, 4);
    if (kName == "NiTextureEffect")
    {
        if (Before(pcVersion, "3.04") && !DropTail(kBody, 6))
            return false;
        return !Before(pcVersion, "3.03") || DropTail(kBody, 4 + 1 + sizeof(NiPlane));
    }
    if (kName == "NiTextureProperty" && Before(pcVersion, "3.04"))
    {
        kBody.insert(kBody.end(), 8, '\0');
        return true;
    }
    if ((kName == "NiTextureModeProperty" || kName == "NiImage") && Before(pcVersion, "3.04"))
        return DropTail(kBody, 4);
    if (kName == "NiMultiTextureProperty" && Before(pcVersion, "3.04"))
        return DropMapParameters(kBody);
    if (kName == "NiTriShapeData" && std::strcmp(pcVersion, "3.05") <= 0)
        return DropSharedNormals(kBody);
    if (kName == "NiMorpherController" && Before(pcVersion, "3.05"))
    {
        uint32_t uiDataID = 0;
        if (kBody.size() < 4)
            return false;
        std::memcpy(&uiDataID, kBody.data() + kBody.size() - 4, 4);
        const auto itData =
            std::find_if(kRecords.begin(), kRecords.end(),
                         [&](const Record& kOther)
                         { return kOther.m_kName == "NiMorphData" && LinkIdOf(kOther) == uiDataID; });
        if (itData == kRecords.end())
            return false;
        const std::optional<std::vector<char>> kInline = InlineMorph(itData->m_kBody);
        if (!kInline)
            return false;
        kBody.resize(kBody.size() - 4);
        kBody.insert(kBody.end(), kInline->begin(), kInline->end());
        kInlined.insert(uiDataID);
    }
    return true;
}
} // namespace

std::optional<std::vector<char>> ToOlderVersion(const std::vector<char>& kCurrent, const char* pcVersion)
{
    // The body starts after the four header lines.
    size_t uiBodyStart = 0;
    for (int i = 0; i < 4; ++i)
    {
        const auto itEnd = std::find(kCurrent.begin() + uiBodyStart, kCurrent.end(), '\n');
        if (itEnd == kCurrent.end())
            return std::nullopt;
        uiBodyStart = size_t(itEnd - kCurrent.begin()) + 1;
    }
    std::optional<std::vector<Record>> kRecords = SplitRecords(kCurrent, uiBodyStart);
    if (!kRecords)
        return std::nullopt;
    std::set<uint32_t> kInlined;
    for (Record& kRecord : *kRecords)
    {
        if (!Rewrite(kRecord, pcVersion, *kRecords, kInlined))
            return std::nullopt;
    }

    const std::string kFirstLine =
        std::string(NiStream::HEADER_LINES[0]).substr(0, NiStream::VERSION_OFFSET) + pcVersion;
    std::vector<char> kOlder(kFirstLine.begin(), kFirstLine.end());
    const size_t uiFirstEnd = size_t(std::find(kCurrent.begin(), kCurrent.end(), '\n') - kCurrent.begin());
    kOlder.insert(kOlder.end(), kCurrent.begin() + uiFirstEnd, kCurrent.begin() + uiBodyStart);
    for (const Record& kRecord : *kRecords)
    {
        // A morph carried inline by its morpher has no record of its own.
        if (kRecord.m_kName == "NiMorphData" && kInlined.count(LinkIdOf(kRecord)))
            continue;
        Append(kOlder, static_cast<uint32_t>(kRecord.m_kName.size()));
        kOlder.insert(kOlder.end(), kRecord.m_kName.begin(), kRecord.m_kName.end());
        kOlder.insert(kOlder.end(), kRecord.m_kBody.begin(), kRecord.m_kBody.end());
    }
    return kOlder;
}
