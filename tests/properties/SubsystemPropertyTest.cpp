// The subsystem property classes: identity, defaults and their script lines, binary records,
// copying, and the particular rules of the shield, the impulse engine and the generic engine.
#include "core/SKBufferStream.h"
#include "core/SKStream.h"
#include "tests/properties/PropertyTestSupport.h"
#include "tests/properties/SubsystemPropertyCases.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using namespace SubsystemCases;

namespace
{
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

class SubsystemPropertyTest : public PropertyTest
{
protected:
    void SetUp() override
    {
        PropertyTest::SetUp();
        RegisterFactories();
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
        std::vector<uint8_t> kBytes = PropertyRecord(*pkProperty);
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
        std::vector<uint8_t> kBytes = PropertyRecord(*pkProperty);
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
    std::vector<uint8_t> kBytes = PropertyRecord(*pkEngine);
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

TEST_F(SubsystemPropertyTest, TheCrossHasSixArmsOfTheRadiusFromThePosition)
{
    NiPoint3 akVertices[SubsystemProperty::CROSS_VERTICES];
    SubsystemProperty::CrossVertices(akVertices, NiPoint3(1, 2, 3), 2.0f);
    const NiPoint3 akExpected[] = {{1, 2, 3}, {1, 4, 3}, {1, 2, 3}, {1, 2, 5}, {1, 2, 3}, {3, 2, 3},
                                   {1, 2, 3}, {1, 0, 3}, {1, 2, 3}, {1, 2, 1}, {1, 2, 3}, {-1, 2, 3}};
    for (int32_t iVertex = 0; iVertex < SubsystemProperty::CROSS_VERTICES; iVertex++)
        EXPECT_EQ(akVertices[iVertex], akExpected[iVertex]) << iVertex;
}
