// The subsystem property classes: identity, defaults and their script lines, binary records,
// copying, and the particular rules of the shield, the impulse engine and the generic engine.
#include "properties/SubsystemProperty.h"
#include "core/SKBufferStream.h"
#include "core/SKStream.h"
#include "properties/CloakingSubsystemProperty.h"
#include "properties/EngineProperty.h"
#include "properties/HullProperty.h"
#include "properties/ImpulseEngineProperty.h"
#include "properties/PowerProperty.h"
#include "properties/PoweredSubsystemProperty.h"
#include "properties/RepairSubsystemProperty.h"
#include "properties/SensorProperty.h"
#include "properties/ShieldProperty.h"
#include "properties/WarpEngineProperty.h"
#include "tests/properties/PropertyTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace
{
// The lines every subsystem writes with its defaults, for the variable V.
const std::string SUBSYSTEM_LINES = "V.SetMaxCondition(200.000000)\n"
                                    "V.SetCritical(0)\n"
                                    "V.SetTargetable(1)\n"
                                    "V.SetPrimary(1)\n"
                                    "V.SetPosition(0.000000, 0.000000, 0.000000)\n"
                                    "V.SetPosition2D(0.000000, 0.000000)\n"
                                    "V.SetRepairComplexity(1.000000)\n"
                                    "V.SetDisabledPercentage(0.500000)\n"
                                    "V.SetRadius(0.250000)\n";
const std::string POWERED_LINES = SUBSYSTEM_LINES + "V.SetNormalPowerPerSecond(1.000000)\n";

struct ClassCase
{
    const char* pcName;
    SKObject::Factory pfnFactory;
    int32_t iType;
    std::vector<int32_t> kAncestors;
    // Lines of a new property for the variable V.
    std::string kDefaultLines;
    // Sets every own field (and the base's) to a value other than its default.
    std::function<void(SKModelProperty&)> kChange;
    // Bytes after the base part in a record of a changed property (file form: one byte per flag).
    int32_t iPartBytes;
};

void ChangeSubsystem(SKModelProperty& kProperty)
{
    auto& kSubsystem = static_cast<SubsystemProperty&>(kProperty);
    kSubsystem.SetName("Aft Unit");
    kSubsystem.SetMaxCondition(350.5f);
    kSubsystem.SetCritical(true);
    kSubsystem.SetTargetable(false);
    kSubsystem.SetPrimary(false);
    kSubsystem.SetPosition(1.5f, -2.25f, 3.0f);
    kSubsystem.SetPosition2D(64.0f, 32.5f);
    kSubsystem.SetRepairComplexity(2.5f);
    kSubsystem.SetDisabledPercentage(0.75f);
    kSubsystem.SetRadius(1.125f);
}

void ChangePowered(SKModelProperty& kProperty)
{
    ChangeSubsystem(kProperty);
    static_cast<PoweredSubsystemProperty&>(kProperty).SetNormalPowerPerSecond(12.5f);
}

const std::vector<ClassCase>& Cases()
{
    static const std::vector<ClassCase> s_kCases = {
        {"SubsystemProperty", &SubsystemProperty::Factory, 0x812b, {}, SUBSYSTEM_LINES, ChangeSubsystem, 39},
        {"PoweredSubsystemProperty",
         &PoweredSubsystemProperty::Factory,
         0x812c,
         {0x812b},
         POWERED_LINES,
         ChangePowered,
         43},
        {"HullProperty", &HullProperty::Factory, 0x8138, {0x812b}, SUBSYSTEM_LINES, ChangeSubsystem, 39},
        {"ShieldProperty",
         &ShieldProperty::Factory,
         0x8137,
         {0x812c, 0x812b},
         POWERED_LINES + "VShieldGlowColor = App.SKColorA()\n"
                         "VShieldGlowColor.SetRGBA(0.000000, 0.000000, 0.000000, 0.000000)\n"
                         "V.SetShieldGlowColor(VShieldGlowColor)\n"
                         "V.SetShieldGlowDecay(1.000000)\n"
                         "V.SetMaxShields(V.FRONT_SHIELDS, 1000.000000)\n"
                         "V.SetMaxShields(V.REAR_SHIELDS, 1000.000000)\n"
                         "V.SetMaxShields(V.TOP_SHIELDS, 1000.000000)\n"
                         "V.SetMaxShields(V.BOTTOM_SHIELDS, 1000.000000)\n"
                         "V.SetMaxShields(V.LEFT_SHIELDS, 1000.000000)\n"
                         "V.SetMaxShields(V.RIGHT_SHIELDS, 1000.000000)\n"
                         "V.SetShieldChargePerSecond(V.FRONT_SHIELDS, 1.000000)\n"
                         "V.SetShieldChargePerSecond(V.REAR_SHIELDS, 1.000000)\n"
                         "V.SetShieldChargePerSecond(V.TOP_SHIELDS, 1.000000)\n"
                         "V.SetShieldChargePerSecond(V.BOTTOM_SHIELDS, 1.000000)\n"
                         "V.SetShieldChargePerSecond(V.LEFT_SHIELDS, 1.000000)\n"
                         "V.SetShieldChargePerSecond(V.RIGHT_SHIELDS, 1.000000)\n",
         [](SKModelProperty& kProperty)
         {
             ChangePowered(kProperty);
             auto& kShield = static_cast<ShieldProperty&>(kProperty);
             kShield.SetShieldGlowColor(SKColorA(0.25f, 0.5f, 0.75f, 1.0f));
             kShield.SetShieldGlowDecay(2.5f);
             for (int32_t iFacing = 0; iFacing < ShieldProperty::NUM_SHIELDS; iFacing++)
             {
                 kShield.SetMaxShields(iFacing, 100.0f * static_cast<float>(iFacing + 1));
                 kShield.SetShieldChargePerSecond(iFacing, 0.5f * static_cast<float>(iFacing + 1));
             }
         },
         43 + 68},
        {"SensorProperty",
         &SensorProperty::Factory,
         0x8139,
         {0x812c, 0x812b},
         POWERED_LINES + "V.SetBaseSensorRange(1000.000000)\nV.SetMaxProbes(10)\n",
         [](SKModelProperty& kProperty)
         {
             ChangePowered(kProperty);
             static_cast<SensorProperty&>(kProperty).SetBaseSensorRange(2500.0f);
             static_cast<SensorProperty&>(kProperty).SetMaxProbes(-3);
         },
         43 + 8},
        {"CloakingSubsystemProperty",
         &CloakingSubsystemProperty::Factory,
         0x813a,
         {0x812c, 0x812b},
         POWERED_LINES + "V.SetCloakStrength(0.000000)\n",
         [](SKModelProperty& kProperty)
         {
             ChangePowered(kProperty);
             static_cast<CloakingSubsystemProperty&>(kProperty).SetCloakStrength(75.0f);
         },
         43 + 4},
        {"WarpEngineProperty",
         &WarpEngineProperty::Factory,
         0x813b,
         {0x812c, 0x812b},
         POWERED_LINES,
         ChangePowered,
         43},
        {"ImpulseEngineProperty",
         &ImpulseEngineProperty::Factory,
         0x813c,
         {0x812c, 0x812b},
         POWERED_LINES + "V.SetMaxAccel(10.000000)\n"
                         "V.SetMaxAngularAccel(0.100000)\n"
                         "V.SetMaxAngularVelocity(0.250000)\n"
                         "V.SetMaxSpeed(25.000000)\n"
                         "V.SetEngineSound(\"\")\n",
         [](SKModelProperty& kProperty)
         {
             ChangePowered(kProperty);
             auto& kEngine = static_cast<ImpulseEngineProperty&>(kProperty);
             kEngine.SetMaxSpeed(40.0f);
             kEngine.SetMaxAccel(12.5f);
             kEngine.SetMaxAngularVelocity(0.5f);
             kEngine.SetMaxAngularAccel(0.375f);
             kEngine.SetEngineSound("Impulse Loop");
         },
         43 + 16 + 4 + 13},
        {"EngineProperty",
         &EngineProperty::Factory,
         0x813d,
         {0x812b},
         SUBSYSTEM_LINES + "V.SetEngineType(V.EP_IMPULSE)\n",
         [](SKModelProperty& kProperty)
         {
             ChangeSubsystem(kProperty);
             static_cast<EngineProperty&>(kProperty).SetEngineType(EngineProperty::EP_WARP);
         },
         39 + 4},
        {"PowerProperty",
         &PowerProperty::Factory,
         0x813e,
         {0x812b},
         SUBSYSTEM_LINES + "V.SetMainBatteryLimit(70000.000000)\n"
                           "V.SetBackupBatteryLimit(10000.000000)\n"
                           "V.SetMainConduitCapacity(400.000000)\n"
                           "V.SetBackupConduitCapacity(200.000000)\n"
                           "V.SetPowerOutput(100.000000)\n",
         [](SKModelProperty& kProperty)
         {
             ChangeSubsystem(kProperty);
             auto& kPower = static_cast<PowerProperty&>(kProperty);
             kPower.SetMainBatteryLimit(1.0f);
             kPower.SetBackupBatteryLimit(2.0f);
             kPower.SetMainConduitCapacity(3.0f);
             kPower.SetBackupConduitCapacity(4.0f);
             kPower.SetPowerOutput(5.0f);
         },
         39 + 20},
        {"RepairSubsystemProperty",
         &RepairSubsystemProperty::Factory,
         0x813f,
         {0x812c, 0x812b},
         POWERED_LINES + "V.SetMaxRepairPoints(0.000000)\nV.SetNumRepairTeams(1)\n",
         [](SKModelProperty& kProperty)
         {
             ChangePowered(kProperty);
             static_cast<RepairSubsystemProperty&>(kProperty).SetMaxRepairPoints(45.0f);
             static_cast<RepairSubsystemProperty&>(kProperty).SetNumRepairTeams(4);
         },
         43 + 8},
    };
    return s_kCases;
}

std::string InitLines(SKModelProperty& kProperty, const char* pcVariable = "V")
{
    TextCaptureStream kStream;
    kProperty.WriteInit(kStream, pcVariable);
    return kStream.Text();
}

// The record on a file stream, where every value has its own bytes.
std::string FileRecord(const SKModelProperty& kProperty)
{
    TempFolder kFolder;
    const std::string kPath = kFolder.Path("record.bin");
    {
        SKStream kStream;
        kStream.Open(kPath.c_str(), "wb");
        EXPECT_TRUE(kProperty.SaveToStream(kStream));
    }
    return TempFolder::ReadFile(kPath);
}

std::vector<uint8_t> BufferRecord(const SKModelProperty& kProperty)
{
    SKBufferStream kStream;
    kStream.OpenBuffer(4096);
    EXPECT_TRUE(kProperty.SaveToStream(kStream));
    return std::vector<uint8_t>(kStream.GetBuffer(), kStream.GetBuffer() + kStream.GetPos());
}

class SubsystemPropertyTest : public PropertyTest
{
protected:
    void SetUp() override
    {
        PropertyTest::SetUp();
        for (const ClassCase& kCase : Cases())
            SKObject::RegisterFactory(kCase.iType, kCase.pfnFactory);
    }

    static SKModelProperty* Make(const ClassCase& kCase)
    {
        return SKModelProperty::Cast(kCase.pfnFactory(0));
    }
};
} // namespace

TEST_F(SubsystemPropertyTest, EachClassAnswersItsIdentityAndItsAncestors)
{
    for (const ClassCase& kCase : Cases())
    {
        SCOPED_TRACE(kCase.pcName);
        SKModelProperty* pkProperty = Make(kCase);
        ASSERT_NE(pkProperty, nullptr);
        EXPECT_EQ(pkProperty->GetObjType(), kCase.iType);
        EXPECT_STREQ(pkProperty->GetObjTypeName(), kCase.pcName);
        EXPECT_EQ(pkProperty->GetPointerTypeName(), std::string("_p_") + kCase.pcName);
        EXPECT_EQ(pkProperty->GetShadowClassName(), std::string(kCase.pcName) + "Ptr");
        for (int32_t iType : kCase.kAncestors)
            EXPECT_TRUE(pkProperty->IsTypeOf(iType)) << std::hex << iType;
        EXPECT_TRUE(pkProperty->IsTypeOf(kCase.iType));
        EXPECT_TRUE(pkProperty->IsTypeOf(0x601));
        EXPECT_TRUE(pkProperty->IsTypeOf(2));
        EXPECT_FALSE(pkProperty->IsTypeOf(0x602));
        // A sibling or a class below is not an ancestor.
        EXPECT_EQ(pkProperty->IsTypeOf(0x812c), kCase.iType == 0x812c || kCase.kAncestors.size() == 2);
        EXPECT_FALSE(pkProperty->IsTypeOf(kCase.iType == 0x8137 ? 0x8138 : 0x8137));
        EXPECT_EQ(pkProperty->GetRefCount(), 1);
        EXPECT_EQ(pkProperty->GetName(), SKString("Uninitialized"));
        pkProperty->DecRefCount();
    }
    EXPECT_EQ(NewObjects(), 0);
}

TEST_F(SubsystemPropertyTest, CastAndCreateFollowTheClass)
{
    ShieldProperty* pkShield = ShieldProperty::Create("Fore Shield");
    HullProperty* pkHull = HullProperty::Create("Hull");
    EXPECT_EQ(pkShield->GetName(), SKString("Fore Shield"));
    EXPECT_EQ(ShieldProperty::Cast(pkShield), pkShield);
    EXPECT_EQ(PoweredSubsystemProperty::Cast(pkShield), pkShield);
    EXPECT_EQ(SubsystemProperty::Cast(pkShield), pkShield);
    EXPECT_EQ(ShieldProperty::Cast(pkHull), nullptr);
    EXPECT_EQ(PoweredSubsystemProperty::Cast(pkHull), nullptr);
    EXPECT_EQ(SubsystemProperty::Cast(pkHull), pkHull);
    EXPECT_EQ(ShieldProperty::Cast(nullptr), nullptr);
    pkShield->DecRefCount();
    pkHull->DecRefCount();
}

TEST_F(SubsystemPropertyTest, ANewPropertyWritesItsDefaultsAfterItsCreateLine)
{
    for (const ClassCase& kCase : Cases())
    {
        SCOPED_TRACE(kCase.pcName);
        SKModelProperty* pkProperty = Make(kCase);
        pkProperty->SetName("V");
        TextCaptureStream kStream;
        pkProperty->WriteCreateLine(kStream);
        EXPECT_EQ(kStream.Text(),
                  std::string("V = App.") + kCase.pcName + "_Create(\"V\")\n\n" + kCase.kDefaultLines);
        pkProperty->DecRefCount();
    }
}

TEST_F(SubsystemPropertyTest, TheCreateLineKeepsTheNameAndTheVariableDropsItsBlanks)
{
    SubsystemProperty* pkProperty = SubsystemProperty::Create("Hull Sub");
    TextCaptureStream kStream;
    pkProperty->WriteCreateLine(kStream);
    const std::string kStart = "HullSub = App.SubsystemProperty_Create(\"Hull Sub\")\n\n"
                               "HullSub.SetMaxCondition(200.000000)\n";
    EXPECT_EQ(kStream.Text().substr(0, kStart.size()), kStart);
    pkProperty->DecRefCount();
}

TEST_F(SubsystemPropertyTest, ARecordLoadsBackIntoAFreshObjectWithEveryValue)
{
    for (const ClassCase& kCase : Cases())
    {
        SCOPED_TRACE(kCase.pcName);
        SKModelProperty* pkProperty = Make(kCase);
        kCase.kChange(*pkProperty);
        pkProperty->SetRefCount(3);
        const std::string kLines = InitLines(*pkProperty);
        ASSERT_NE(kLines, kCase.kDefaultLines);
        std::vector<uint8_t> kBytes = BufferRecord(*pkProperty);
        const int32_t iID = pkProperty->GetObjID();
        delete pkProperty;

        SKBufferStream kStream;
        kStream.AttachBuffer(kBytes.data(), static_cast<int32_t>(kBytes.size()));
        SKModelProperty* pkLoaded = SKModelProperty::Cast(SKObject::LoadObject(kStream));
        ASSERT_NE(pkLoaded, nullptr);
        EXPECT_EQ(pkLoaded->GetObjType(), kCase.iType);
        EXPECT_EQ(pkLoaded->GetObjID(), iID);
        EXPECT_EQ(pkLoaded->GetRefCount(), 3);
        EXPECT_EQ(pkLoaded->GetName(), SKString("Aft Unit"));
        EXPECT_EQ(InitLines(*pkLoaded), kLines);
        EXPECT_EQ(kStream.GetPos(), static_cast<int32_t>(kBytes.size()));
        SKObject::FixupLoadedObjects();
        delete pkLoaded;
    }
}

TEST_F(SubsystemPropertyTest, EachValueHasItsOwnBytesInAFileRecord)
{
    for (const ClassCase& kCase : Cases())
    {
        SCOPED_TRACE(kCase.pcName);
        SKModelProperty* pkProperty = Make(kCase);
        kCase.kChange(*pkProperty);
        // Base part: type, id, count, unit count, then "Aft Unit" in 2-byte units.
        EXPECT_EQ(FileRecord(*pkProperty).size(), static_cast<size_t>(16 + 2 * 8 + kCase.iPartBytes));
        pkProperty->DecRefCount();
    }
}

TEST_F(SubsystemPropertyTest, TheSubsystemRecordHasTheFixedLayout)
{
    auto* pkProperty = new SubsystemProperty(7);
    pkProperty->SetName("S");
    const std::string kExpected("\x2b\x81\x00\x00\x07\x00\x00\x00\x01\x00\x00\x00\x01\x00\x00\x00\x53\x00"
                                "\x00\x00\x48\x43"
                                "\x00\x01\x01"
                                "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
                                "\x00\x00\x00\x00\x00\x00\x00\x00"
                                "\x00\x00\x80\x3f\x00\x00\x00\x3f\x00\x00\x80\x3e",
                                57);
    EXPECT_EQ(FileRecord(*pkProperty), kExpected);
    delete pkProperty;

    auto* pkPowered = new PoweredSubsystemProperty(7);
    pkPowered->SetName("S");
    pkPowered->SetNormalPowerPerSecond(2.0f);
    const std::string kPowered = FileRecord(*pkPowered);
    EXPECT_EQ(kPowered.substr(4), kExpected.substr(4) + std::string("\x00\x00\x00\x40", 4));
    delete pkPowered;
}

TEST_F(SubsystemPropertyTest, ATruncatedRecordFailsToLoad)
{
    for (const ClassCase& kCase : Cases())
    {
        SCOPED_TRACE(kCase.pcName);
        SKModelProperty* pkProperty = Make(kCase);
        kCase.kChange(*pkProperty);
        std::vector<uint8_t> kBytes = BufferRecord(*pkProperty);
        delete pkProperty;
        // Every cut inside the class's own fields (the base part's own cuts are the base's test).
        for (size_t uiCut = kBytes.size() - 1; uiCut >= 16 + 2 * 8; uiCut--)
        {
            SKBufferStream kStream;
            kStream.AttachBuffer(kBytes.data(), static_cast<int32_t>(uiCut));
            auto* pkFresh = SKModelProperty::Cast(kCase.pfnFactory(0));
            kStream.Seek(8, 0);
            EXPECT_FALSE(pkFresh->LoadFromStream(kStream)) << uiCut;
            delete pkFresh;
        }
        SKObject::FixupLoadedObjects();
    }
}

TEST_F(SubsystemPropertyTest, ACopyHasEveryValueAndADuplicateIsAFreshObject)
{
    for (const ClassCase& kCase : Cases())
    {
        SCOPED_TRACE(kCase.pcName);
        SKModelProperty* pkProperty = Make(kCase);
        kCase.kChange(*pkProperty);
        SKModelProperty* pkCopy = pkProperty->Duplicate();
        ASSERT_NE(pkCopy, nullptr);
        EXPECT_NE(pkCopy->GetObjID(), pkProperty->GetObjID());
        EXPECT_EQ(pkCopy->GetObjType(), kCase.iType);
        EXPECT_EQ(pkCopy->GetName(), SKString("Aft Unit"));
        EXPECT_EQ(InitLines(*pkCopy), InitLines(*pkProperty));
        pkCopy->DecRefCount();
        pkProperty->DecRefCount();
    }
    EXPECT_EQ(NewObjects(), 0);
}

TEST_F(SubsystemPropertyTest, CopyingFromAnotherClassIsRefused)
{
    ShieldProperty* pkShield = ShieldProperty::Create("Shield");
    SensorProperty* pkSensor = SensorProperty::Create("Sensor");
    EXPECT_FALSE(pkShield->CopyFrom(pkSensor));
    EXPECT_FALSE(pkShield->CopyFrom(nullptr));
    EXPECT_EQ(pkShield->GetName(), SKString("Shield"));
    // A subclass is a source of the base's values.
    SubsystemProperty* pkSubsystem = SubsystemProperty::Create("Plain");
    pkShield->SetRadius(4.0f);
    EXPECT_TRUE(pkSubsystem->CopyFrom(pkShield));
    EXPECT_EQ(pkSubsystem->GetRadius(), 4.0f);
    pkShield->DecRefCount();
    pkSensor->DecRefCount();
    pkSubsystem->DecRefCount();
}

TEST_F(SubsystemPropertyTest, FlagsStoreTruthAndPosition2DToleratesNullOutputs)
{
    SubsystemProperty kProperty;
    kProperty.SetCritical(5);
    EXPECT_TRUE(kProperty.IsCritical());
    kProperty.SetPosition2D(3.0f, 4.0f);
    float fX = 0.0f;
    kProperty.GetPosition2D(&fX, nullptr);
    EXPECT_EQ(fX, 3.0f);
    float fY = 0.0f;
    kProperty.GetPosition2D(nullptr, &fY);
    EXPECT_EQ(fY, 4.0f);
    kProperty.SetPosition(1.0f, 2.0f, 3.0f);
    EXPECT_EQ(kProperty.GetPositionSK(), SKPoint3(1.0f, 2.0f, 3.0f));
}

TEST_F(SubsystemPropertyTest, TheShieldRecordInterleavesStrengthAndChargePerFacing)
{
    auto* pkShield = new ShieldProperty(9);
    pkShield->SetName("S");
    for (int32_t iFacing = 0; iFacing < ShieldProperty::NUM_SHIELDS; iFacing++)
    {
        pkShield->SetMaxShields(iFacing, static_cast<float>(iFacing + 1));
        pkShield->SetShieldChargePerSecond(iFacing, static_cast<float>(10 * (iFacing + 1)));
    }
    const std::string kRecord = FileRecord(*pkShield);
    ASSERT_EQ(kRecord.size(), static_cast<size_t>(18 + 43 + 68));
    std::vector<float> kFloats(12);
    std::memcpy(kFloats.data(), kRecord.data() + kRecord.size() - 48, 48);
    EXPECT_EQ(kFloats, (std::vector<float>{1, 10, 2, 20, 3, 30, 4, 40, 5, 50, 6, 60}));
    delete pkShield;
}

TEST_F(SubsystemPropertyTest, AFacingOutsideTheSixIsNeitherReadNorWritten)
{
    ShieldProperty kShield;
    for (int32_t iFacing : {-1, 6, 1000, INT32_MIN})
    {
        kShield.SetMaxShields(iFacing, 5.0f);
        kShield.SetShieldChargePerSecond(iFacing, 5.0f);
        EXPECT_EQ(kShield.GetMaxShields(iFacing), 0.0f);
        EXPECT_EQ(kShield.GetShieldChargePerSecond(iFacing), 0.0f);
    }
    for (int32_t iFacing = 0; iFacing < ShieldProperty::NUM_SHIELDS; iFacing++)
    {
        EXPECT_EQ(kShield.GetMaxShields(iFacing), 1000.0f);
        EXPECT_EQ(kShield.GetShieldChargePerSecond(iFacing), 1.0f);
    }
}

TEST_F(SubsystemPropertyTest, TheEngineLineNamesImpulseOnlyForTypeZero)
{
    const struct
    {
        int32_t iType;
        const char* pcConstant;
    } akCases[] = {{0, "EP_IMPULSE"}, {1, "EP_WARP"}, {7, "EP_WARP"}, {-1, "EP_WARP"}};
    for (const auto& kCase : akCases)
    {
        EngineProperty kEngine;
        kEngine.SetEngineType(kCase.iType);
        const std::string kLines = InitLines(kEngine, "E");
        EXPECT_EQ(kLines.substr(kLines.rfind("E.SetEngineType")),
                  std::string("E.SetEngineType(E.") + kCase.pcConstant + ")\n");
        EXPECT_EQ(kEngine.GetEngineType(), kCase.iType);
    }
}

TEST_F(SubsystemPropertyTest, TheEngineSoundIsOwnedAndMayBeAbsent)
{
    auto* pkEngine = new ImpulseEngineProperty(0);
    EXPECT_EQ(pkEngine->GetEngineSound(), nullptr);

    // No sound: the count 0 and no bytes, which loads as no sound.
    std::string kRecord = FileRecord(*pkEngine);
    EXPECT_EQ(kRecord.substr(kRecord.size() - 4), std::string(4, '\0'));
    std::vector<uint8_t> kBytes = BufferRecord(*pkEngine);
    pkEngine->SetEngineSound("stale");
    SKBufferStream kStream;
    kStream.AttachBuffer(kBytes.data(), static_cast<int32_t>(kBytes.size()));
    kStream.Seek(8, 0);
    ASSERT_TRUE(pkEngine->LoadFromStream(kStream));
    EXPECT_EQ(pkEngine->GetEngineSound(), nullptr);

    // Setting the stored text to itself keeps it; a copy holds its own text.
    pkEngine->SetEngineSound("Sounds/Impulse.wav");
    pkEngine->SetEngineSound(pkEngine->GetEngineSound());
    EXPECT_STREQ(pkEngine->GetEngineSound(), "Sounds/Impulse.wav");
    ImpulseEngineProperty kCopy;
    ASSERT_TRUE(kCopy.CopyFrom(pkEngine));
    EXPECT_NE(kCopy.GetEngineSound(), pkEngine->GetEngineSound());
    pkEngine->SetEngineSound(nullptr);
    EXPECT_STREQ(kCopy.GetEngineSound(), "Sounds/Impulse.wav");
    SKObject::FixupLoadedObjects();
    delete pkEngine;
}

TEST_F(SubsystemPropertyTest, TheEngineSoundLineQuotesTheTextSoItReadsBackUnchanged)
{
    ImpulseEngineProperty kEngine;
    kEngine.SetEngineSound("data\\new\\\"loud\".wav");
    const std::string kLines = InitLines(kEngine);
    EXPECT_EQ(kLines.substr(kLines.rfind("V.SetEngineSound")),
              "V.SetEngineSound(\"data\\\\new\\\\\\\"loud\\\".wav\")\n");
}
