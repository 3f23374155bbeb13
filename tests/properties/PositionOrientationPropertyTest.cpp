// The position and orientation property: its frame, script lines, record and copying.
#include "properties/PositionOrientationProperty.h"
#include "core/SKBufferStream.h"
#include "core/SKPoint3.h"
#include "tests/properties/PropertyTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace
{
class PositionOrientationPropertyTest : public PropertyTest
{
protected:
    void SetUp() override
    {
        PropertyTest::SetUp();
        SKObject::RegisterFactory(PositionOrientationProperty::TYPE_ID,
                                  &PositionOrientationProperty::Factory);
    }
};
} // namespace

TEST_F(PositionOrientationPropertyTest, ANewPropertyWritesTheDefaultFrame)
{
    PositionOrientationProperty* pkProperty = PositionOrientationProperty::Create("Marker");
    EXPECT_EQ(pkProperty->GetObjType(), 0x812d);
    EXPECT_TRUE(pkProperty->IsTypeOf(0x601));
    EXPECT_TRUE(pkProperty->IsTypeOf(2));
    EXPECT_FALSE(pkProperty->IsTypeOf(0x812b));
    EXPECT_STREQ(pkProperty->GetShadowClassName(), "PositionOrientationPropertyPtr");
    TextCaptureStream kStream;
    pkProperty->WriteCreateLine(kStream);
    EXPECT_EQ(kStream.Text(), "Marker = App.PositionOrientationProperty_Create(\"Marker\")\n"
                              "\n"
                              "MarkerForward = App.SKPoint3()\n"
                              "MarkerForward.SetXYZ(0.000000, 1.000000, 0.000000)\n"
                              "MarkerUp = App.SKPoint3()\n"
                              "MarkerUp.SetXYZ(0.000000, 0.000000, 1.000000)\n"
                              "MarkerRight = App.SKPoint3()\n"
                              "MarkerRight.SetXYZ(1.000000, 0.000000, 0.000000)\n"
                              "Marker.SetOrientation(MarkerForward, MarkerUp, MarkerRight)\n"
                              "MarkerPosition = App.SKPoint3()\n"
                              "MarkerPosition.SetXYZ(0.000000, 0.000000, 0.000000)\n"
                              "Marker.SetPosition(MarkerPosition)\n");
    pkProperty->DecRefCount();
}

TEST_F(PositionOrientationPropertyTest, TheRecordIsTheBasePartAndTwelveFloats)
{
    auto* pkProperty = new PositionOrientationProperty(5);
    pkProperty->SetName("AB");
    std::vector<uint8_t> kBytes = PropertyRecord(*pkProperty);
    ASSERT_EQ(kBytes.size(), 20u + 48u);
    std::vector<float> kFloats(12);
    std::memcpy(kFloats.data(), kBytes.data() + 20, 48);
    EXPECT_EQ(kFloats, (std::vector<float>{0, 1, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0}));

    // A changed frame loads back, and a record cut short does not load.
    pkProperty->SetOrientation(SKPoint3(0, 0, 2), SKPoint3(0, -1, 0), SKPoint3(0.5f, 0, 0));
    pkProperty->SetPosition(SKPoint3(1, 2, 3));
    kBytes = PropertyRecord(*pkProperty);
    delete pkProperty;
    SKBufferStream kStream;
    kStream.AttachBuffer(kBytes.data(), static_cast<int32_t>(kBytes.size()));
    auto* pkLoaded = PositionOrientationProperty::Cast(SKObject::LoadObject(kStream));
    ASSERT_NE(pkLoaded, nullptr);
    EXPECT_EQ(pkLoaded->GetForward(), NiPoint3(0, 0, 2));
    EXPECT_EQ(pkLoaded->GetUp(), NiPoint3(0, -1, 0));
    EXPECT_EQ(pkLoaded->GetRight(), NiPoint3(0.5f, 0, 0));
    EXPECT_EQ(pkLoaded->GetPosition(), NiPoint3(1, 2, 3));

    SKBufferStream kShort;
    kShort.AttachBuffer(kBytes.data(), static_cast<int32_t>(kBytes.size() - 1));
    kShort.Seek(8, 0);
    EXPECT_FALSE(pkLoaded->LoadFromStream(kShort));
    SKObject::FixupLoadedObjects();
    delete pkLoaded;
}

TEST_F(PositionOrientationPropertyTest, ADuplicateHasTheSameFrame)
{
    PositionOrientationProperty* pkProperty = PositionOrientationProperty::Create("Nose");
    pkProperty->SetOrientation(NiPoint3(1, 0, 0), NiPoint3(0, 1, 0), NiPoint3(0, 0, 3));
    pkProperty->SetPosition(4.0f, 5.0f, 6.0f);
    auto* pkCopy = PositionOrientationProperty::Cast(pkProperty->Duplicate());
    ASSERT_NE(pkCopy, nullptr);
    EXPECT_NE(pkCopy, pkProperty);
    EXPECT_EQ(pkCopy->GetName(), SKString("Nose"));
    EXPECT_EQ(pkCopy->GetForward(), NiPoint3(1, 0, 0));
    EXPECT_EQ(pkCopy->GetUp(), NiPoint3(0, 1, 0));
    EXPECT_EQ(pkCopy->GetRight(), NiPoint3(0, 0, 3));
    EXPECT_EQ(pkCopy->GetPosition(), NiPoint3(4, 5, 6));
    pkCopy->DecRefCount();
    pkProperty->DecRefCount();
}
