// The effect emitters, the object emitter and the blinking light: identity, script lines, records
// and copying on top of the position and orientation property.
#include "core/SKBufferStream.h"
#include "core/SKPoint3.h"
#include "properties/BlinkingLightProperty.h"
#include "properties/EffectEmitterProperty.h"
#include "properties/ExplodeEmitterProperty.h"
#include "properties/ObjectEmitterProperty.h"
#include "properties/SmokeEmitterProperty.h"
#include "properties/SparkEmitterProperty.h"
#include "tests/properties/PropertyTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace
{
class EmitterPropertyTest : public PropertyTest
{
protected:
    void SetUp() override
    {
        PropertyTest::SetUp();
        SKObject::RegisterFactory(PositionOrientationProperty::TYPE_ID,
                                  &PositionOrientationProperty::Factory);
        SKObject::RegisterFactory(SmokeEmitterProperty::TYPE_ID, &SmokeEmitterProperty::Factory);
        SKObject::RegisterFactory(SparkEmitterProperty::TYPE_ID, &SparkEmitterProperty::Factory);
        SKObject::RegisterFactory(ExplodeEmitterProperty::TYPE_ID, &ExplodeEmitterProperty::Factory);
        SKObject::RegisterFactory(ObjectEmitterProperty::TYPE_ID, &ObjectEmitterProperty::Factory);
        SKObject::RegisterFactory(BlinkingLightProperty::TYPE_ID, &BlinkingLightProperty::Factory);
    }
};

std::string Settings(SKModelProperty& kProperty)
{
    TextCaptureStream kStream;
    kProperty.WriteInit(kStream, "E");
    return kStream.Text();
}

void MoveFrame(PositionOrientationProperty& kProperty)
{
    kProperty.SetOrientation(SKPoint3(0, 0, 1), SKPoint3(0, -1, 0), SKPoint3(2, 0, 0));
    kProperty.SetPosition(SKPoint3(1.5f, -2, 3));
}

std::string PositionOrientationLines()
{
    PositionOrientationProperty kProperty;
    MoveFrame(kProperty);
    return Settings(kProperty);
}

struct EffectEmitterClass
{
    const char* pcClassName;
    int32_t iTypeID;
    SKModelProperty* (*pfnCreate)(const char*);
    bool bHasFactory;
};

template <class T> SKModelProperty* CreateAs(const char* pcName)
{
    return T::Create(pcName);
}

const EffectEmitterClass EFFECT_EMITTERS[] = {
    {"EffectEmitterProperty", 0x8141, &CreateAs<EffectEmitterProperty>, false},
    {"SmokeEmitterProperty", 0x8142, &CreateAs<SmokeEmitterProperty>, true},
    {"SparkEmitterProperty", 0x8143, &CreateAs<SparkEmitterProperty>, true},
    {"ExplodeEmitterProperty", 0x8144, &CreateAs<ExplodeEmitterProperty>, true},
};
} // namespace

TEST_F(EmitterPropertyTest, EffectEmittersArePositionOrientationPropertiesOfTheirOwnClass)
{
    PositionOrientationProperty kPlain(21);
    kPlain.SetName("E");
    MoveFrame(kPlain);
    const std::vector<uint8_t> kPlainRecord = PropertyRecord(kPlain);

    for (const EffectEmitterClass& kClass : EFFECT_EMITTERS)
    {
        SCOPED_TRACE(kClass.pcClassName);
        auto* pkEmitter = static_cast<PositionOrientationProperty*>(kClass.pfnCreate("E"));
        EXPECT_EQ(pkEmitter->GetObjType(), kClass.iTypeID);
        EXPECT_STREQ(pkEmitter->GetObjTypeName(), kClass.pcClassName);
        EXPECT_EQ(pkEmitter->GetShadowClassName(), std::string(kClass.pcClassName) + "Ptr");
        EXPECT_EQ(pkEmitter->GetPointerTypeName(), std::string("_p_") + kClass.pcClassName);
        for (int32_t iType : {kClass.iTypeID, 0x8141, 0x812d, 0x601, 2})
            EXPECT_TRUE(pkEmitter->IsTypeOf(iType)) << iType;
        EXPECT_FALSE(pkEmitter->IsTypeOf(0x8146));
        EXPECT_EQ(EffectEmitterProperty::Cast(pkEmitter), pkEmitter);
        MoveFrame(*pkEmitter);

        EXPECT_EQ(PropertyScript(*pkEmitter), "E = App." + std::string(kClass.pcClassName) +
                                                  "_Create(\"E\")\n\n" + PositionOrientationLines());

        // The record is a position and orientation record apart from the type id.
        const std::vector<uint8_t> kRecord = PropertyRecord(*pkEmitter);
        ASSERT_EQ(kRecord.size(), kPlainRecord.size());
        EXPECT_EQ(kRecord[0] | kRecord[1] << 8, kClass.iTypeID);
        EXPECT_EQ(std::vector<uint8_t>(kRecord.begin() + 8, kRecord.end()),
                  std::vector<uint8_t>(kPlainRecord.begin() + 8, kPlainRecord.end()));

        // Without a factory the class is neither duplicated nor loaded.
        SKModelProperty* pkCopy = pkEmitter->Duplicate();
        EXPECT_EQ(pkCopy != nullptr, kClass.bHasFactory);
        if (pkCopy)
        {
            EXPECT_EQ(pkCopy->GetObjType(), kClass.iTypeID);
            EXPECT_EQ(static_cast<PositionOrientationProperty*>(pkCopy)->GetPosition(),
                      NiPoint3(1.5f, -2, 3));
            EXPECT_EQ(pkCopy->GetName(), SKString("E"));
            pkCopy->DecRefCount();
        }
        const std::vector<uint8_t> kOwnRecord = PropertyRecord(*pkEmitter);
        pkEmitter->DecRefCount();
        SKObject* pkLoaded = LoadPropertyRecord(kOwnRecord);
        EXPECT_EQ(pkLoaded != nullptr, kClass.bHasFactory);
        delete pkLoaded;
    }
}

TEST_F(EmitterPropertyTest, TheObjectEmitterNamesItsTypeThroughTheVariable)
{
    const struct
    {
        int32_t iType;
        const char* pcConstant;
    } CASES[] = {{1, "OEP_SHUTTLE"}, {2, "OEP_PROBE"},   {3, "OEP_DECOY"},
                 {0, "OEP_UNKNOWN"}, {9, "OEP_UNKNOWN"}, {-1, "OEP_UNKNOWN"}};
    for (const auto& kCase : CASES)
    {
        ObjectEmitterProperty kEmitter;
        MoveFrame(kEmitter);
        kEmitter.SetEmittedObjectType(kCase.iType);
        EXPECT_EQ(kEmitter.GetEmittedObjectType(), kCase.iType);
        EXPECT_EQ(Settings(kEmitter),
                  PositionOrientationLines() + "E.SetEmittedObjectType(E." + kCase.pcConstant + ")\n");
    }
}

TEST_F(EmitterPropertyTest, TheObjectEmitterRecordAddsTheTypeAndLoadsBack)
{
    auto* pkEmitter = new ObjectEmitterProperty(31);
    pkEmitter->SetName("Bay");
    MoveFrame(*pkEmitter);
    pkEmitter->SetEmittedObjectType(ObjectEmitterProperty::OEP_PROBE);
    std::vector<uint8_t> kRecord = PropertyRecord(*pkEmitter);
    ASSERT_EQ(kRecord.size(), 16u + 6 + 48 + 4);
    EXPECT_EQ(kRecord[kRecord.size() - 4], 2);

    SKModelProperty* pkCopy = pkEmitter->Duplicate();
    ASSERT_NE(ObjectEmitterProperty::Cast(pkCopy), nullptr);
    EXPECT_EQ(ObjectEmitterProperty::Cast(pkCopy)->GetEmittedObjectType(), 2);
    pkCopy->DecRefCount();
    delete pkEmitter;

    ObjectEmitterProperty* pkLoaded = ObjectEmitterProperty::Cast(LoadPropertyRecord(kRecord));
    ASSERT_NE(pkLoaded, nullptr);
    EXPECT_EQ(pkLoaded->GetEmittedObjectType(), 2);
    EXPECT_EQ(pkLoaded->GetUp(), NiPoint3(0, -1, 0));
    delete pkLoaded;

    // Cut before its type: nothing loads.
    kRecord.resize(kRecord.size() - 1);
    EXPECT_EQ(LoadPropertyRecord(kRecord), nullptr);
}

TEST_F(EmitterPropertyTest, ANewBlinkingLightWritesItsSettingsAndATextureOnlyWhenSet)
{
    BlinkingLightProperty* pkLight = BlinkingLightProperty::Create("Nav Light");
    for (int32_t iType : {0x8145, 0x8141, 0x812d, 0x601, 2})
        EXPECT_TRUE(pkLight->IsTypeOf(iType)) << iType;
    MoveFrame(*pkLight);
    const std::string kLines = PositionOrientationLines() +
                               "ELightColor = App.SKColorA()\n"
                               "ELightColor.SetRGBA(1.000000, 1.000000, 1.000000, 1.000000)\n"
                               "E.SetColor(ELightColor)\n"
                               "E.SetRadius(0.100000)\n"
                               "E.SetPeriod(3.000000)\n"
                               "E.SetDuration(1.000000)\n";
    EXPECT_EQ(Settings(*pkLight), kLines);

    pkLight->SetTextureName("data\\Textures\\\"blink\".tga");
    EXPECT_EQ(Settings(*pkLight), kLines + "E.SetTextureName(\"data\\\\Textures\\\\\\\"blink\\\".tga\")\n");
    pkLight->SetTextureName(pkLight->GetTextureName());
    EXPECT_STREQ(pkLight->GetTextureName(), "data\\Textures\\\"blink\".tga");
    pkLight->SetTextureName(nullptr);
    EXPECT_EQ(Settings(*pkLight), kLines);
    pkLight->DecRefCount();
}

TEST_F(EmitterPropertyTest, ABlinkingLightRecordKeepsColourTimingAndTexture)
{
    auto* pkLight = new BlinkingLightProperty(41);
    pkLight->SetName("L");
    // Without a texture the record ends in a text length of 0.
    std::vector<uint8_t> kRecord = PropertyRecord(*pkLight);
    ASSERT_EQ(kRecord.size(), 16u + 2 + 48 + 28 + 4);
    EXPECT_EQ(std::vector<uint8_t>(kRecord.end() - 4, kRecord.end()), std::vector<uint8_t>(4, 0));

    MoveFrame(*pkLight);
    pkLight->SetColor(SKColorA(0.1f, 0.2f, 0.3f, 0.4f));
    pkLight->SetRadius(0.5f);
    pkLight->SetPeriod(2.0f);
    pkLight->SetDuration(0.25f);
    pkLight->SetTextureName("blink\xe9.tga");
    kRecord = PropertyRecord(*pkLight);
    BlinkingLightProperty* pkCopy = BlinkingLightProperty::Cast(pkLight->Duplicate());
    delete pkLight;

    BlinkingLightProperty* pkLoaded = BlinkingLightProperty::Cast(LoadPropertyRecord(kRecord));
    ASSERT_NE(pkLoaded, nullptr);
    ASSERT_NE(pkCopy, nullptr);
    for (BlinkingLightProperty* pkOther : {pkLoaded, pkCopy})
    {
        const SKColorA kColor = pkOther->GetColor();
        EXPECT_EQ(kColor.r, 0.1f);
        EXPECT_EQ(kColor.g, 0.2f);
        EXPECT_EQ(kColor.b, 0.3f);
        EXPECT_EQ(kColor.a, 0.4f);
        EXPECT_EQ(pkOther->GetRadius(), 0.5f);
        EXPECT_EQ(pkOther->GetPeriod(), 2.0f);
        EXPECT_EQ(pkOther->GetDuration(), 0.25f);
        EXPECT_STREQ(pkOther->GetTextureName(), "blink\xe9.tga");
        EXPECT_EQ(pkOther->GetPosition(), NiPoint3(1.5f, -2, 3));
    }
    delete pkLoaded;
    pkCopy->DecRefCount();

    // A texture length past the end of the record loads nothing.
    const int32_t iHuge = 1 << 30;
    std::memcpy(kRecord.data() + kRecord.size() - 15, &iHuge, 4);
    EXPECT_EQ(LoadPropertyRecord(kRecord), nullptr);
}
