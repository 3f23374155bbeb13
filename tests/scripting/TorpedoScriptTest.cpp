// The torpedo ammo types' questions to their torpedo script modules, through the real
// interpreter: answers taken, texts copied, and a module that cannot answer leaves its value at
// the reset, no error pending and the next question unspoiled.

#include "scripting/PythonApi.h"

#include "ScriptHostFixture.h"

#include "properties/TorpedoAmmoType.h"
#include "properties/TorpedoSystemProperty.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

using namespace ScriptTest;
using testing::HasSubstr;

namespace
{
testing::Environment* const s_pkEnvironment = testing::AddGlobalTestEnvironment(new HostEnvironment());

class TorpedoScriptTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        StartFolder& kFolder = HostEnvironment::Folder();
        kFolder.Write("Scripts/Tactical/__init__.py", "");
        kFolder.Write("Scripts/Tactical/Photon.py", R"(
costAsked = 0
def GetLaunchSpeed():
    return 19
def GetLaunchSound():
    return "Photon " + "Torpedo"
def GetPowerCost():
    global costAsked
    costAsked = costAsked + 1
    return 20.0 + costAsked
def GetName():
    return "Photon #%d" % costAsked
)");
        // No GetLaunchSpeed: the sound must still be asked and taken.
        kFolder.Write("Scripts/Tactical/NoSpeed.py", R"(
def GetLaunchSound():
    return "Quiet"
)");
        // No GetLaunchSound, a GetName that answers None.
        kFolder.Write("Scripts/Tactical/NoSound.py", R"(
def GetLaunchSpeed():
    return 12.5
def GetName():
    return None
)");
        kFolder.Write("Scripts/Tactical/Broken.py", R"(
def GetLaunchSpeed():
    raise RuntimeError("no speed today")
def GetLaunchSound():
    return 42
def GetPowerCost():
    return "cheap"
def GetName():
    return 7
)");
    }

    static void ExpectNoErrorPending() { EXPECT_EQ(PyErr_Occurred(), nullptr); }
};
} // namespace

TEST_F(TorpedoScriptTest, AModuleAnswersSpeedSoundCostAndName)
{
    TorpedoAmmoType kAmmo;
    kAmmo.SetTorpedoScript("Tactical.Photon");
    EXPECT_EQ(kAmmo.GetLaunchSpeed(), 19.0f);
    EXPECT_STREQ(kAmmo.GetLaunchSound(), "Photon Torpedo");
    EXPECT_EQ(kAmmo.GetPowerCost(), 21.0f);
    EXPECT_EQ(kAmmo.GetPowerCost(), 22.0f);
    EXPECT_STREQ(kAmmo.GetAmmoName(), "Photon #2");
    ExpectNoErrorPending();
}

TEST_F(TorpedoScriptTest, AnsweredTextsAreTheRecordsOwn)
{
    TorpedoAmmoType kAmmo;
    kAmmo.SetTorpedoScript("Tactical.Photon");
    const char* pcSound = kAmmo.GetLaunchSound();
    // Unload the module and churn the interpreter's text results: the record's texts stay.
    RunScript("import sys\ndel sys.modules['Tactical.Photon']\n"
              "junk = ['x' * n for n in range(1000)]\ndel junk");
    for (int iRound = 0; iRound < 64; iRound++)
        EvaluateText("'t%d' % 7");
    EXPECT_STREQ(pcSound, "Photon Torpedo");
    EXPECT_STREQ(kAmmo.GetLaunchSound(), "Photon Torpedo");
}

TEST_F(TorpedoScriptTest, AMissingFunctionGivesItsDefaultAndSpoilsNothingAfter)
{
    ScriptErrors kErrors;
    TorpedoAmmoType kAmmo;
    kAmmo.SetTorpedoScript("Tactical.NoSpeed");
    EXPECT_EQ(kAmmo.GetLaunchSpeed(), 1.0f);
    EXPECT_STREQ(kAmmo.GetLaunchSound(), "Quiet");
    ExpectNoErrorPending();

    kAmmo.SetTorpedoScript("Tactical.NoSound");
    EXPECT_EQ(kAmmo.GetLaunchSpeed(), 12.5f);
    EXPECT_EQ(kAmmo.GetLaunchSound(), nullptr);
    EXPECT_EQ(kAmmo.GetPowerCost(), 0.0f);
    EXPECT_EQ(kAmmo.GetAmmoName(), nullptr);
    ExpectNoErrorPending();
    // The next question of another module is answered as usual.
    TorpedoAmmoType kOther;
    kOther.SetTorpedoScript("Tactical.Photon");
    EXPECT_STREQ(kOther.GetLaunchSound(), "Photon Torpedo");
    // The failed questions were reported.
    EXPECT_THAT(kErrors.Text(), HasSubstr("'Tactical.NoSpeed' has no attribute 'GetLaunchSpeed'"));
    EXPECT_THAT(kErrors.Text(), HasSubstr("'Tactical.NoSound' has no attribute 'GetLaunchSound'"));
}

TEST_F(TorpedoScriptTest, ErrorsAndWrongAnswersKeepTheResetValues)
{
    ScriptErrors kErrors;
    TorpedoAmmoType kAmmo;
    kAmmo.SetTorpedoScript("Tactical.Broken");
    EXPECT_EQ(kAmmo.GetLaunchSpeed(), 1.0f);
    EXPECT_EQ(kAmmo.GetLaunchSound(), nullptr);
    EXPECT_EQ(kAmmo.GetPowerCost(), 0.0f);
    EXPECT_EQ(kAmmo.GetAmmoName(), nullptr);
    ExpectNoErrorPending();

    kAmmo.SetTorpedoScript("Tactical.NoSuchModule");
    EXPECT_STREQ(kAmmo.GetTorpedoScript(), "Tactical.NoSuchModule");
    EXPECT_EQ(kAmmo.GetLaunchSpeed(), 1.0f);
    EXPECT_EQ(kAmmo.GetLaunchSound(), nullptr);
    ExpectNoErrorPending();
    EXPECT_THAT(kErrors.Text(), HasSubstr("no speed today"));
    EXPECT_THAT(kErrors.Text(), HasSubstr("No module named 'Tactical.NoSuchModule'"));
}

TEST_F(TorpedoScriptTest, ACopyAsksTheModulesAgain)
{
    TorpedoSystemProperty kSystem;
    kSystem.SetTorpedoScript(0, "Tactical.Photon");
    kSystem.SetTorpedoScript(1, "Tactical.NoSound");
    kSystem.GetAmmoType(0)->SetLaunchSpeedField(3.0f);
    TorpedoSystemProperty kCopy;
    ASSERT_TRUE(kCopy.CopyFrom(&kSystem));
    EXPECT_EQ(kCopy.GetAmmoType(0)->GetLaunchSpeed(), 19.0f);
    EXPECT_EQ(kCopy.GetAmmoType(1)->GetLaunchSpeed(), 12.5f);
    ExpectNoErrorPending();
}
