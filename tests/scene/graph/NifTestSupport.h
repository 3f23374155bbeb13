#pragma once

#include "scene/object/NiObject.h"
#include "scene/object/NiRefPtr.h"
#include "scene/object/NiStream.h"

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

// Saving and loading through memory buffers, and hand-made .nif bytes for the version and
// malformed-record cases.
namespace NifTest
{
// The objects as the top-level objects of one saved buffer.
inline std::vector<char> Save(std::initializer_list<NiObject*> kObjects)
{
    NiStream kStream;
    for (NiObject* pkObject : kObjects)
        kStream.AddTopObject(pkObject);
    std::vector<char> kBuffer;
    kStream.SaveBuffer(kBuffer);
    return kBuffer;
}

// The top-level objects of a buffer; none when the load fails.
inline std::vector<NiRefPtr<NiObject>> Load(const void* pvBytes, size_t uiSize)
{
    NiStream kStream;
    std::vector<NiRefPtr<NiObject>> kTop;
    if (!kStream.LoadBuffer(pvBytes, uiSize))
        return kTop;
    for (uint32_t i = 0; i < kStream.GetTopObjectCount(); ++i)
        kTop.emplace_back(kStream.GetTopObjectAt(i));
    return kTop;
}

inline std::vector<NiRefPtr<NiObject>> Load(const std::vector<char>& kBuffer)
{
    return Load(kBuffer.data(), kBuffer.size());
}

inline std::vector<NiRefPtr<NiObject>> Load(const std::string& kBytes)
{
    return Load(kBytes.data(), kBytes.size());
}

// The object saved alone and loaded back, as its class; null when that fails.
template <class T> NiRefPtr<T> RoundTrip(T* pkObject)
{
    const std::vector<NiRefPtr<NiObject>> kTop = Load(Save({pkObject}));
    return kTop.size() == 1 ? NiRefPtr<T>(NiDynamicCast<T>(kTop[0].Get())) : NiRefPtr<T>();
}

// .nif bytes built field by field: the header for a chosen version, then records.
class Bytes
{
public:
    explicit Bytes(const std::string& kVersion = NiStream::CURRENT_VERSION)
    {
        m_kBytes = std::string(NiStream::HEADER_LINES[0], NiStream::VERSION_OFFSET) + kVersion + "\n";
        for (int i = 1; i < 4; ++i)
            m_kBytes += std::string(NiStream::HEADER_LINES[i]) + "\n";
    }

    Bytes& Text(const std::string& kText)
    {
        U32(static_cast<uint32_t>(kText.size()));
        m_kBytes += kText;
        return *this;
    }
    Bytes& U32(uint32_t uiValue) { return Raw(&uiValue, 4); }
    Bytes& I16(int16_t sValue) { return Raw(&sValue, 2); }
    Bytes& U16(uint16_t usValue) { return Raw(&usValue, 2); }
    Bytes& U8(uint8_t ucValue) { return Raw(&ucValue, 1); }
    Bytes& F32(float fValue) { return Raw(&fValue, 4); }
    Bytes& Raw(const void* pvBytes, size_t uiSize)
    {
        m_kBytes.append(static_cast<const char*>(pvBytes), uiSize);
        return *this;
    }

    // A top-level record of the class up to the end of the common property record: saved id,
    // no name, no extra data, no controllers, then the flag word.
    Bytes& Property(const char* pcClass, uint32_t uiLinkID, uint16_t usFlags)
    {
        return Text("Top Level Object").Text(pcClass).U32(uiLinkID).U32(0).U32(0).U32(0).U16(usFlags);
    }
    Bytes& End() { return Text("End Of File"); }

    const std::string& Get() const { return m_kBytes; }

private:
    std::string m_kBytes;
};

// Where the fields after the flag word of the first record of the class begin in a saved
// buffer, for an object saved without a name.
inline size_t FieldsOffset(const std::vector<char>& kBuffer, const char* pcClass)
{
    const std::string kBytes(kBuffer.begin(), kBuffer.end());
    const size_t uiClass = kBytes.find(pcClass);
    if (uiClass == std::string::npos)
        return 0;
    // id, name length 0, extra-data id, controller id, flag word
    return uiClass + std::strlen(pcClass) + 4 + 4 + 4 + 4 + 2;
}
} // namespace NifTest
