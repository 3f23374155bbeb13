// The property base: identity, reference count, binary record, creation line, duplication.
#include "properties/SKModelProperty.h"
#include "core/SKBufferStream.h"
#include "properties/PropertyTypeRegistry.h"
#include "properties/SKScriptWriter.h"
#include "properties/SubsystemProperty.h"
#include "tests/properties/PropertyTestSupport.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace
{
std::vector<uint8_t> RecordBytes(const SKObject& kObject)
{
    SKBufferStream kStream;
    kStream.OpenBuffer(4096);
    EXPECT_TRUE(kObject.SaveToStream(kStream));
    return std::vector<uint8_t>(kStream.GetBuffer(), kStream.GetBuffer() + kStream.GetPos());
}

SKObject* LoadRecord(const std::vector<uint8_t>& kBytes)
{
    SKBufferStream kStream;
    kStream.AttachBuffer(const_cast<uint8_t*>(kBytes.data()), static_cast<int32_t>(kBytes.size()));
    return SKObject::LoadObject(kStream);
}

// A property class that writes settings lines, to show that the creation line hands its variable on.
class LinesProperty : public TestSubsystem
{
public:
    void WriteInit(SKStream& kStream, const char* pcVariable) override
    {
        SKScriptWriter kWriter(kStream);
        kWriter.Line(pcVariable, ".SetRadius(", 0.25f, ")");
    }
    const char* GetObjTypeName() const override { return "SubsystemProperty"; }
};
} // namespace

TEST_F(PropertyTest, ANewPropertyIsAnUninitializedBaseProperty)
{
    auto* pkProperty = new SKModelProperty(0);
    EXPECT_EQ(pkProperty->GetName(), SKString("Uninitialized"));
    EXPECT_EQ(pkProperty->GetRefCount(), 1);
    EXPECT_EQ(pkProperty->GetObjType(), 0x601);
    EXPECT_TRUE(pkProperty->IsTypeOf(0x601));
    EXPECT_TRUE(pkProperty->IsTypeOf(2));
    EXPECT_FALSE(pkProperty->IsTypeOf(0x602));
    EXPECT_FALSE(pkProperty->Edit(nullptr));
    EXPECT_STREQ(pkProperty->GetPointerTypeName(), "_p_SKModelProperty");
    EXPECT_STREQ(pkProperty->GetShadowClassName(), "SKModelPropertyPtr");
    EXPECT_EQ(SKModelProperty::Cast(pkProperty), pkProperty);
    EXPECT_EQ(SKModelProperty::Cast(nullptr), nullptr);
    pkProperty->DecRefCount();
    EXPECT_EQ(NewObjects(), 0);
}

TEST_F(PropertyTest, TheLastReleaseDeletesAndAReleaseAtZeroDoesNothing)
{
    SKModelProperty* pkProperty = SKModelProperty::Create("Aft Phaser");
    const int32_t iID = pkProperty->GetObjID();
    pkProperty->IncRefCount();
    pkProperty->DecRefCount();
    EXPECT_EQ(SKObject::GetSKObjectPtr(iID), pkProperty);

    pkProperty->SetRefCount(0);
    pkProperty->DecRefCount();
    EXPECT_EQ(SKObject::GetSKObjectPtr(iID), pkProperty);
    EXPECT_EQ(pkProperty->GetRefCount(), 0);

    pkProperty->SetRefCount(1);
    pkProperty->DecRefCount();
    EXPECT_EQ(SKObject::GetSKObjectPtr(iID), nullptr);
}

TEST_F(PropertyTest, TheBaseRecordKeepsTheSavedReferenceCount)
{
    auto* pkProperty = new SKModelProperty(0x7F000005);
    pkProperty->SetName("AB");
    pkProperty->SetRefCount(3);
    const std::vector<uint8_t> kBytes = RecordBytes(*pkProperty);
    EXPECT_EQ(kBytes, (std::vector<uint8_t>{0x01, 0x06, 0x00, 0x00, 0x05, 0x00, 0x00, 0x7F, 0x03, 0x00,
                                            0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x41, 0x00, 0x42, 0x00}));
    delete pkProperty;

    SKModelProperty* pkLoaded = SKModelProperty::Cast(LoadRecord(kBytes));
    ASSERT_NE(pkLoaded, nullptr);
    EXPECT_EQ(pkLoaded->GetObjID(), 0x7F000005);
    EXPECT_EQ(pkLoaded->GetRefCount(), 3);
    EXPECT_EQ(pkLoaded->GetName(), SKString("AB"));
    EXPECT_TRUE(SKObject::FixupLoadedObjects());
    delete pkLoaded;
}

TEST_F(PropertyTest, ACutRecordLoadsNothingAndLeavesNothingBehind)
{
    SKModelProperty* pkProperty = SKModelProperty::Create("Forward Phaser");
    std::vector<uint8_t> kBytes = RecordBytes(*pkProperty);
    pkProperty->DecRefCount();
    // A name length that claims more than the record holds.
    std::vector<uint8_t> kLying = kBytes;
    kLying[12] = 0xFF;
    kLying[13] = 0xFF;
    EXPECT_EQ(LoadRecord(kLying), nullptr);
    for (size_t uiCut = 0; uiCut < kBytes.size(); uiCut++)
    {
        std::vector<uint8_t> kCut(kBytes.begin(), kBytes.begin() + static_cast<std::ptrdiff_t>(uiCut));
        EXPECT_EQ(LoadRecord(kCut), nullptr) << uiCut;
    }
    EXPECT_EQ(NewObjects(), 0);
}

TEST_F(PropertyTest, TheCreationLineKeepsTheNameAndHandsItsVariableOn)
{
    TextCaptureStream kStream;
    SKModelProperty* pkProperty = SKModelProperty::Create("Forward Phaser 1");
    pkProperty->WriteCreateLine(kStream);
    EXPECT_EQ(kStream.Text(), "ForwardPhaser1 = App.SKModelProperty_Create(\"Forward Phaser 1\")\n\n");
    pkProperty->DecRefCount();

    TextCaptureStream kLines;
    LinesProperty kSubsystem;
    kSubsystem.SetName("1st \"Hull\"");
    kSubsystem.WriteCreateLine(kLines);
    EXPECT_EQ(kLines.Text(), "_1st_Hull_ = App.SubsystemProperty_Create(\"1st \\\"Hull\\\"\")\n\n"
                             "_1st_Hull_.SetRadius(0.250000)\n");
}

TEST_F(PropertyTest, ADuplicateIsAnEqualIndependentProperty)
{
    TestShield* pkShield = TestShield::Create("Fore Shield");
    pkShield->IncRefCount();
    SKModelProperty* pkCopy = pkShield->Duplicate();
    ASSERT_NE(pkCopy, nullptr);
    EXPECT_EQ(pkCopy->GetObjType(), TestShield::TEST_TYPE_ID);
    EXPECT_NE(pkCopy->GetObjID(), pkShield->GetObjID());
    EXPECT_EQ(pkCopy->GetName(), SKString("Fore Shield"));
    EXPECT_EQ(pkCopy->GetRefCount(), 1);

    pkShield->SetName("Aft Shield");
    EXPECT_EQ(pkCopy->GetName(), SKString("Fore Shield"));
    pkCopy->DecRefCount();
    pkShield->DecRefCount();
    pkShield->DecRefCount();

    TestNoFactory* pkAbstract = TestNoFactory::Create("Weapon");
    EXPECT_EQ(pkAbstract->Duplicate(), nullptr);
    pkAbstract->DecRefCount();
    EXPECT_EQ(NewObjects(), 0);
}

// A record whose id is that of a live property with several holders, cut short at places in the
// name, in the values and before the last byte: the load fails and the live property keeps its
// name, its values and its holders' count. The whole record still loads into it, as one more hold.
TEST_F(PropertyTest, ARecordThatFailsLeavesTheLivePropertyOfItsIdAsItWas)
{
    RegisterPropertyTypes();
    SubsystemProperty* pkLive = SubsystemProperty::Create("Bridge");
    pkLive->SetRadius(2.0f);
    pkLive->IncRefCount();
    pkLive->IncRefCount();
    const std::vector<uint8_t> kRecord = RecordBytes(*pkLive);
    pkLive->SetName("Engineering");
    pkLive->SetRadius(5.0f);
    pkLive->SetCritical(true);
    const std::vector<uint8_t> kLiveBefore = RecordBytes(*pkLive);

    for (size_t uiCut : {size_t{14}, size_t{30}, kRecord.size() - 1})
    {
        std::vector<uint8_t> kCut(kRecord.begin(), kRecord.begin() + static_cast<std::ptrdiff_t>(uiCut));
        SKBufferStream kStream;
        kStream.AttachBuffer(kCut.data(), static_cast<int32_t>(kCut.size()));
        EXPECT_EQ(SKModelProperty::LoadPropertyRecord(kStream), nullptr) << uiCut;
        EXPECT_EQ(RecordBytes(*pkLive), kLiveBefore) << uiCut;
        EXPECT_EQ(pkLive->GetRefCount(), 3) << uiCut;
    }

    std::vector<uint8_t> kWhole = kRecord;
    SKBufferStream kStream;
    kStream.AttachBuffer(kWhole.data(), static_cast<int32_t>(kWhole.size()));
    EXPECT_EQ(SKModelProperty::LoadPropertyRecord(kStream), pkLive);
    EXPECT_EQ(kStream.GetPos(), static_cast<int32_t>(kWhole.size()));
    EXPECT_EQ(pkLive->GetName(), SKString("Bridge"));
    EXPECT_EQ(pkLive->GetRadius(), 2.0f);
    EXPECT_EQ(pkLive->GetRefCount(), 4);
    SKObject::FixupLoadedObjects();
    while (pkLive->DecRefCount() > 0)
    {
    }
    EXPECT_EQ(NewObjects(), 0);
}
