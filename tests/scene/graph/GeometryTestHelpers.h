#pragma once

#include "NifTestSupport.h"

#include "scene/object/NiObject.h"
#include "scene/object/NiPoint3.h"
#include "scene/object/NiRefPtr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

// Helpers for the geometry tests: arrays for the constructors that take them over, point
// comparisons and hand-made geometry records.
namespace geometry_test
{
// A new[] array holding the values.
template <class T> T* NewArray(std::initializer_list<T> kValues)
{
    T* pArray = new T[kValues.size()];
    std::copy(kValues.begin(), kValues.end(), pArray);
    return pArray;
}

inline void ExpectPoint(const NiPoint3& kActual, const NiPoint3& kExpected, float fTolerance = 1e-5f)
{
    EXPECT_NEAR(kActual.x, kExpected.x, fTolerance);
    EXPECT_NEAR(kActual.y, kExpected.y, fTolerance);
    EXPECT_NEAR(kActual.z, kExpected.z, fTolerance);
}

// The first top-level object of the bytes as its class, or null when the load fails.
template <class T> NiRefPtr<T> LoadFirst(const std::string& kBytes)
{
    const std::vector<NiRefPtr<NiObject>> kTop = NifTest::Load(kBytes);
    return kTop.empty() ? NiRefPtr<T>() : NiRefPtr<T>(NiDynamicCast<T>(kTop[0].Get()));
}

inline NifTest::Bytes& Point(NifTest::Bytes& kBytes, const NiPoint3& kPoint)
{
    return kBytes.F32(kPoint.x).F32(kPoint.y).F32(kPoint.z);
}

// A top-level record of a geometry-data class up to the end of its geometry-data part: the
// positions only, a zero bound, no normals, colours or texture coordinates.
inline NifTest::Bytes DataRecord(const char* pcClass, const std::vector<NiPoint3>& kPositions,
                                 const std::string& kVersion = NiStream::CURRENT_VERSION)
{
    NifTest::Bytes kBytes(kVersion);
    kBytes.Text("Top Level Object").Text(pcClass).U32(1);
    kBytes.U16(static_cast<uint16_t>(kPositions.size())).U32(kPositions.empty() ? 0 : 1);
    for (const NiPoint3& kPoint : kPositions)
        Point(kBytes, kPoint);
    kBytes.U32(0);
    Point(kBytes, NiPoint3::ZERO).F32(0.0f);
    kBytes.U32(0).U16(0).U32(0);
    return kBytes;
}
} // namespace geometry_test
