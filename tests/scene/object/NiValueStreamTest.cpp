#include "scene/object/NiBoundingSphere.h"
#include "scene/object/NiColor.h"
#include "scene/object/NiColorA.h"
#include "scene/object/NiPlane.h"
#include "scene/object/NiPoint3.h"
#include "scene/object/NiQuaternion.h"
#include "scene/object/NiRotationMatrix.h"
#include "scene/object/NiStream.h"
#include "scene/object/NiTexCoord.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
// One value of every type in one record, in the order their stream forms are written.
class ValueRecord : public NiObject
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiPoint3 m_kPoint{1.0f, 2.0f, 3.0f};
    NiTexCoord m_kTexCoord{4.0f, 5.0f};
    NiColor m_kColor{0.25f, 0.5f, 0.75f};
    NiColorA m_kColorA{0.1f, 0.2f, 0.3f, 0.4f};
    NiQuaternion m_kQuaternion{0.5f, -0.5f, 0.5f, -0.5f};
    NiRotationMatrix m_kMatrix = NiRotationMatrix::IDENTITY;
    NiBoundingSphere m_kBound;
    NiPlane m_kPlane{NiPoint3(0.0f, 0.0f, 1.0f), 2.0f};

    void LoadBinary(NiStream& kStream) override
    {
        NiObject::LoadBinary(kStream);
        m_kPoint.LoadBinary(kStream);
        m_kTexCoord.LoadBinary(kStream);
        m_kColor.LoadBinary(kStream);
        m_kColorA.LoadBinary(kStream);
        m_kQuaternion.LoadBinary(kStream);
        m_kMatrix.LoadBinary(kStream);
        m_kBound.LoadBinary(kStream);
        m_kPlane.LoadBinary(kStream);
    }

    void SaveBinary(NiStream& kStream) override
    {
        NiObject::SaveBinary(kStream);
        m_kPoint.SaveBinary(kStream);
        m_kTexCoord.SaveBinary(kStream);
        m_kColor.SaveBinary(kStream);
        m_kColorA.SaveBinary(kStream);
        m_kQuaternion.SaveBinary(kStream);
        m_kMatrix.SaveBinary(kStream);
        m_kBound.SaveBinary(kStream);
        m_kPlane.SaveBinary(kStream);
    }
};

NiImplementRTTI(ValueRecord, NiObject);
NiImplementCreateObject(ValueRecord);

constexpr size_t VALUE_BYTES = 12 + 8 + 12 + 16 + 16 + 36 + 16 + 16;
} // namespace

TEST(NiValueStream, EveryValueTypeRoundTripsAsPackedFloats)
{
    NiRefPtr<ValueRecord> spSource = new ValueRecord;
    spSource->m_kMatrix.MakeZRotation(0.5f);
    spSource->m_kBound.m_kCenter = NiPoint3(7.0f, 8.0f, 9.0f);
    spSource->m_kBound.m_fRadius = 10.0f;

    NiStream kSave;
    kSave.AddTopObject(spSource);
    std::vector<char> kBuffer;
    ASSERT_TRUE(kSave.SaveBuffer(kBuffer));

    // The values sit between the record's id and the end marker, each float as it lies in memory.
    const size_t uiValues = kBuffer.size() - 15 - VALUE_BYTES;
    float afPoint[3];
    std::memcpy(afPoint, kBuffer.data() + uiValues, sizeof(afPoint));
    EXPECT_EQ(afPoint[2], 3.0f);
    float fQuaternionW = 0.0f;
    std::memcpy(&fQuaternionW, kBuffer.data() + uiValues + 12 + 8 + 12 + 16, 4);
    EXPECT_EQ(fQuaternionW, 0.5f);
    float fPlaneConstant = 0.0f;
    std::memcpy(&fPlaneConstant, kBuffer.data() + kBuffer.size() - 15 - 4, 4);
    EXPECT_EQ(fPlaneConstant, 2.0f);

    NiStream kLoad;
    ASSERT_TRUE(kLoad.LoadBuffer(kBuffer.data(), kBuffer.size()));
    const ValueRecord* pkLoaded = static_cast<const ValueRecord*>(kLoad.GetTopObjectAt(0));
    EXPECT_EQ(pkLoaded->m_kPoint, spSource->m_kPoint);
    EXPECT_EQ(pkLoaded->m_kTexCoord, spSource->m_kTexCoord);
    EXPECT_EQ(pkLoaded->m_kColor, spSource->m_kColor);
    EXPECT_EQ(pkLoaded->m_kColorA, spSource->m_kColorA);
    EXPECT_EQ(pkLoaded->m_kQuaternion, spSource->m_kQuaternion);
    EXPECT_EQ(pkLoaded->m_kMatrix, spSource->m_kMatrix);
    EXPECT_EQ(pkLoaded->m_kBound, spSource->m_kBound);
    EXPECT_EQ(pkLoaded->m_kBound.m_ucNotComputed, 1); // the flag is not streamed
    EXPECT_EQ(pkLoaded->m_kPlane, spSource->m_kPlane);
}

TEST(NiValueStream, LoadingOnAnIdleStreamChangesNothing)
{
    NiStream kIdle;
    NiPoint3 kPoint(1.0f, 2.0f, 3.0f);
    kPoint.LoadBinary(kIdle);
    EXPECT_EQ(kPoint, NiPoint3(1.0f, 2.0f, 3.0f));
}
