// The weapon and energy weapon properties: group membership, script lines, records, copies.
#include "properties/WeaponProperty.h"
#include "properties/EnergyWeaponProperty.h"
#include "tests/properties/WeaponTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

TEST_F(WeaponTest, GroupMembershipTestsOneBitPerGroupAndGroupZeroAlways)
{
    const struct
    {
        int32_t iMask;
        int32_t iGroup;
        bool bMember;
    } akCases[] = {{0, 0, true},   {0, 1, false},        {5, 1, true},   {5, 2, false},
                   {5, 3, true},   {5, 33, true},        {5, 34, false}, {INT32_MIN, 32, true},
                   {-1, -5, true}, {1, INT32_MIN, false}};
    for (const auto& kCase : akCases)
    {
        WeaponProperty kWeapon;
        kWeapon.SetGroups(kCase.iMask);
        EXPECT_EQ(kWeapon.IsMemberOfGroup(kCase.iGroup), kCase.bMember)
            << "mask " << kCase.iMask << " group " << kCase.iGroup;
    }
}

TEST_F(WeaponTest, ANewEnergyWeaponWritesItsBaseLinesThenItsOwn)
{
    EnergyWeaponProperty kWeapon;
    const std::vector<std::string> kLines = ScriptLines(kWeapon, "Gun");
    const std::vector<std::string> kExpected = {
        "Gun.SetMaxCondition(200.000000)",
        "Gun.SetCritical(0)",
        "Gun.SetTargetable(1)",
        "Gun.SetPrimary(1)",
        "Gun.SetPosition(0.000000, 0.000000, 0.000000)",
        "Gun.SetPosition2D(0.000000, 0.000000)",
        "Gun.SetRepairComplexity(1.000000)",
        "Gun.SetDisabledPercentage(0.500000)",
        "Gun.SetRadius(0.250000)",
        "Gun.SetDumbfire(0)",
        "Gun.SetWeaponID(0)",
        "Gun.SetGroups(0)",
        "Gun.SetDamageRadiusFactor(0.300000)",
        "Gun.SetIconNum(0)",
        "Gun.SetIconPositionX(0.000000)",
        "Gun.SetIconPositionY(0.000000)",
        "Gun.SetIconAboveShip(1)",
        // No sound yet: the line still stands, with an empty text rather than a "(null)" one.
        "Gun.SetFireSound(\"\")",
        "Gun.SetMaxCharge(5.000000)",
        "Gun.SetMaxDamage(25.000000)",
        "Gun.SetMaxDamageDistance(100.000000)",
        "Gun.SetMinFiringCharge(3.000000)",
        "Gun.SetNormalDischargeRate(1.000000)",
        "Gun.SetRechargeRate(0.300000)",
        "Gun.SetIndicatorIconNum(0)",
        "Gun.SetIndicatorIconPositionX(0.000000)",
        "Gun.SetIndicatorIconPositionY(0.000000)",
    };
    EXPECT_EQ(kLines, kExpected);
}

TEST_F(WeaponTest, AFireSoundIsQuotedSafely)
{
    EnergyWeaponProperty kWeapon;
    kWeapon.SetFireSound("sfx\\Weapons\\\"big\" gun.wav");
    const std::vector<std::string> kLines = ScriptLines(kWeapon, "Gun");
    EXPECT_EQ(kLines[17], "Gun.SetFireSound(\"sfx\\\\Weapons\\\\\\\"big\\\" gun.wav\")");
}

TEST_F(WeaponTest, TheWeaponRecordHoldsItsFieldsInOrder)
{
    WeaponProperty kWeapon;
    kWeapon.SetName("W");
    kWeapon.SetDumbfire(true);
    kWeapon.SetWeaponID(7);
    kWeapon.SetGroups(0x0102);
    kWeapon.SetDamageRadiusFactor(0.5f);
    kWeapon.SetIconNum(-2);
    kWeapon.SetIconPositionX(1.0f);
    kWeapon.SetIconPositionY(2.0f);
    kWeapon.SetIconAboveShip(false);
    const std::string kRecord = FileRecord(kWeapon);
    // Base part (16 + 2 bytes of name) and the subsystem part (39 bytes), then the weapon's 26.
    ASSERT_EQ(kRecord.size(), 18u + 39u + 26u);
    const std::string kOwn = kRecord.substr(57);
    const std::string kExpected("\x01"
                                "\x07\x00\x00\x00"
                                "\x02\x01\x00\x00"
                                "\x00\x00\x00\x3f"
                                "\xfe\xff\xff\xff"
                                "\x00\x00\x80\x3f"
                                "\x00\x00\x00\x40"
                                "\x00",
                                26);
    EXPECT_EQ(kOwn, kExpected);
}

TEST_F(WeaponTest, AnEnergyWeaponLoadsBackEveryField)
{
    for (const char* pcSound : {static_cast<const char*>(nullptr), "", "sfx/phaser.wav"})
    {
        EnergyWeaponProperty kWeapon;
        kWeapon.SetName("Energy Weapon");
        kWeapon.SetDumbfire(true);
        kWeapon.SetWeaponID(3);
        kWeapon.SetGroups(-1);
        kWeapon.SetIconNum(4);
        kWeapon.SetMaxCharge(6.5f);
        kWeapon.SetRechargeRate(0.125f);
        kWeapon.SetNormalDischargeRate(2.0f);
        kWeapon.SetMinFiringCharge(1.5f);
        kWeapon.SetMaxDamage(50.0f);
        kWeapon.SetMaxDamageDistance(75.0f);
        kWeapon.SetFireSound(pcSound);
        kWeapon.SetIndicatorIconNum(9);
        kWeapon.SetIndicatorIconPositionX(-3.0f);
        kWeapon.SetIndicatorIconPositionY(4.25f);
        const auto pkCopy = LoadedCopy(kWeapon);
        EXPECT_EQ(FileRecord(*pkCopy).substr(8), FileRecord(kWeapon).substr(8));
        EXPECT_EQ(ScriptLines(*pkCopy, "W"), ScriptLines(kWeapon, "W"));
        if (pcSound)
            EXPECT_STREQ(pkCopy->GetFireSound(), pcSound);
        else
            EXPECT_EQ(pkCopy->GetFireSound(), nullptr);
    }
}

TEST_F(WeaponTest, ATruncatedEnergyWeaponRecordFailsToLoad)
{
    EnergyWeaponProperty kWeapon;
    kWeapon.SetFireSound("a fairly long sound name.wav");
    SKBufferStream kOut;
    kOut.OpenBuffer(4096);
    ASSERT_TRUE(kWeapon.SaveToStream(kOut));
    const int32_t iFull = kOut.GetPos();
    // Cut inside the sound's text, and inside the last float.
    for (int32_t iCut : {iFull - 20, iFull - 2})
    {
        SKBufferStream kIn;
        kIn.AttachBuffer(kOut.GetBuffer(), iCut);
        kIn.ReadInt();
        kIn.ReadID();
        EnergyWeaponProperty kCopy;
        EXPECT_FALSE(kCopy.LoadFromStream(kIn)) << "cut at " << iCut;
    }
}

TEST_F(WeaponTest, SetFireSoundKeepsItsOwnCopy)
{
    EnergyWeaponProperty kWeapon;
    std::string kSound = "sfx/a.wav";
    kWeapon.SetFireSound(kSound.c_str());
    kSound[4] = 'X';
    EXPECT_STREQ(kWeapon.GetFireSound(), "sfx/a.wav");
    kWeapon.SetFireSound(kWeapon.GetFireSound());
    EXPECT_STREQ(kWeapon.GetFireSound(), "sfx/a.wav");
    kWeapon.SetFireSound(nullptr);
    EXPECT_EQ(kWeapon.GetFireSound(), nullptr);
}

TEST_F(WeaponTest, APlainWeaponHasNoDuplicateAndAnEnergyWeaponAnIndependentOne)
{
    auto* pkWeapon = WeaponProperty::Create("Plain");
    EXPECT_EQ(pkWeapon->Duplicate(), nullptr);
    pkWeapon->DecRefCount();

    auto* pkEnergy = EnergyWeaponProperty::Create("Beam");
    pkEnergy->SetFireSound("one.wav");
    pkEnergy->SetMaxDamage(99.0f);
    pkEnergy->IncRefCount();
    auto* pkCopy = static_cast<EnergyWeaponProperty*>(pkEnergy->Duplicate());
    ASSERT_NE(pkCopy, nullptr);
    EXPECT_NE(pkCopy->GetObjID(), pkEnergy->GetObjID());
    EXPECT_EQ(pkCopy->GetRefCount(), 1);
    EXPECT_EQ(pkCopy->GetName(), SKString("Beam"));
    EXPECT_EQ(pkCopy->GetMaxDamage(), 99.0f);
    pkEnergy->SetFireSound("two.wav");
    EXPECT_STREQ(pkCopy->GetFireSound(), "one.wav");
    pkCopy->DecRefCount();
    pkEnergy->DecRefCount();
    pkEnergy->DecRefCount();
    EXPECT_EQ(NewObjects(), 0);
}

TEST_F(WeaponTest, TypesAnswerTheirAncestors)
{
    EnergyWeaponProperty kEnergy;
    EXPECT_TRUE(kEnergy.IsTypeOf(0x8131));
    EXPECT_TRUE(kEnergy.IsTypeOf(0x8130));
    EXPECT_TRUE(kEnergy.IsTypeOf(0x812b));
    EXPECT_TRUE(kEnergy.IsTypeOf(0x601));
    EXPECT_TRUE(kEnergy.IsTypeOf(2));
    EXPECT_FALSE(kEnergy.IsTypeOf(0x812c));
    EXPECT_EQ(WeaponProperty::Cast(&kEnergy), &kEnergy);
    WeaponProperty kWeapon;
    EXPECT_EQ(EnergyWeaponProperty::Cast(&kWeapon), nullptr);
    EXPECT_STREQ(kEnergy.GetShadowClassName(), "EnergyWeaponPropertyPtr");
}
