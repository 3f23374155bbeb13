// Field declarations: every declared field of every property class reaches the record, the script
// text, copying and comparing; the page units; reading and writing a field by its declaration.
#include "properties/SKPropertyField.h"
#include "core/SKBufferStream.h"
#include "properties/ArcWeaponProperty.h"
#include "properties/PropertyTypeRegistry.h"
#include "properties/PulseWeaponProperty.h"
#include "properties/SKFieldSet.h"
#include "properties/SKModelProperty.h"
#include "tests/properties/PropertyTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace
{
// A value of the field's type other than the given one.
SKPropertyField::Value Changed(const SKPropertyField::Value& kValue)
{
    if (const bool* pbValue = std::get_if<bool>(&kValue))
        return !*pbValue;
    if (const int32_t* piValue = std::get_if<int32_t>(&kValue))
        return *piValue + 1;
    if (const float* pfValue = std::get_if<float>(&kValue))
        return *pfValue + 1.5f;
    if (const NiPoint3* pkPoint = std::get_if<NiPoint3>(&kValue))
        return NiPoint3(pkPoint->x + 1.0f, pkPoint->y - 2.0f, pkPoint->z + 3.0f);
    if (const NiColorA* pkColor = std::get_if<NiColorA>(&kValue))
        return NiColorA(pkColor->r * 0.5f, pkColor->g * 0.25f + 0.5f, 0.125f, pkColor->a * 0.5f);
    if (std::holds_alternative<SKPropertyField::Text>(kValue))
        return SKPropertyField::Text("changed \"text\"");
    return SKString("changed;chain");
}

// Loads the property's record into a new property of its class.
SKModelProperty* LoadedCopy(const PropertyTypeEntry& kEntry, const SKModelProperty& kProperty)
{
    std::vector<uint8_t> kBytes = PropertyRecord(kProperty);
    SKBufferStream kStream;
    kStream.AttachBuffer(kBytes.data(), static_cast<int32_t>(kBytes.size()));
    kStream.ReadInt();
    kStream.ReadID();
    SKModelProperty* pkCopy = kEntry.pfnCreate("Loaded");
    EXPECT_TRUE(pkCopy->LoadFromStream(kStream));
    EXPECT_EQ(kStream.GetPos(), static_cast<int32_t>(kBytes.size()));
    return pkCopy;
}
} // namespace

// For each class and each field it declares: changing the field alone changes the record, the
// script text (when the field has a line) and the comparison; the record loads it back and a copy
// takes it. A field missing from the record, the lines or the copy fails here.
TEST_F(PropertyTest, EveryDeclaredFieldReachesTheRecordTheScriptAndTheCopy)
{
    RegisterPropertyTypes();
    int32_t iFields = 0;
    for (const PropertyTypeEntry& kEntry : GetPropertyTypes())
    {
        if (!kEntry.pfnFieldSet)
            continue;
        for (const SKPropertyField* pkField : kEntry.pfnFieldSet().GetFields())
        {
            SCOPED_TRACE(std::string(kEntry.pcClassName) + "." + pkField->GetName());
            iFields++;
            SKModelProperty* pkProperty = kEntry.pfnCreate("Mount");
            SKModelProperty* pkCopy = kEntry.pfnCreate("Mount");
            ASSERT_TRUE(pkProperty->HasEqualFields(*pkCopy));
            const std::vector<uint8_t> kRecord = PropertyRecord(*pkProperty);
            const std::string kScript = PropertyScript(*pkProperty);

            const SKPropertyField::Value kValue = Changed(pkField->Get(*pkProperty));
            ASSERT_TRUE(pkField->Set(*pkProperty, kValue));
            EXPECT_EQ(pkField->Get(*pkProperty), kValue);
            EXPECT_FALSE(pkProperty->HasEqualFields(*pkCopy));
            EXPECT_NE(PropertyRecord(*pkProperty), kRecord);
            if (pkField->GetScriptForm() != SKPropertyField::NO_LINE)
            {
                EXPECT_NE(PropertyScript(*pkProperty), kScript);
            }

            SKModelProperty* pkLoaded = LoadedCopy(kEntry, *pkProperty);
            EXPECT_EQ(pkField->Get(*pkLoaded), kValue);
            ASSERT_TRUE(pkCopy->CopyFrom(pkProperty));
            // The arc weapons derive right from forward and up when they copy.
            const std::string kName = pkField->GetName();
            const bool bArcAxis = dynamic_cast<ArcWeaponProperty*>(pkProperty) &&
                                  (kName == "Forward" || kName == "Up" || kName == "Right");
            EXPECT_TRUE(bArcAxis || pkCopy->HasEqualFields(*pkProperty));
            if (!bArcAxis || kName != "Right")
            {
                EXPECT_EQ(pkField->Get(*pkCopy), kValue);
            }
            pkLoaded->DecRefCount();
            pkCopy->DecRefCount();
            pkProperty->DecRefCount();
        }
    }
    EXPECT_GT(iFields, 100);
    SKObject::FixupLoadedObjects();
    EXPECT_EQ(NewObjects(), 0);
}

// The classes that add no fields declare none of their own; a walk through the bases collects
// every field of a class.
TEST(PropertyFieldDeclarations, AClassesFieldsAreItsLevelsFieldSets)
{
    for (int32_t iType : {0x8138, 0x813b, 0x8140, 0x8141, 0x8142})
        EXPECT_EQ(FindPropertyType(iType)->pfnFieldSet, nullptr) << iType;

    std::vector<std::string> kNames;
    for (const PropertyTypeEntry* pkEntry = FindPropertyType(PulseWeaponProperty::TYPE_ID); pkEntry;
         pkEntry = FindPropertyType(pkEntry->iBaseTypeID))
    {
        if (pkEntry->pfnFieldSet)
            kNames.push_back(pkEntry->pfnFieldSet().GetFields().front()->GetName());
    }
    EXPECT_EQ(kNames, (std::vector<std::string>{"Forward", "FireSound", "Dumbfire", "MaxCondition"}));
}

// What a page does with a field: find it, show it in its unit, write a typed value back; a value of
// another type is refused.
TEST(PropertyFieldDeclarations, APageReadsAndWritesAFieldInItsUnit)
{
    PulseWeaponProperty kPulse;
    kPulse.SetArcWidthAngles(-3.1415927f / 4.0f, 3.1415927f / 4.0f);
    const SKPropertyField* pkEnd = PulseWeaponProperty::GetFieldSet().Find("ArcWidthAngleMax");
    ASSERT_NE(pkEnd, nullptr);
    EXPECT_EQ(pkEnd->GetUnit(), SKPropertyField::DEGREES);
    EXPECT_NEAR(SKPropertyField::ToPage(std::get<float>(pkEnd->Get(kPulse)), pkEnd->GetUnit()), 45.0f, 1e-4f);
    EXPECT_TRUE(pkEnd->Set(kPulse, SKPropertyField::FromPage(90.0f, pkEnd->GetUnit())));
    EXPECT_EQ(kPulse.GetArcWidthAngleMax(), 90.0f * 3.1415927f * 0.0055555557f);
    EXPECT_FALSE(pkEnd->Set(kPulse, int32_t{3}));
    EXPECT_EQ(kPulse.GetArcWidthAngleMax(), 90.0f * 3.1415927f * 0.0055555557f);
    EXPECT_EQ(PulseWeaponProperty::GetFieldSet().Find("NoSuchField"), nullptr);

    const SKPropertyField* pkType = FindPropertyType(0x812f)->pfnFieldSet().Find("WeaponSystemType");
    ASSERT_NE(pkType, nullptr);
    EXPECT_EQ(pkType->GetChoices().size(), 5u);
    EXPECT_EQ(pkType->GetMinimum(), -1.0f);
    EXPECT_EQ(pkType->GetMaximum(), 4.0f);
    EXPECT_STREQ(pkType->GetConstantName(3), "WST_PULSE");
    EXPECT_STREQ(pkType->GetConstantName(9), "WST_UNKNOWN");
}

TEST(PropertyFieldDeclarations, PageUnitsConvertBothWays)
{
    struct Case
    {
        SKPropertyField::Unit eUnit;
        int32_t iComponent;
        float fStored;
        float fShown;
        float fWrittenBack;
    };
    const Case akCases[] = {
        {SKPropertyField::AS_STORED, 0, 0.5f, 0.5f, 0.5f},
        {SKPropertyField::DEGREES, 0, 3.1415927f, 180.0f, 3.1415927f},
        // Colour bytes floor: 0.5 shows 127 and goes back as 127/255.
        {SKPropertyField::COLOR_BYTES, 0, 0.5f, 127.0f, 127.0f * 0.003921569f},
        {SKPropertyField::COLOR_BYTES, 3, 1.0f, 255.0f, 255.0f * 0.003921569f},
        // The blinking light scales red, green and blue without flooring and keeps alpha.
        {SKPropertyField::COLOR_RGB_SCALED, 1, 0.5f, 127.5f, 127.5f * 0.003921569f},
        {SKPropertyField::COLOR_RGB_SCALED, 3, 0.25f, 0.25f, 0.25f},
    };
    for (const Case& kCase : akCases)
    {
        const float fShown = SKPropertyField::ToPage(kCase.fStored, kCase.eUnit, kCase.iComponent);
        EXPECT_NEAR(fShown, kCase.fShown, 1e-4f) << kCase.eUnit << " " << kCase.iComponent;
        EXPECT_EQ(SKPropertyField::FromPage(fShown, kCase.eUnit, kCase.iComponent), kCase.fWrittenBack)
            << kCase.eUnit << " " << kCase.iComponent;
    }
}
