#pragma once

#include "scene/object/NiObject.h"
#include "scene/object/NiPoint3.h"
#include "scene/object/NiRefPtr.h"
#include "scene/object/NiStream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

// Helpers for the geometry tests: arrays the data classes take over, stream round trips and
// a byte builder for hand-made records.
namespace geometry_test
{
// A new[] array holding the values, for the constructors that take ownership.
template <class T> T* NewArray(std::initializer_list<T> kValues)
{
    T* pArray = new T[kValues.size()];
    std::copy(kValues.begin(), kValues.end(), pArray);
    return pArray;
}

inline std::vector<char> SaveToBuffer(NiObject* pkObject)
{
    NiStream kStream;
    kStream.AddTopObject(pkObject);
    std::vector<char> kBuffer;
    EXPECT_TRUE(kStream.SaveBuffer(kBuffer));
    return kBuffer;
}

// The first top-level object of the loaded buffer, or null when the load fails.
inline NiRefPtr<NiObject> LoadFromBuffer(const std::vector<char>& kBuffer)
{
    NiStream kStream;
    if (!kStream.LoadBuffer(kBuffer.data(), kBuffer.size()) || kStream.GetTopObjectCount() == 0)
        return nullptr;
    return kStream.GetTopObjectAt(0);
}

template <class T> NiRefPtr<T> RoundTrip(NiObject* pkObject)
{
    return NiRefPtr<T>(NiDynamicCast<T>(LoadFromBuffer(SaveToBuffer(pkObject)).Get()));
}

inline void ExpectPoint(const NiPoint3& kActual, const NiPoint3& kExpected, float fTolerance = 1e-5f)
{
    EXPECT_NEAR(kActual.x, kExpected.x, fTolerance);
    EXPECT_NEAR(kActual.y, kExpected.y, fTolerance);
    EXPECT_NEAR(kActual.z, kExpected.z, fTolerance);
}

// .nif bytes written field by field, little-endian.
class RecordBytes
{
public:
    explicit RecordBytes(const std::string& kVersion = "3.1")
    {
        const std::string kFirst =
            std::string(NiStream::HEADER_LINES[0]).substr(0, NiStream::VERSION_OFFSET) + kVersion;
        m_kBytes = kFirst + "\n";
        for (int i = 1; i < 4; ++i)
            m_kBytes += std::string(NiStream::HEADER_LINES[i]) + "\n";
    }

    RecordBytes& Text(const std::string& kText)
    {
        U32(static_cast<uint32_t>(kText.size()));
        m_kBytes += kText;
        return *this;
    }
    RecordBytes& U32(uint32_t uiValue) { return Raw(&uiValue, 4); }
    RecordBytes& U16(uint16_t usValue) { return Raw(&usValue, 2); }
    RecordBytes& F32(float fValue) { return Raw(&fValue, 4); }
    RecordBytes& Point(const NiPoint3& kPoint) { return F32(kPoint.x).F32(kPoint.y).F32(kPoint.z); }
    RecordBytes& Top(const std::string& kClass, uint32_t uiId)
    {
        return Text("Top Level Object").Text(kClass).U32(uiId);
    }
    // The geometry-data part: positions only, a zero bound, no other arrays.
    RecordBytes& PositionsOnly(const std::vector<NiPoint3>& kPositions)
    {
        U16(static_cast<uint16_t>(kPositions.size()));
        U32(kPositions.empty() ? 0 : 1);
        for (const NiPoint3& kPoint : kPositions)
            Point(kPoint);
        return U32(0).Point(NiPoint3::ZERO).F32(0.0f).U32(0).U16(0).U32(0);
    }
    RecordBytes& End() { return Text("End Of File"); }

    std::vector<char> Buffer() const { return std::vector<char>(m_kBytes.begin(), m_kBytes.end()); }

private:
    RecordBytes& Raw(const void* pvBytes, size_t uiSize)
    {
        m_kBytes.append(static_cast<const char*>(pvBytes), uiSize);
        return *this;
    }

    std::string m_kBytes;
};
} // namespace geometry_test
