// Weapon systems, torpedo systems and their ammunition types (the torpedo scripts answered by a
// fake script bridge; the interpreter's side is tested under tests/scripting).
#include "properties/WeaponSystemProperty.h"
#include "properties/TorpedoAmmoType.h"
#include "properties/TorpedoSystemProperty.h"
#include "tests/properties/WeaponTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace
{
// The lines after the ten powered-subsystem lines.
std::vector<std::string> OwnLines(SKModelProperty& kProperty, const char* pcVariable)
{
    std::vector<std::string> kLines = ScriptLines(kProperty, pcVariable);
    kLines.erase(kLines.begin(), kLines.begin() + 10);
    return kLines;
}
} // namespace

TEST_F(WeaponTest, ANewWeaponSystemWritesTypeFlagsAndFiringChain)
{
    WeaponSystemProperty kSystem;
    const std::vector<std::string> kExpected = {
        "Sys.SetWeaponSystemType(Sys.WST_UNKNOWN)",
        "Sys.SetSingleFire(1)",
        "Sys.SetAimedWeapon(0)",
        "kFiringChainString = App.SKString()",
        "kFiringChainString.SetString(\"\")",
        "Sys.SetFiringChainString(kFiringChainString)",
    };
    EXPECT_EQ(OwnLines(kSystem, "Sys"), kExpected);
}

TEST_F(WeaponTest, TheTypeLineNamesTheTypeOrUnknown)
{
    const struct
    {
        int32_t iType;
        const char* pcLine;
    } akCases[] = {{0, "S.SetWeaponSystemType(S.WST_UNKNOWN)"}, {1, "S.SetWeaponSystemType(S.WST_PHASER)"},
                   {2, "S.SetWeaponSystemType(S.WST_TORPEDO)"}, {3, "S.SetWeaponSystemType(S.WST_PULSE)"},
                   {4, "S.SetWeaponSystemType(S.WST_TRACTOR)"}, {7, "S.SetWeaponSystemType(S.WST_UNKNOWN)"},
                   {-1, "S.SetWeaponSystemType(S.WST_UNKNOWN)"}};
    for (const auto& kCase : akCases)
    {
        WeaponSystemProperty kSystem;
        kSystem.SetWeaponSystemType(kCase.iType);
        const std::vector<std::string> kLines = OwnLines(kSystem, "S");
        ASSERT_EQ(kLines.size(), 6u);
        EXPECT_EQ(kLines[0], kCase.pcLine);
        EXPECT_EQ(kLines[1], "S.SetSingleFire(1)");
    }
}

TEST_F(WeaponTest, TheFiringChainIsWrittenAsEscapedBytes)
{
    WeaponSystemProperty kSystem;
    SKString kChain("1;2 \"x\"\\");
    kChain += u"\u0101";
    kSystem.SetFiringChainString(kChain);
    EXPECT_EQ(OwnLines(kSystem, "S")[4], "kFiringChainString.SetString(\"1;2 \\\"x\\\"\\\\\\x01\")");
}

TEST_F(WeaponTest, AWeaponSystemLoadsBackEveryField)
{
    WeaponSystemProperty kSystem;
    kSystem.SetName("Phasers");
    kSystem.SetWeaponSystemType(WeaponSystemProperty::WST_PULSE);
    kSystem.SetSingleFire(false);
    kSystem.SetAimedWeapon(true);
    kSystem.SetFiringChainString(SKString("0;1;2"));
    kSystem.SetNormalPowerPerSecond(250.0f);
    const auto pkCopy = LoadedCopy(kSystem);
    EXPECT_EQ(pkCopy->GetWeaponSystemType(), WeaponSystemProperty::WST_PULSE);
    EXPECT_FALSE(pkCopy->IsSingleFire());
    EXPECT_TRUE(pkCopy->IsAimedWeapon());
    EXPECT_EQ(pkCopy->GetFiringChainString(), SKString("0;1;2"));
    EXPECT_EQ(FileRecord(*pkCopy).substr(8), FileRecord(kSystem).substr(8));
}

TEST_F(WeaponTest, ANewTorpedoSystemWritesOneAmmoTypeWithoutAModule)
{
    TorpedoSystemProperty kSystem;
    EXPECT_EQ(kSystem.GetWeaponSystemType(), WeaponSystemProperty::WST_TORPEDO);
    const std::vector<std::string> kLines = OwnLines(kSystem, "Torps");
    const std::vector<std::string> kExpected = {
        "Torps.SetWeaponSystemType(Torps.WST_TORPEDO)",
        "Torps.SetSingleFire(1)",
        "Torps.SetAimedWeapon(0)",
        "kFiringChainString = App.SKString()",
        "kFiringChainString.SetString(\"\")",
        "Torps.SetFiringChainString(kFiringChainString)",
        "Torps.SetMaxTorpedoes(0, 400)",
        "Torps.SetTorpedoScript(0, \"\")",
        "Torps.SetNumAmmoTypes(1)",
    };
    EXPECT_EQ(kLines, kExpected);

    // Run back, the empty name sets no module and asks nothing.
    FakeScriptBridge kBridge;
    kSystem.SetTorpedoScript(0, "Photon");
    kSystem.SetTorpedoScript(0, "");
    EXPECT_EQ(kSystem.GetTorpedoScript(0), nullptr);
    EXPECT_EQ(kBridge.Calls(), 2);
}

TEST_F(WeaponTest, TorpedoLinesFollowTheNumberOfAmmoTypes)
{
    FakeScriptBridge kBridge;
    TorpedoSystemProperty kSystem;
    for (int32_t iIndex = 0; iIndex < 4; iIndex++)
    {
        kSystem.SetMaxTorpedoes(iIndex, 10 * (iIndex + 1));
        kSystem.SetTorpedoScript(iIndex, ("Tactical.Torp" + std::to_string(iIndex)).c_str());
    }
    const struct
    {
        int32_t iCount;
        std::vector<std::string> kAmmoLines;
    } akCases[] = {
        {3,
         {"T.SetMaxTorpedoes(0, 10)", "T.SetTorpedoScript(0, \"Tactical.Torp0\")", "T.SetMaxTorpedoes(1, 20)",
          "T.SetTorpedoScript(1, \"Tactical.Torp1\")", "T.SetMaxTorpedoes(2, 30)",
          "T.SetTorpedoScript(2, \"Tactical.Torp2\")", "T.SetNumAmmoTypes(3)"}},
        {0, {"T.SetNumAmmoTypes(0)"}},
        {-2, {"T.SetNumAmmoTypes(-2)"}},
        {9,
         {"T.SetMaxTorpedoes(0, 10)", "T.SetTorpedoScript(0, \"Tactical.Torp0\")", "T.SetMaxTorpedoes(1, 20)",
          "T.SetTorpedoScript(1, \"Tactical.Torp1\")", "T.SetMaxTorpedoes(2, 30)",
          "T.SetTorpedoScript(2, \"Tactical.Torp2\")", "T.SetMaxTorpedoes(3, 40)",
          "T.SetTorpedoScript(3, \"Tactical.Torp3\")", "T.SetNumAmmoTypes(9)"}},
    };
    for (const auto& kCase : akCases)
    {
        kSystem.SetNumAmmoTypes(kCase.iCount);
        std::vector<std::string> kLines = OwnLines(kSystem, "T");
        kLines.erase(kLines.begin(), kLines.begin() + 6);
        EXPECT_EQ(kLines, kCase.kAmmoLines) << "count " << kCase.iCount;
    }
}

TEST_F(WeaponTest, SettingATorpedoScriptAsksForSpeedAndSoundOnce)
{
    FakeScriptBridge kBridge;
    kBridge.m_kFloats["Photon.GetLaunchSpeed"] = 19.0f;
    kBridge.m_kTexts["Photon.GetLaunchSound"] = "Photon Torpedo";
    TorpedoAmmoType kAmmo;
    kAmmo.SetTorpedoScript("Photon");
    EXPECT_STREQ(kAmmo.GetTorpedoScript(), "Photon");
    EXPECT_EQ(kAmmo.GetLaunchSpeed(), 19.0f);
    EXPECT_STREQ(kAmmo.GetLaunchSound(), "Photon Torpedo");
    EXPECT_EQ(kBridge.Calls(), 2);

    // The answer is the record's own copy: the script's text may go.
    kBridge.m_kTexts["Photon.GetLaunchSound"] = "changed";
    EXPECT_STREQ(kAmmo.GetLaunchSound(), "Photon Torpedo");
}

TEST_F(WeaponTest, AQuestionTheModuleCannotAnswerKeepsTheResetValue)
{
    FakeScriptBridge kBridge;
    kBridge.m_kFloats["Fast.GetLaunchSpeed"] = 40.0f;
    kBridge.m_kTexts["Fast.GetLaunchSound"] = "whoosh";
    kBridge.m_kFloats["Quiet.GetLaunchSpeed"] = 12.0f; // no GetLaunchSound
    kBridge.m_kTexts["Silent.GetLaunchSound"] = std::nullopt;
    TorpedoAmmoType kAmmo;
    kAmmo.SetTorpedoScript("Fast");
    kAmmo.SetTorpedoScript("Quiet");
    EXPECT_EQ(kAmmo.GetLaunchSpeed(), 12.0f);
    EXPECT_EQ(kAmmo.GetLaunchSound(), nullptr);
    kAmmo.SetTorpedoScript("Silent"); // no GetLaunchSpeed; GetLaunchSound answers None
    EXPECT_EQ(kAmmo.GetLaunchSpeed(), 1.0f);
    EXPECT_EQ(kAmmo.GetLaunchSound(), nullptr);
    kAmmo.SetTorpedoScript(nullptr);
    EXPECT_EQ(kAmmo.GetTorpedoScript(), nullptr);
    EXPECT_EQ(kBridge.Calls(), 6);
}

TEST_F(WeaponTest, PowerCostAndNameAreAskedOnEveryCall)
{
    FakeScriptBridge kBridge;
    kBridge.m_kFloats["Photon.GetPowerCost"] = 20.0f;
    kBridge.m_kTexts["Photon.GetName"] = "Photon";
    TorpedoAmmoType kAmmo;
    EXPECT_EQ(kAmmo.GetPowerCost(), 0.0f);
    EXPECT_EQ(kAmmo.GetAmmoName(), nullptr);
    EXPECT_EQ(kBridge.Calls(), 0);

    kAmmo.SetTorpedoScript("Photon");
    EXPECT_EQ(kAmmo.GetPowerCost(), 20.0f);
    kBridge.m_kFloats["Photon.GetPowerCost"] = 25.0f;
    EXPECT_EQ(kAmmo.GetPowerCost(), 25.0f);
    EXPECT_EQ(kBridge.m_kCalls["Photon.GetPowerCost"], 2);
    const char* pcName = kAmmo.GetAmmoName();
    EXPECT_STREQ(pcName, "Photon");
    kBridge.m_kTexts["Photon.GetName"] = std::nullopt;
    EXPECT_EQ(kAmmo.GetAmmoName(), nullptr);
    kBridge.m_kFloats.clear();
    EXPECT_EQ(kAmmo.GetPowerCost(), 0.0f);
}

TEST_F(WeaponTest, AnIndexOutsideTheFourAmmoTypesNamesNothing)
{
    FakeScriptBridge kBridge;
    TorpedoSystemProperty kSystem;
    const std::string kBefore = FileRecord(kSystem);
    for (int32_t iIndex : {-1, 4, INT32_MAX, INT32_MIN})
    {
        EXPECT_EQ(kSystem.GetAmmoType(iIndex), nullptr);
        EXPECT_EQ(kSystem.GetMaxTorpedoes(iIndex), 0);
        EXPECT_EQ(kSystem.GetTorpedoScript(iIndex), nullptr);
        kSystem.SetMaxTorpedoes(iIndex, 5);
        kSystem.SetTorpedoScript(iIndex, "Photon");
    }
    EXPECT_EQ(FileRecord(kSystem), kBefore);
    EXPECT_EQ(kBridge.Calls(), 0);
    EXPECT_NE(kSystem.GetAmmoType(3), nullptr);
}

TEST_F(WeaponTest, ATorpedoSystemLoadsBackAllFourRecordsWithoutAskingAnyScript)
{
    FakeScriptBridge kBridge;
    kBridge.m_kFloats["Photon.GetLaunchSpeed"] = 19.0f;
    kBridge.m_kTexts["Photon.GetLaunchSound"] = "Photon Torpedo";
    kBridge.m_kFloats["Quantum.GetLaunchSpeed"] = 22.0f;
    TorpedoSystemProperty kSystem;
    kSystem.SetName("Torpedoes");
    kSystem.SetTorpedoScript(0, "Photon");
    kSystem.SetTorpedoScript(3, "Quantum");
    kSystem.SetMaxTorpedoes(2, 7);
    kSystem.SetNumAmmoTypes(2);
    const int iCallsBefore = kBridge.Calls();

    const auto pkCopy = LoadedCopy(kSystem);
    EXPECT_EQ(kBridge.Calls(), iCallsBefore);
    EXPECT_EQ(pkCopy->GetNumAmmoTypes(), 2);
    EXPECT_STREQ(pkCopy->GetTorpedoScript(0), "Photon");
    EXPECT_EQ(pkCopy->GetAmmoType(0)->GetLaunchSpeed(), 19.0f);
    EXPECT_STREQ(pkCopy->GetAmmoType(0)->GetLaunchSound(), "Photon Torpedo");
    EXPECT_EQ(pkCopy->GetTorpedoScript(1), nullptr);
    EXPECT_EQ(pkCopy->GetMaxTorpedoes(2), 7);
    EXPECT_STREQ(pkCopy->GetTorpedoScript(3), "Quantum");
    EXPECT_EQ(pkCopy->GetAmmoType(3)->GetLaunchSpeed(), 22.0f);
    EXPECT_EQ(pkCopy->GetAmmoType(3)->GetLaunchSound(), nullptr);
    EXPECT_EQ(FileRecord(*pkCopy).substr(8), FileRecord(kSystem).substr(8));
}

TEST_F(WeaponTest, TheTorpedoRecordCarriesTheNumberThenFourAmmoRecords)
{
    TorpedoSystemProperty kSystem;
    kSystem.GetAmmoType(1)->SetTorpedoScriptField("ab");
    kSystem.GetAmmoType(1)->SetLaunchSpeedField(2.0f);
    WeaponSystemProperty kPlain;
    const std::string kRecord = FileRecord(kSystem);
    const std::string kOwn = kRecord.substr(FileRecord(kPlain).size());
    // Number 1; record 0: 400, no module, 1.0, no sound; record 1: 400, "ab", 2.0, no sound; ...
    const std::string kAmmo0("\x90\x01\x00\x00"
                             "\x00\x00\x00\x00"
                             "\x00\x00\x80\x3f"
                             "\x00\x00\x00\x00",
                             16);
    const std::string kAmmo1("\x90\x01\x00\x00"
                             "\x03\x00\x00\x00"
                             "ab\0"
                             "\x00\x00\x00\x40"
                             "\x00\x00\x00\x00",
                             19);
    EXPECT_EQ(kOwn, std::string("\x01\x00\x00\x00", 4) + kAmmo0 + kAmmo1 + kAmmo0 + kAmmo0);
}

TEST_F(WeaponTest, ACopiedTorpedoSystemAsksEachModuleAgain)
{
    FakeScriptBridge kBridge;
    kBridge.m_kFloats["Photon.GetLaunchSpeed"] = 19.0f;
    auto* pkSystem = TorpedoSystemProperty::Create("Torpedoes");
    pkSystem->SetTorpedoScript(1, "Photon");
    pkSystem->GetAmmoType(1)->SetLaunchSpeedField(5.0f);
    pkSystem->SetMaxTorpedoes(1, 12);
    pkSystem->SetNumAmmoTypes(2);
    kBridge.m_kCalls.clear();
    auto* pkCopy = static_cast<TorpedoSystemProperty*>(pkSystem->Duplicate());
    ASSERT_NE(pkCopy, nullptr);
    EXPECT_EQ(kBridge.Calls(), 2);
    EXPECT_EQ(pkCopy->GetAmmoType(1)->GetLaunchSpeed(), 19.0f);
    EXPECT_EQ(pkCopy->GetMaxTorpedoes(1), 12);
    EXPECT_EQ(pkCopy->GetNumAmmoTypes(), 2);
    EXPECT_EQ(pkCopy->GetWeaponSystemType(), WeaponSystemProperty::WST_TORPEDO);
    pkCopy->DecRefCount();
    pkSystem->DecRefCount();
}

TEST_F(WeaponTest, WithoutAScriptHostAmmoTypesKeepTheirResetValues)
{
    TorpedoAmmoType kAmmo;
    kAmmo.SetTorpedoScript("Photon");
    EXPECT_STREQ(kAmmo.GetTorpedoScript(), "Photon");
    EXPECT_EQ(kAmmo.GetLaunchSpeed(), 1.0f);
    EXPECT_EQ(kAmmo.GetLaunchSound(), nullptr);
    EXPECT_EQ(kAmmo.GetPowerCost(), 0.0f);
    EXPECT_EQ(kAmmo.GetAmmoName(), nullptr);
}
