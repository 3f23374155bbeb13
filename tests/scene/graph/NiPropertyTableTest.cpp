#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiMaterialProperty.h"
#include "scene/graph/NiMultiTextureProperty.h"
#include "scene/graph/NiZBufferProperty.h"

#include <gtest/gtest.h>

TEST(NiPropertyTableTest, ANewTableHoldsTheFifteenDefaultInstances)
{
    NiPropertyTable kTable;
    const NiPropertyTable::PropertyArray kAll = kTable.GetAll();
    for (int32_t iType = 0; iType < NiProperty::MAX_TYPES; ++iType)
    {
        SCOPED_TRACE(iType);
        ASSERT_NE(kAll[iType], nullptr);
        EXPECT_EQ(kAll[iType]->GetPropertyType(), iType);
        EXPECT_EQ(kTable.GetProperty(iType), kAll[iType]);
    }
    EXPECT_EQ(kTable.GetMultiTexture(), NiMultiTextureProperty::GetDefault().Get());
    EXPECT_EQ(kTable.GetZBuffer(), NiZBufferProperty::GetDefault().Get());
    EXPECT_EQ(kTable.GetProperty(-1), nullptr);
    EXPECT_EQ(kTable.GetProperty(NiProperty::MAX_TYPES), nullptr);
}

TEST(NiPropertyTableTest, PropertiesGoToTheSlotOfTheirTypeAndNoSlotEmpties)
{
    NiPropertyTable kTable;
    NiRefPtr<NiAlphaProperty> spFirst = new NiAlphaProperty;
    NiRefPtr<NiAlphaProperty> spSecond = new NiAlphaProperty;
    kTable.SetProperty(spFirst);
    kTable.SetProperty(spSecond);
    kTable.SetProperty(nullptr);
    EXPECT_EQ(kTable.GetAlpha(), spSecond.Get());
    EXPECT_EQ(spFirst->GetRefCount(), 1);
    EXPECT_EQ(spSecond->GetRefCount(), 2);

    // A copy shares the slots; changing it leaves the source alone.
    NiPropertyTable kCopy(kTable);
    EXPECT_EQ(kCopy.GetRefCount(), 0);
    EXPECT_EQ(kCopy.GetAlpha(), spSecond.Get());
    kCopy.SetProperty(spFirst);
    EXPECT_EQ(kTable.GetAlpha(), spSecond.Get());

    kCopy = kTable;
    EXPECT_EQ(kCopy.GetAlpha(), spSecond.Get());
    EXPECT_EQ(spSecond->GetRefCount(), 3);
    kCopy.SetDefaults();
    EXPECT_EQ(kCopy.GetAlpha(), NiAlphaProperty::GetDefault().Get());
    EXPECT_EQ(spSecond->GetRefCount(), 2);
}

TEST(NiPropertyTableTest, GetMaterialCountsEachChangeOnce)
{
    NiPropertyTable kTable;
    NiRefPtr<NiMaterialProperty> spMaterial = new NiMaterialProperty;
    kTable.SetProperty(spMaterial);
    EXPECT_EQ(kTable.GetMaterial(), spMaterial.Get());
    EXPECT_EQ(spMaterial->GetRevision(), 2u);
    EXPECT_FALSE(spMaterial->GetChanged());
    kTable.GetMaterial();
    EXPECT_EQ(spMaterial->GetRevision(), 2u);

    spMaterial->SetChanged(true);
    kTable.GetMaterial();
    kTable.GetMaterial();
    EXPECT_EQ(spMaterial->GetRevision(), 3u);
}

TEST(NiPropertyTableTest, TheLastHolderDestroysTheTableAndReleasesItsProperties)
{
    NiRefPtr<NiAlphaProperty> spAlpha = new NiAlphaProperty;
    NiRefPtr<NiPropertyTable> spTable = new NiPropertyTable;
    spTable->SetProperty(spAlpha);
    NiRefPtr<NiPropertyTable> spShared = spTable;
    EXPECT_EQ(spTable->GetRefCount(), 2);
    spTable = nullptr;
    EXPECT_EQ(spAlpha->GetRefCount(), 2);
    spShared = nullptr;
    EXPECT_EQ(spAlpha->GetRefCount(), 1);
}
