// The phaser, the pulse weapon and the tractor beam: defaults, script lines, records, orientation
// and copies.
#include "properties/PhaserProperty.h"
#include "properties/PulseWeaponProperty.h"
#include "properties/TractorBeamProperty.h"
#include "tests/properties/WeaponTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace
{
// The lines after the 27 energy-weapon lines.
std::vector<std::string> OwnLines(SKModelProperty& kProperty, const char* pcVariable)
{
    std::vector<std::string> kLines = ScriptLines(kProperty, pcVariable);
    EXPECT_GE(kLines.size(), 27u);
    kLines.erase(kLines.begin(), kLines.begin() + 27);
    return kLines;
}

int32_t IntAt(const std::string& kBytes, size_t uiOffset)
{
    int32_t iValue = 0;
    std::memcpy(&iValue, kBytes.data() + uiOffset, sizeof(iValue));
    return iValue;
}

void ExpectPoint(const NiPoint3& kActual, float fX, float fY, float fZ)
{
    EXPECT_FLOAT_EQ(kActual.x, fX);
    EXPECT_FLOAT_EQ(kActual.y, fY);
    EXPECT_FLOAT_EQ(kActual.z, fZ);
}
} // namespace

TEST_F(WeaponTest, ANewPhaserWritesItsThirtyTwoLines)
{
    auto* pkPhaser = PhaserProperty::Create("Phaser 1");
    const std::vector<std::string> kAll = ScriptLines(*pkPhaser, "Phaser1");
    EXPECT_EQ(kAll[12], "Phaser1.SetDamageRadiusFactor(0.250000)");
    const std::vector<std::string> kExpected = {
        "Phaser1Forward = App.SKPoint3()",
        "Phaser1Forward.SetXYZ(0.000000, 1.000000, 0.000000)",
        "Phaser1Up = App.SKPoint3()",
        "Phaser1Up.SetXYZ(0.000000, 0.000000, 1.000000)",
        "Phaser1.SetOrientation(Phaser1Forward, Phaser1Up)",
        "Phaser1.SetWidth(1.800000)",
        "Phaser1.SetLength(1.400000)",
        "Phaser1.SetArcWidthAngles(-1.963495, 1.963495)",
        "Phaser1.SetArcHeightAngles(-0.098175, 2.356194)",
        "Phaser1.SetPhaserTextureStart(0)",
        "Phaser1.SetPhaserTextureEnd(0)",
        "Phaser1.SetPhaserWidth(0.300000)",
        "kColor = App.SKColorA()",
        "kColor.SetRGBA(1.000000, 0.172549, 0.007843, 1.000000)",
        "Phaser1.SetOuterShellColor(kColor)",
        "kColor.SetRGBA(1.000000, 0.172549, 0.007843, 1.000000)",
        "Phaser1.SetInnerShellColor(kColor)",
        "kColor.SetRGBA(0.992157, 0.835294, 0.639216, 1.000000)",
        "Phaser1.SetOuterCoreColor(kColor)",
        "kColor.SetRGBA(0.992157, 0.901961, 0.862745, 1.000000)",
        "Phaser1.SetInnerCoreColor(kColor)",
        "Phaser1.SetNumSides(6)",
        "Phaser1.SetMainRadius(0.150000)",
        "Phaser1.SetTaperRadius(0.010000)",
        "Phaser1.SetCoreScale(0.500000)",
        "Phaser1.SetTaperRatio(0.250000)",
        "Phaser1.SetTaperMinLength(5.000000)",
        "Phaser1.SetTaperMaxLength(30.000000)",
        "Phaser1.SetLengthTextureTilePerUnit(0.500000)",
        "Phaser1.SetPerimeterTile(1.000000)",
        "Phaser1.SetTextureSpeed(2.500000)",
        "Phaser1.SetTextureName(\"data/phaser.tga\")",
    };
    EXPECT_EQ(OwnLines(*pkPhaser, "Phaser1"), kExpected);
    pkPhaser->DecRefCount();
}

TEST_F(WeaponTest, ANewPulseWeaponWritesItsNineLines)
{
    PulseWeaponProperty kPulse;
    const std::vector<std::string> kAll = ScriptLines(kPulse, "Pulse");
    EXPECT_EQ(kAll[9], "Pulse.SetDumbfire(1)");
    EXPECT_EQ(kAll[12], "Pulse.SetDamageRadiusFactor(0.300000)");
    const std::vector<std::string> kExpected = {
        "PulseForward = App.SKPoint3()",
        "PulseForward.SetXYZ(0.000000, 1.000000, 0.000000)",
        "PulseUp = App.SKPoint3()",
        "PulseUp.SetXYZ(0.000000, 0.000000, 1.000000)",
        "Pulse.SetOrientation(PulseForward, PulseUp)",
        "Pulse.SetArcWidthAngles(-1.963495, 1.963495)",
        "Pulse.SetArcHeightAngles(-0.098175, 2.356194)",
        "Pulse.SetCooldownTime(0.300000)",
        "Pulse.SetModuleName(\"\")",
    };
    EXPECT_EQ(OwnLines(kPulse, "Pulse"), kExpected);
}

TEST_F(WeaponTest, ANewTractorBeamWritesItsThirtyOneLines)
{
    TractorBeamProperty kTractor;
    const std::vector<std::string> kExpected = {
        "TForward = App.SKPoint3()",
        "TForward.SetXYZ(0.000000, 1.000000, 0.000000)",
        "TUp = App.SKPoint3()",
        "TUp.SetXYZ(0.000000, 0.000000, 1.000000)",
        "T.SetOrientation(TForward, TUp)",
        "T.SetArcWidthAngles(-1.963495, 1.963495)",
        "T.SetArcHeightAngles(-0.098175, 2.356194)",
        "T.SetTractorBeamWidth(0.300000)",
        "T.SetTextureStart(0)",
        "T.SetTextureEnd(0)",
        "T.SetTextureName(\"data/Textures/Tactical/TractorBeam.tga\")",
        "kColor = App.SKColorA()",
        "kColor.SetRGBA(0.400000, 0.400000, 1.000000, 1.000000)",
        "T.SetOuterShellColor(kColor)",
        "kColor.SetRGBA(0.400000, 0.400000, 1.000000, 1.000000)",
        "T.SetInnerShellColor(kColor)",
        "kColor.SetRGBA(0.400000, 0.400000, 1.000000, 1.000000)",
        "T.SetOuterCoreColor(kColor)",
        "kColor.SetRGBA(0.400000, 0.400000, 1.000000, 1.000000)",
        "T.SetInnerCoreColor(kColor)",
        "T.SetNumSides(12)",
        "T.SetMainRadius(0.075000)",
        "T.SetTaperRadius(0.000000)",
        "T.SetCoreScale(0.450000)",
        "T.SetTaperRatio(0.200000)",
        "T.SetTaperMinLength(1.000000)",
        "T.SetTaperMaxLength(5.000000)",
        "T.SetLengthTextureTilePerUnit(0.250000)",
        "T.SetPerimeterTile(1.000000)",
        "T.SetTextureSpeed(0.200000)",
        "T.SetTextureName(\"data/Textures/Tactical/TractorBeam.tga\")",
    };
    EXPECT_EQ(OwnLines(kTractor, "T"), kExpected);
    kTractor.SetTractorBeamWidth(1.0f);
    EXPECT_FLOAT_EQ(kTractor.GetMainRadius(), 0.075f);
}

TEST_F(WeaponTest, ACrossedTextureNameIsWrittenAsEmptyQuotes)
{
    PhaserProperty kPhaser;
    kPhaser.SetTextureName(nullptr);
    EXPECT_EQ(kPhaser.GetTextureName(), nullptr);
    EXPECT_EQ(OwnLines(kPhaser, "P").back(), "P.SetTextureName(\"\")");
    PulseWeaponProperty kPulse;
    kPulse.SetModuleName(nullptr);
    EXPECT_EQ(OwnLines(kPulse, "P").back(), "P.SetModuleName(\"\")");
}

TEST_F(WeaponTest, RightIsForwardCrossUp)
{
    PhaserProperty kPhaser;
    kPhaser.SetOrientation(NiPoint3(1.0f, 0.0f, 0.0f), NiPoint3(0.0f, 0.0f, 1.0f));
    ExpectPoint(kPhaser.GetOrientationRight(), 0.0f, -1.0f, 0.0f);
    TractorBeamProperty kTractor;
    kTractor.SetOrientation(NiPoint3(0.0f, 2.0f, 0.0f), NiPoint3(0.0f, 0.0f, 3.0f));
    ExpectPoint(kTractor.GetOrientationRight(), 6.0f, 0.0f, 0.0f);
    ExpectPoint(kTractor.GetOrientationForward(), 0.0f, 2.0f, 0.0f);
}

TEST_F(WeaponTest, ThePhaserRecordReordersExtentAndEndsWith45)
{
    PhaserProperty kPhaser;
    EnergyWeaponProperty kEnergy;
    const size_t uiEnergy = FileRecord(kEnergy).size();
    const std::string kRecord = FileRecord(kPhaser);
    // 180 bytes of own fields before the texture name's 4-byte length, then "data/phaser.tga\0".
    const std::string kTexture("data/phaser.tga");
    ASSERT_EQ(kRecord.size(), uiEnergy + 180 + 4 + kTexture.size() + 1 + 4);
    const size_t uiOwn = uiEnergy;
    EXPECT_EQ(IntAt(kRecord, uiOwn), 0); // the display node reference
    float fWidth = 0.0f;
    std::memcpy(&fWidth, kRecord.data() + uiOwn + 4 + 16 + 36 + 8 + 4, sizeof(fWidth));
    EXPECT_EQ(fWidth, 1.8f);
    EXPECT_EQ(IntAt(kRecord, uiOwn + 180), static_cast<int32_t>(kTexture.size() + 1));
    EXPECT_EQ(kRecord.substr(uiOwn + 184, kTexture.size() + 1), kTexture + '\0');
    EXPECT_EQ(IntAt(kRecord, kRecord.size() - 4), 45);
}

TEST_F(WeaponTest, ATractorRecordIsTwelveBytesShorterThanAPhaserRecord)
{
    PhaserProperty kPhaser;
    TractorBeamProperty kTractor;
    kTractor.SetTextureName(kPhaser.GetTextureName());
    EXPECT_EQ(FileRecord(kTractor).size() + 12, FileRecord(kPhaser).size());
    PulseWeaponProperty kPulse;
    EnergyWeaponProperty kEnergy;
    // Reference, arcs, orientation, cooldown, and the empty module name (length 1 and its zero).
    EXPECT_EQ(FileRecord(kPulse).size(), FileRecord(kEnergy).size() + 4 + 16 + 36 + 4 + 5);
}

TEST_F(WeaponTest, ArcWeaponsLoadBackEveryField)
{
    PhaserProperty kPhaser;
    kPhaser.SetName("Dorsal Phaser");
    kPhaser.SetPosition(1.0f, 2.0f, 3.0f);
    kPhaser.SetOrientation(NiPoint3(0.0f, 0.0f, 1.0f), NiPoint3(0.0f, -1.0f, 0.0f));
    kPhaser.SetArcWidthAngles(-0.5f, 0.75f);
    kPhaser.SetArcHeightAngles(-0.25f, 1.5f);
    kPhaser.SetWidth(2.5f);
    kPhaser.SetLength(0.5f);
    kPhaser.SetPhaserWidth(0.125f);
    kPhaser.SetPhaserTextureStart(2);
    kPhaser.SetPhaserTextureEnd(5);
    kPhaser.SetOuterShellColor(NiColorA(0.1f, 0.2f, 0.3f, 0.4f));
    kPhaser.SetInnerCoreColor(NiColorA(0.5f, 0.6f, 0.7f, 0.8f));
    kPhaser.SetNumSides(8);
    kPhaser.SetTaperMaxLength(12.0f);
    kPhaser.SetTextureName("data/Textures/beam.tga");
    kPhaser.SetFireSound("phaser.wav");
    auto pkPhaser = LoadedCopy(kPhaser);
    EXPECT_EQ(ScriptLines(*pkPhaser, "P"), ScriptLines(kPhaser, "P"));
    EXPECT_EQ(FileRecord(*pkPhaser).substr(8), FileRecord(kPhaser).substr(8));

    PulseWeaponProperty kPulse;
    kPulse.SetCooldownTime(1.25f);
    kPulse.SetModuleName("Tactical.Projectiles.PulseDisruptor");
    kPulse.SetArcHeightAngles(0.0f, 0.5f);
    auto pkPulse = LoadedCopy(kPulse);
    EXPECT_EQ(ScriptLines(*pkPulse, "P"), ScriptLines(kPulse, "P"));
    EXPECT_STREQ(pkPulse->GetModuleName(), "Tactical.Projectiles.PulseDisruptor");

    TractorBeamProperty kTractor;
    kTractor.SetTractorBeamWidth(0.75f);
    kTractor.SetTextureStart(1);
    kTractor.SetTextureEnd(3);
    kTractor.SetMainRadius(0.5f);
    kTractor.SetTextureName(nullptr);
    auto pkTractor = LoadedCopy(kTractor);
    EXPECT_EQ(ScriptLines(*pkTractor, "T"), ScriptLines(kTractor, "T"));
    EXPECT_EQ(pkTractor->GetTextureName(), nullptr);
    EXPECT_EQ(FileRecord(*pkTractor).substr(8), FileRecord(kTractor).substr(8));
}

TEST_F(WeaponTest, ALoadedDisplayNodeReferenceNeverBreaksTheLoad)
{
    PulseWeaponProperty kPulse;
    SKBufferStream kOut;
    kOut.OpenBuffer(4096);
    ASSERT_TRUE(kPulse.SaveToStream(kOut));
    // Put a reference where the record keeps it, as a file saved by an older editor may hold.
    const std::string kEnergy = FileRecord(EnergyWeaponProperty());
    SKBufferStream kEnergyOut;
    kEnergyOut.OpenBuffer(4096);
    ASSERT_TRUE(EnergyWeaponProperty().SaveToStream(kEnergyOut));
    const int32_t iReference = 0x1234;
    std::memcpy(kOut.GetBuffer() + kEnergyOut.GetPos(), &iReference, sizeof(iReference));
    SKBufferStream kIn;
    kIn.AttachBuffer(kOut.GetBuffer(), kOut.GetPos());
    kIn.ReadInt();
    kIn.ReadID();
    PulseWeaponProperty kLoaded;
    ASSERT_TRUE(kLoaded.LoadFromStream(kIn));
    EXPECT_EQ(kLoaded.GetLoadedDisplayNodeRef(), 0x1234);
    EXPECT_TRUE(kLoaded.CheckLinks());
    kLoaded.ResolveLinks();
    EXPECT_EQ(kLoaded.GetLoadedDisplayNodeRef(), 0);
    EXPECT_FLOAT_EQ(kLoaded.GetArcWidthAngleMax(), 1.9634955f);
}

TEST_F(WeaponTest, CopiesRecomputeRightAndKeepTheirOwnTexts)
{
    auto* pkPhaser = PhaserProperty::Create("Phaser");
    pkPhaser->SetOrientation(NiPoint3(1.0f, 0.0f, 0.0f), NiPoint3(0.0f, 0.0f, 1.0f));
    pkPhaser->SetWidth(3.0f);
    pkPhaser->SetLength(4.0f);
    pkPhaser->SetArcHeightAngles(0.1f, 0.2f);
    pkPhaser->SetPhaserTextureEnd(4);
    pkPhaser->SetTextureName("a.tga");
    // A record with an inconsistent right, as a hand-made file could hold.
    auto pkLoaded = LoadedCopy(*pkPhaser);
    auto* pkCopy = static_cast<PhaserProperty*>(pkPhaser->Duplicate());
    ASSERT_NE(pkCopy, nullptr);
    ExpectPoint(pkCopy->GetOrientationRight(), 0.0f, -1.0f, 0.0f);
    EXPECT_EQ(pkCopy->GetWidth(), 3.0f);
    EXPECT_EQ(pkCopy->GetLength(), 4.0f);
    EXPECT_EQ(pkCopy->GetArcHeightAngleMax(), 0.2f);
    EXPECT_EQ(pkCopy->GetPhaserTextureEnd(), 4);
    pkPhaser->SetTextureName("b.tga");
    EXPECT_STREQ(pkCopy->GetTextureName(), "a.tga");
    EXPECT_EQ(ScriptLines(*pkCopy, "P"), ScriptLines(*pkLoaded, "P"));
    pkCopy->DecRefCount();
    pkPhaser->DecRefCount();

    auto* pkPulse = PulseWeaponProperty::Create("Pulse");
    pkPulse->SetModuleName("m1");
    auto* pkPulseCopy = static_cast<PulseWeaponProperty*>(pkPulse->Duplicate());
    pkPulse->SetModuleName("m2");
    EXPECT_STREQ(pkPulseCopy->GetModuleName(), "m1");
    pkPulseCopy->DecRefCount();
    pkPulse->DecRefCount();

    auto* pkTractor = TractorBeamProperty::Create("Tractor");
    pkTractor->SetTractorBeamWidth(2.0f);
    auto* pkTractorCopy = static_cast<TractorBeamProperty*>(pkTractor->Duplicate());
    EXPECT_EQ(ScriptLines(*pkTractorCopy, "T"), ScriptLines(*pkTractor, "T"));
    pkTractorCopy->DecRefCount();
    pkTractor->DecRefCount();
    pkLoaded.reset();
    EXPECT_EQ(NewObjects(), 0);
}

TEST_F(WeaponTest, ArcWeaponTypesAnswerTheEnergyWeaponChain)
{
    PhaserProperty kPhaser;
    PulseWeaponProperty kPulse;
    TractorBeamProperty kTractor;
    for (SKModelProperty* pkProperty : std::initializer_list<SKModelProperty*>{&kPhaser, &kPulse, &kTractor})
    {
        for (int32_t iType : {0x8131, 0x8130, 0x812b, 0x601, 2})
            EXPECT_TRUE(pkProperty->IsTypeOf(iType)) << pkProperty->GetObjTypeName() << " " << iType;
        EXPECT_FALSE(pkProperty->IsTypeOf(0x812c));
    }
    EXPECT_EQ(kPhaser.GetObjType(), 0x8132);
    EXPECT_EQ(kPulse.GetObjType(), 0x8135);
    EXPECT_EQ(kTractor.GetObjType(), 0x8136);
    EXPECT_EQ(PhaserProperty::Cast(&kPulse), nullptr);
    EXPECT_EQ(TractorBeamProperty::Cast(&kTractor), &kTractor);
    EXPECT_FALSE(kPhaser.IsTypeOf(0x8136));
}
