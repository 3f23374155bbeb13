// The torpedo tube: defaults, script lines and record.
#include "properties/TorpedoTubeProperty.h"
#include "tests/properties/WeaponTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST_F(WeaponTest, ANewTubeFiresUnguidedAndWritesItsVectors)
{
    TorpedoTubeProperty kTube;
    const std::vector<std::string> kLines = ScriptLines(kTube, "Tube");
    ASSERT_EQ(kLines.size(), 9u + 8u + 9u);
    EXPECT_EQ(kLines[9], "Tube.SetDumbfire(1)");
    EXPECT_EQ(kLines[12], "Tube.SetDamageRadiusFactor(0.600000)");
    const std::vector<std::string> kOwn(kLines.begin() + 17, kLines.end());
    const std::vector<std::string> kExpected = {
        "Tube.SetImmediateDelay(0.250000)",
        "Tube.SetReloadDelay(5.000000)",
        "Tube.SetMaxReady(3)",
        "TubeDirection = App.SKPoint3()",
        "TubeDirection.SetXYZ(0.000000, 1.000000, 0.000000)",
        "Tube.SetDirection(TubeDirection)",
        "TubeRight = App.SKPoint3()",
        "TubeRight.SetXYZ(1.000000, 0.000000, 0.000000)",
        "Tube.SetRight(TubeRight)",
    };
    EXPECT_EQ(kOwn, kExpected);
    EXPECT_TRUE(kTube.IsTypeOf(0x8130));
    EXPECT_FALSE(kTube.IsTypeOf(0x8131));
}

TEST_F(WeaponTest, ATubeLoadsBackItsVectorsUnchanged)
{
    TorpedoTubeProperty kTube;
    kTube.SetDirection(NiPoint3(1.0f, 2.0f, 3.0f));
    kTube.SetRight(NiPoint3(-0.5f, 0.0f, 7.0f));
    kTube.SetImmediateDelay(0.5f);
    kTube.SetReloadDelay(12.0f);
    kTube.SetMaxReady(-1);
    const auto pkCopy = LoadedCopy(kTube);
    EXPECT_EQ(pkCopy->GetDirection(), NiPoint3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(pkCopy->GetRight(), NiPoint3(-0.5f, 0.0f, 7.0f));
    EXPECT_EQ(pkCopy->GetMaxReady(), -1);
    EXPECT_EQ(ScriptLines(*pkCopy, "T"), ScriptLines(kTube, "T"));
    WeaponProperty kWeapon;
    EXPECT_EQ(FileRecord(kTube).size(), FileRecord(kWeapon).size() + 36u);
}

TEST_F(WeaponTest, ADuplicatedTubeCopiesEveryField)
{
    auto* pkTube = TorpedoTubeProperty::Create("Forward Tube 1");
    pkTube->SetDirection(NiPoint3(0.0f, 0.0f, -1.0f));
    pkTube->SetMaxReady(5);
    pkTube->SetDumbfire(false);
    auto* pkCopy = static_cast<TorpedoTubeProperty*>(pkTube->Duplicate());
    ASSERT_NE(pkCopy, nullptr);
    EXPECT_EQ(ScriptLines(*pkCopy, "T"), ScriptLines(*pkTube, "T"));
    pkCopy->DecRefCount();
    pkTube->DecRefCount();
}
