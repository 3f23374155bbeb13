#include "core/SKAttrObject.h"
#include "core/SKBufferStream.h"
#include "core/SKTemplatedAttrObject.h"
#include "tests/core/TemplatedRecord.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace
{
using Status = SKStreamException;

class SKAttrObjectTest : public testing::Test
{
protected:
    void SetUp() override
    {
        SKObject::RegisterFactory(SKAttrObject::TYPE_ID, &SKAttrObject::Create);
        SKObject::RegisterFactory(SKTemplatedAttrObject::TYPE_ID, &SKTemplatedAttrObject::Create);
    }
    void TearDown() override
    {
        EXPECT_EQ(SKObject::GetNumObjects(), 0);
        EXPECT_EQ(SKObject::GetNumPendingFixups(), 0);
    }
};

TEST_F(SKAttrObjectTest, FloatAndIntFormsShareTheSameBits)
{
    SKAttrObject kObject;
    EXPECT_EQ(kObject.GetAttrValue(7), 0.0f);
    EXPECT_EQ(kObject.GetAttrInt(7), 0);
    EXPECT_EQ(kObject.GetAttrMap(), nullptr);
    EXPECT_FALSE(kObject.RemoveAttr(7));

    kObject.SetAttrInt(7, 1065353216);
    EXPECT_EQ(kObject.GetAttrValue(7), 1.0f);
    kObject.SetAttrValue(7, 2.0f);
    EXPECT_EQ(kObject.GetAttrInt(7), 1073741824);
    // A NaN payload survives as bits.
    kObject.SetAttrInt(8, 0x7FA00001);
    int32_t iBits = 0;
    EXPECT_TRUE(kObject.LookupAttrInt(8, iBits));
    EXPECT_EQ(iBits, 0x7FA00001);
    EXPECT_TRUE(kObject.RemoveAttr(7));
    EXPECT_FALSE(kObject.LookupAttrInt(7, iBits));
    EXPECT_TRUE(kObject.IsTypeOf(2) && kObject.IsTypeOf(3) && !kObject.IsTypeOf(4));
}

TEST_F(SKAttrObjectTest, AnObjectWithoutAttributesSavesACountOfZero)
{
    SKAttrObject kObject(7);
    std::vector<uint8_t> kMemory(16, 0xEE);
    SKBufferStream kStream;
    kStream.AttachBuffer(kMemory.data(), 16);
    EXPECT_TRUE(kObject.SaveToStream(kStream));
    EXPECT_EQ(std::vector<uint8_t>(kMemory.begin(), kMemory.begin() + 13),
              (std::vector<uint8_t>{3, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0, 0xEE}));
}

TEST_F(SKAttrObjectTest, MapMergeAndCopy)
{
    SKAttrMap kMine;
    kMine.SetAt(1, 10);
    kMine.SetAt(2, 20);
    SKAttrMap kTheirs;
    kTheirs.SetAt(2, 200);
    kTheirs.SetAt(3, 300);
    uint32_t uiValue = 0;
    kMine.MergeFrom(kTheirs, false);
    EXPECT_TRUE(kMine.Lookup(2, uiValue) && uiValue == 20);
    EXPECT_TRUE(kMine.Lookup(3, uiValue) && uiValue == 300);
    kMine.MergeFrom(kTheirs, true);
    EXPECT_TRUE(kMine.Lookup(2, uiValue) && uiValue == 200);
    kMine.CopyFrom(kTheirs);
    EXPECT_EQ(kMine.GetCount(), 2);
    EXPECT_FALSE(kMine.Contains(1));
}

TEST_F(SKAttrObjectTest, LookupsFallBackToTheTemplate)
{
    SKAttrObject kTemplate(50);
    kTemplate.SetAttrValue(5, 3.0f);
    std::unique_ptr<SKTemplatedAttrObject> spObject = LoadTemplatedRecord(51, 50, {});
    ASSERT_NE(spObject, nullptr);
    EXPECT_EQ(spObject->GetAttrValue(5), 0.0f); // not linked before the fix-up pass
    EXPECT_TRUE(SKObject::FixupLoadedObjects());
    EXPECT_EQ(spObject->GetTemplate(), &kTemplate);

    float fValue = 0.0f;
    EXPECT_EQ(spObject->GetAttrValue(5), 3.0f);
    EXPECT_FALSE(spObject->LookupLocalAttrValue(5, fValue));
    EXPECT_FALSE(spObject->RemoveAttr(5)); // only the template holds it
    spObject->SetAttrValue(5, 4.0f);
    EXPECT_EQ(spObject->GetAttrValue(5), 4.0f);
    EXPECT_EQ(kTemplate.GetAttrValue(5), 3.0f);
    EXPECT_TRUE(spObject->RemoveAttr(5));
    EXPECT_EQ(spObject->GetAttrValue(5), 3.0f);
    EXPECT_EQ(spObject->GetAttrInt(5), 1077936128);
    EXPECT_TRUE(spObject->IsTypeOf(4) && spObject->IsTypeOf(3) && spObject->IsTypeOf(2));
}

TEST_F(SKAttrObjectTest, TemplateIdsMustNameAnAttributeObjectOffTheChain)
{
    // A chain read from a file that would close on itself must not link, or lookups would never end.
    std::unique_ptr<SKTemplatedAttrObject> spA = LoadTemplatedRecord(61, 62, {{1, 1.0f}});
    std::unique_ptr<SKTemplatedAttrObject> spB = LoadTemplatedRecord(62, 61, {});
    std::unique_ptr<SKTemplatedAttrObject> spSelf = LoadTemplatedRecord(63, 63, {});
    std::unique_ptr<SKTemplatedAttrObject> spMissing = LoadTemplatedRecord(64, 999, {});
    EXPECT_FALSE(SKObject::FixupLoadedObjects());
    EXPECT_EQ(SKObject::GetNumPendingFixups(), 3);
    EXPECT_EQ(spB->GetTemplate(), spA.get());
    EXPECT_EQ(spA->GetTemplate(), nullptr);
    EXPECT_EQ(spSelf->GetTemplate(), nullptr);
    EXPECT_EQ(spB->GetAttrValue(1), 1.0f);
    EXPECT_EQ(spB->GetAttrValue(2), 0.0f);
    // Forcing the links leaves them unset.
    EXPECT_FALSE(SKObject::FixupObject(spA.get()));
    EXPECT_EQ(spA->GetTemplate(), nullptr);
    spA.reset();
    spB.reset();
    spSelf.reset();
    spMissing.reset();
}

TEST_F(SKAttrObjectTest, LoadRefusesCountsTheStreamCannotHold)
{
    for (int32_t iCount : {-1, 2, 0x20000000})
    {
        SKAttrObject kObject(70);
        kObject.SetAttrValue(1, 1.0f);
        std::vector<uint8_t> kMemory(16, 0);
        SKBufferStream kStream;
        kStream.AttachBuffer(kMemory.data(), 16);
        kStream.WriteInt(iCount);
        kStream.Seek(0, 0);
        EXPECT_FALSE(kObject.LoadFromStream(kStream)) << iCount;
        EXPECT_EQ(kStream.GetStatus(), Status::STATUS_READ_ERROR) << iCount;
        EXPECT_EQ(kObject.GetAttrValue(1), 1.0f) << iCount;
    }
}
} // namespace
