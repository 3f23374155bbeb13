#include "NifTestSupport.h"

#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiCorrectionProperty.h"
#include "scene/graph/NiDitherProperty.h"
#include "scene/graph/NiFogProperty.h"
#include "scene/graph/NiMaterialProperty.h"
#include "scene/graph/NiMultiTextureProperty.h"
#include "scene/graph/NiShadeProperty.h"
#include "scene/graph/NiSpecularProperty.h"
#include "scene/graph/NiStencilProperty.h"
#include "scene/graph/NiTextureModeProperty.h"
#include "scene/graph/NiTextureProperty.h"
#include "scene/graph/NiTransparentProperty.h"
#include "scene/graph/NiVertexColorProperty.h"
#include "scene/graph/NiWireframeProperty.h"
#include "scene/graph/NiZBufferProperty.h"
#include "scene/object/NiTimeController.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

namespace
{
// One entry per class: its name, a new default object, and its default instance.
struct PropertyClass
{
    const char* m_pcName;
    int32_t m_iType;
    std::function<NiProperty*()> m_kCreate;
    std::function<NiRefPtr<NiProperty>()> m_kDefault;
    uint16_t m_usDefaultFlags;
};

template <class T> PropertyClass Entry(const char* pcName, int32_t iType, uint16_t usDefaultFlags)
{
    return {pcName, iType, [] { return new T; }, [] { return NiRefPtr<NiProperty>(T::GetDefault().Get()); },
            usDefaultFlags};
}

const std::vector<PropertyClass>& AllClasses()
{
    static const std::vector<PropertyClass> s_kClasses = {
        Entry<NiAlphaProperty>("NiAlphaProperty", 0, 236),
        Entry<NiCorrectionProperty>("NiCorrectionProperty", 1, 1),
        Entry<NiFogProperty>("NiFogProperty", 2, 0),
        Entry<NiMaterialProperty>("NiMaterialProperty", 3, 1),
        Entry<NiShadeProperty>("NiShadeProperty", 4, 1),
        Entry<NiTextureModeProperty>("NiTextureModeProperty", 5, 194),
        Entry<NiTextureProperty>("NiTextureProperty", 6, 0),
        Entry<NiTransparentProperty>("NiTransparentProperty", 7, 0),
        Entry<NiWireframeProperty>("NiWireframeProperty", 8, 0),
        Entry<NiZBufferProperty>("NiZBufferProperty", 9, 0),
        Entry<NiDitherProperty>("NiDitherProperty", 10, 0),
        Entry<NiVertexColorProperty>("NiVertexColorProperty", 11, 0),
        Entry<NiSpecularProperty>("NiSpecularProperty", 12, 0),
        Entry<NiMultiTextureProperty>("NiMultiTextureProperty", 13, 0),
        Entry<NiStencilProperty>("NiStencilProperty", 14, 0),
    };
    return s_kClasses;
}

// The bytes a class's record holds after the flag word, measured against a class that has
// none (dither) saved the same way.
size_t FieldBytes(NiProperty* pkProperty)
{
    NiRefPtr<NiProperty> spHeld = pkProperty;
    NiRefPtr<NiDitherProperty> spDither = new NiDitherProperty;
    const size_t uiOwn =
        NifTest::Save({pkProperty}).size() - std::strlen(pkProperty->GetClassRecord()->GetName());
    const size_t uiDither = NifTest::Save({spDither}).size() - std::strlen("NiDitherProperty");
    return uiOwn - uiDither;
}

NiFieldStringList FieldStrings(const NiObject& kObject)
{
    NiFieldStringList kList;
    kObject.AddFieldStrings(kList);
    return kList;
}

// A controller that remembers the times it was updated with.
class RecordingController : public NiTimeController
{
public:
    void Update(float fTime) override { m_kTimes.push_back(fTime); }
    bool IsTargetValid() const override { return true; }
    NiObject* MakeClone() override { return nullptr; }

    std::vector<float> m_kTimes;
};
} // namespace

TEST(NiPropertyTest, EveryClassHasItsTypeNumberDefaultFlagsAndOneDefaultInstance)
{
    for (const PropertyClass& kClass : AllClasses())
    {
        SCOPED_TRACE(kClass.m_pcName);
        NiRefPtr<NiProperty> spFresh = kClass.m_kCreate();
        EXPECT_STREQ(spFresh->GetClassRecord()->GetName(), kClass.m_pcName);
        EXPECT_EQ(spFresh->GetPropertyType(), kClass.m_iType);
        EXPECT_EQ(spFresh->GetFlags(), kClass.m_usDefaultFlags);

        NiRefPtr<NiProperty> spDefault = kClass.m_kDefault();
        EXPECT_EQ(spDefault.Get(), kClass.m_kDefault().Get());
        EXPECT_NE(spDefault.Get(), spFresh.Get());
        EXPECT_TRUE(spDefault->IsEquivalent(spFresh));
    }
}

TEST(NiPropertyTest, FlagWordSettersPackTheirFields)
{
    NiRefPtr<NiDitherProperty> spProperty = new NiDitherProperty;
    spProperty->SetField(5, 7, 3);
    EXPECT_EQ(spProperty->GetFlags(), 40);
    spProperty->SetFlags(65535);
    spProperty->SetBit(false, 0);
    EXPECT_EQ(spProperty->GetFlags(), 65534);
    // A value wider than its mask stays inside its field.
    spProperty->SetFlags(0);
    spProperty->SetField(15, 7, 3);
    EXPECT_EQ(spProperty->GetFlags(), 56);

    NiRefPtr<NiAlphaProperty> spAlpha = new NiAlphaProperty;
    spAlpha->SetSrcBlendMode(NiAlphaProperty::ALPHA_ONE);
    spAlpha->SetDestBlendMode(NiAlphaProperty::ALPHA_ZERO);
    EXPECT_EQ(spAlpha->GetFlags(), 32);

    NiRefPtr<NiZBufferProperty> spZBuffer = new NiZBufferProperty;
    spZBuffer->SetZBufferTest(true);
    spZBuffer->SetZBufferWrite(true);
    EXPECT_EQ(spZBuffer->GetFlags(), 3);

    NiRefPtr<NiFogProperty> spFog = new NiFogProperty;
    spFog->SetFog(true);
    spFog->SetFogFunction(NiFogProperty::FOG_RANGE_SQ);
    EXPECT_EQ(spFog->GetFlags(), 10);
}

TEST(NiPropertyTest, EquivalenceComparesOnlyTheMeaningfulBitsAndFields)
{
    struct Case
    {
        const char* m_pcWhat;
        std::function<NiProperty*()> m_kCreate;
        std::function<void(NiProperty*)> m_kChange;
        bool m_bEquivalent;
    };
    auto Alpha = [] { return new NiAlphaProperty; };
    auto Stencil = [] { return new NiStencilProperty; };
    auto Material = [] { return new NiMaterialProperty; };
    auto Flip = [](uint16_t usBit)
    { return [usBit](NiProperty* p) { p->SetFlags(p->GetFlags() ^ (1 << usBit)); }; };
    const Case kCases[] = {
        {"alpha no-sort", Alpha, Flip(13), true},
        {"alpha bits 14-15", Alpha, Flip(15), true},
        {"alpha test comparison", Alpha, Flip(10), false},
        {"alpha reference", Alpha, [](NiProperty* p) { static_cast<NiAlphaProperty*>(p)->SetTestRef(9); },
         false},
        {"wireframe bit 5", [] { return new NiWireframeProperty; }, Flip(5), true},
        {"wireframe switch", [] { return new NiWireframeProperty; }, Flip(0), false},
        {"z-buffer write", [] { return new NiZBufferProperty; }, Flip(1), false},
        {"z-buffer bit 2", [] { return new NiZBufferProperty; }, Flip(2), true},
        {"stencil pass action", Stencil,
         [](NiProperty* p)
         { static_cast<NiStencilProperty*>(p)->SetStencilPassAction(NiStencilProperty::ACTION_ZERO); },
         false},
        {"stencil flag word", Stencil, Flip(0), true},
        {"material flag word", Material, Flip(0), true},
        {"material shine", Material,
         [](NiProperty* p) { static_cast<NiMaterialProperty*>(p)->SetShineness(9.0f); }, false},
        {"fog bit 0", [] { return new NiFogProperty; }, Flip(0), true},
        {"fog function", [] { return new NiFogProperty; }, Flip(4), false},
        {"texture mode bit 8", [] { return new NiTextureModeProperty; }, Flip(8), true},
        {"texture mode clamp", [] { return new NiTextureModeProperty; }, Flip(7), false},
        {"texture mode m_sK", [] { return new NiTextureModeProperty; },
         [](NiProperty* p) { static_cast<NiTextureModeProperty*>(p)->SetK(3); }, false},
        {"transparent colour", [] { return new NiTransparentProperty; },
         [](NiProperty* p) { static_cast<NiTransparentProperty*>(p)->SetColor(0xFF00FF); }, false},
        {"vertex colour source", [] { return new NiVertexColorProperty; },
         [](NiProperty* p)
         { static_cast<NiVertexColorProperty*>(p)->SetSourceMode(NiVertexColorProperty::SOURCE_EMISSIVE); },
         false},
        {"name", [] { return new NiShadeProperty; }, [](NiProperty* p) { p->SetName("other"); }, false},
    };
    for (const Case& kCase : kCases)
    {
        SCOPED_TRACE(kCase.m_pcWhat);
        NiRefPtr<NiProperty> spFirst = kCase.m_kCreate();
        NiRefPtr<NiProperty> spSecond = kCase.m_kCreate();
        kCase.m_kChange(spSecond);
        EXPECT_EQ(spFirst->IsEquivalent(spSecond), kCase.m_bEquivalent);
        EXPECT_EQ(spSecond->IsEquivalent(spFirst), kCase.m_bEquivalent);
    }

    NiRefPtr<NiProperty> spWireframe = new NiWireframeProperty;
    NiRefPtr<NiProperty> spDither = new NiDitherProperty;
    EXPECT_FALSE(spWireframe->IsEquivalent(spDither));
    EXPECT_FALSE(spWireframe->IsEquivalent(nullptr));
}

TEST(NiPropertyTest, SavedPropertiesLoadBackEquivalentWithTheirWholeFlagWord)
{
    for (const PropertyClass& kClass : AllClasses())
    {
        SCOPED_TRACE(kClass.m_pcName);
        NiRefPtr<NiProperty> spProperty = kClass.m_kCreate();
        spProperty->SetName("state");
        // Bits without a meaning travel too.
        spProperty->SetFlags(static_cast<uint16_t>(spProperty->GetFlags() ^ 0xC000));
        NiRefPtr<NiProperty> spLoaded = NifTest::RoundTrip(spProperty.Get());
        ASSERT_TRUE(spLoaded);
        EXPECT_TRUE(spLoaded->IsEquivalent(spProperty));
        EXPECT_EQ(spLoaded->GetFlags(), spProperty->GetFlags());
        EXPECT_STREQ(spLoaded->GetName(), "state");

        NiObject::SetCloneNameMode(NiObject::CLONE_NAME_COPY);
        NiRefPtr<NiObject> spClone = spProperty->Clone();
        NiObject::SetCloneNameMode(NiObject::CLONE_NAME_NONE);
        ASSERT_TRUE(spClone);
        EXPECT_TRUE(spClone->IsEquivalent(spProperty));
        EXPECT_EQ(static_cast<NiProperty*>(spClone.Get())->GetFlags(), spProperty->GetFlags());
    }
}

TEST(NiPropertyTest, ClassFieldsSurviveSavingAndCloning)
{
    NiRefPtr<NiStencilProperty> spStencil = new NiStencilProperty;
    spStencil->SetStencilOn(true);
    spStencil->SetStencilFunction(NiStencilProperty::TEST_EQUAL);
    spStencil->SetStencilReference(7);
    spStencil->SetStencilMask(0xF0);
    spStencil->SetStencilFailAction(NiStencilProperty::ACTION_ZERO);
    spStencil->SetStencilPassZFailAction(NiStencilProperty::ACTION_REPLACE);
    spStencil->SetStencilPassAction(NiStencilProperty::ACTION_INVERT);

    NiRefPtr<NiMaterialProperty> spMaterial = new NiMaterialProperty;
    spMaterial->SetAmbientColor(NiColor(0.1f, 0.2f, 0.3f));
    spMaterial->SetDiffuseColor(NiColor(0.4f, 0.5f, 0.6f));
    spMaterial->SetSpecularColor(NiColor(0.7f, 0.8f, 0.9f));
    spMaterial->SetEmittance(NiColor(1.0f, 0.0f, 0.5f));
    spMaterial->SetShineness(12.0f);
    spMaterial->SetAlpha(0.25f);

    NiRefPtr<NiFogProperty> spFog = new NiFogProperty;
    spFog->SetDepth(0.5f);
    spFog->SetFogColor(NiColor(0.25f, 0.5f, 0.75f));

    NiRefPtr<NiAlphaProperty> spAlpha = new NiAlphaProperty;
    spAlpha->SetTestRef(128);
    NiRefPtr<NiTransparentProperty> spTransparent = new NiTransparentProperty;
    spTransparent->SetColor(0x00FF00FF);
    NiRefPtr<NiVertexColorProperty> spVertexColor = new NiVertexColorProperty;
    spVertexColor->SetSourceMode(NiVertexColorProperty::SOURCE_AMB_DIFF);
    spVertexColor->SetLightingMode(NiVertexColorProperty::LIGHTING_E);
    NiRefPtr<NiTextureModeProperty> spTextureMode = new NiTextureModeProperty;
    spTextureMode->SetL(-3);
    spTextureMode->SetK(40);

    for (NiProperty* pkProperty : std::initializer_list<NiProperty*>{
             spStencil, spMaterial, spFog, spAlpha, spTransparent, spVertexColor, spTextureMode})
    {
        SCOPED_TRACE(pkProperty->GetClassRecord()->GetName());
        NiRefPtr<NiProperty> spDefault = static_cast<NiProperty*>(pkProperty->Clone());
        NiRefPtr<NiProperty> spLoaded = NifTest::RoundTrip(pkProperty);
        ASSERT_TRUE(spLoaded);
        EXPECT_TRUE(spLoaded->IsEquivalent(pkProperty));
        EXPECT_TRUE(spDefault->IsEquivalent(pkProperty));
    }
    NiRefPtr<NiMaterialProperty> spLoaded = NifTest::RoundTrip(spMaterial.Get());
    EXPECT_EQ(spLoaded->GetEmittance(), NiColor(1.0f, 0.0f, 0.5f));
    EXPECT_EQ(spLoaded->GetAlpha(), 0.25f);
}

TEST(NiPropertyTest, RecordsHoldTheirFieldsAfterTheFlagWord)
{
    struct Case
    {
        NiProperty* m_pkProperty;
        size_t m_uiBytes;
    };
    const Case kCases[] = {
        {new NiWireframeProperty, 0},
        {new NiZBufferProperty, 0},
        {new NiTransparentProperty, 4},
        {new NiAlphaProperty, 1},
        {new NiStencilProperty, 25},
        {new NiVertexColorProperty, 8},
        {new NiMaterialProperty, 56},
        {new NiFogProperty, 16},
        {new NiTextureModeProperty, 4},
        {new NiTextureProperty, 4},
        {new NiMultiTextureProperty, 4 + 5 * 4},
    };
    for (const Case& kCase : kCases)
    {
        SCOPED_TRACE(kCase.m_pkProperty->GetClassRecord()->GetName());
        EXPECT_EQ(FieldBytes(kCase.m_pkProperty), kCase.m_uiBytes);
    }
}

TEST(NiPropertyTest, UpdateRunsThePropertysControllersWithTheTime)
{
    NiRefPtr<NiMaterialProperty> spMaterial = new NiMaterialProperty;
    NiRefPtr<RecordingController> spFirst = new RecordingController;
    NiRefPtr<RecordingController> spSecond = new RecordingController;
    spFirst->SetTarget(spMaterial);
    spSecond->SetTarget(spMaterial);
    spMaterial->Update(2.5f);
    EXPECT_EQ(spFirst->m_kTimes, std::vector<float>{2.5f});
    EXPECT_EQ(spSecond->m_kTimes, std::vector<float>{2.5f});

    NiRefPtr<NiMaterialProperty> spPlain = new NiMaterialProperty;
    NiRefPtr<NiMaterialProperty> spCopy = static_cast<NiMaterialProperty*>(spPlain->Clone());
    spPlain->Update(1.0f);
    EXPECT_TRUE(spPlain->IsEquivalent(spCopy));
    EXPECT_EQ(spPlain->GetFlags(), spCopy->GetFlags());
}

TEST(NiPropertyTest, MaterialSerialNumbersAndRevisions)
{
    NiRefPtr<NiMaterialProperty> spFirst = new NiMaterialProperty;
    NiRefPtr<NiMaterialProperty> spSecond = new NiMaterialProperty;
    EXPECT_EQ(spSecond->GetSerial(), spFirst->GetSerial() + 1);
    EXPECT_EQ(spFirst->GetRevision(), 1u);
    EXPECT_TRUE(spFirst->GetChanged());

    spFirst->ConsumeChange();
    spFirst->ConsumeChange();
    EXPECT_EQ(spFirst->GetRevision(), 2u);
    EXPECT_FALSE(spFirst->GetChanged());

    spFirst->SetShineness(20.0f);
    NiRefPtr<NiMaterialProperty> spClone = static_cast<NiMaterialProperty*>(spFirst->Clone());
    EXPECT_GT(spClone->GetSerial(), spSecond->GetSerial());
    EXPECT_EQ(spClone->GetRevision(), 1u);
    EXPECT_TRUE(spClone->IsEquivalent(spFirst));
}

TEST(NiPropertyTest, LoadedMaterialShineOfOneOrLessBecomesTheDefault)
{
    struct Case
    {
        float m_fSaved;
        float m_fLoaded;
    };
    const Case kCases[] = {
        {0.5f, 4.0f},
        {1.0f, 4.0f},
        {0.0f, 4.0f},
        {-3.0f, 4.0f},
        {std::numeric_limits<float>::quiet_NaN(), 4.0f},
        {1.0001f, 1.0001f},
        {30.0f, 30.0f},
    };
    for (const Case& kCase : kCases)
    {
        SCOPED_TRACE(kCase.m_fSaved);
        NiRefPtr<NiMaterialProperty> spMaterial = new NiMaterialProperty;
        spMaterial->SetShineness(kCase.m_fSaved);
        const std::vector<char> kBuffer = NifTest::Save({spMaterial});
        // The saver writes what it holds: shine follows the four colours.
        float fWritten = 0.0f;
        std::memcpy(&fWritten, kBuffer.data() + NifTest::FieldsOffset(kBuffer, "NiMaterialProperty") + 48, 4);
        EXPECT_EQ(std::memcmp(&fWritten, &kCase.m_fSaved, 4), 0);

        const auto kTop = NifTest::Load(kBuffer);
        ASSERT_EQ(kTop.size(), 1u);
        EXPECT_EQ(static_cast<NiMaterialProperty*>(kTop[0].Get())->GetShineness(), kCase.m_fLoaded);
    }
}

TEST(NiPropertyTest, TextureModeRecordsOfOlderVersions)
{
    struct Case
    {
        const char* m_pcVersion;
        uint16_t m_usApplyStored;
        uint16_t m_usApplyLoaded;
        bool m_bHasLK;
    };
    const Case kCases[] = {
        {"3.01", 3, 2, false}, {"3.01", 2, 2, false}, {"3.01", 4, 2, false}, {"3.01", 5, 4, false},
        {"3.01", 6, 5, false}, {"3.01", 7, 7, false}, {"3.01", 1, 1, false}, {"3.0", 5, 4, false},
        {"3.02", 3, 3, false}, {"3.03", 6, 6, false}, {"3.04", 3, 3, true},  {"3.1", 5, 5, true},
    };
    for (const Case& kCase : kCases)
    {
        SCOPED_TRACE(std::string(kCase.m_pcVersion) + " apply " + std::to_string(kCase.m_usApplyStored));
        // Filter FILTER_BILERP, clamp CLAMP_S_WRAP_T and bit 9 around the apply mode.
        const uint16_t usOther = (1 << 3) | (1 << 6) | (1 << 9);
        NifTest::Bytes kBytes(kCase.m_pcVersion);
        kBytes.Property("NiTextureModeProperty", 1, usOther | kCase.m_usApplyStored);
        if (kCase.m_bHasLK)
            kBytes.I16(12).I16(-4);
        const auto kTop = NifTest::Load(kBytes.End().Get());
        ASSERT_EQ(kTop.size(), 1u);
        const NiTextureModeProperty* pkMode = NiDynamicCast<NiTextureModeProperty>(kTop[0].Get());
        ASSERT_TRUE(pkMode);
        EXPECT_EQ(pkMode->GetFlags(), usOther | kCase.m_usApplyLoaded);
        EXPECT_EQ(pkMode->GetL(), kCase.m_bHasLK ? 12 : 0);
        EXPECT_EQ(pkMode->GetK(), kCase.m_bHasLK ? -4 : -75);
    }
}

TEST(NiPropertyTest, TruncatedRecordsFailTheLoad)
{
    // A stencil record that ends inside its fields, and one whose body ends after the flag word.
    const std::string kShortStencil =
        NifTest::Bytes().Property("NiStencilProperty", 1, 0).U8(1).U32(4).U32(0).Get();
    EXPECT_TRUE(NifTest::Load(kShortStencil).empty());
    const std::string kNoFields = NifTest::Bytes().Property("NiMaterialProperty", 1, 0).Get();
    EXPECT_TRUE(NifTest::Load(kNoFields).empty());
}

TEST(NiPropertyTest, FieldStringsNameEveryShownField)
{
    NiRefPtr<NiZBufferProperty> spZBuffer = new NiZBufferProperty;
    spZBuffer->SetZBufferTest(true);
    spZBuffer->SetZBufferWrite(true);
    NiFieldStringList kZBuffer = FieldStrings(*spZBuffer);
    ASSERT_GE(kZBuffer.size(), 3u);
    EXPECT_EQ(kZBuffer[kZBuffer.size() - 3], "--- NiZBufferProperty ---");
    EXPECT_EQ(kZBuffer[kZBuffer.size() - 2], "m_bZTest = true");
    EXPECT_EQ(kZBuffer.back(), "m_bZWrite = true");
    EXPECT_NE(std::find(kZBuffer.begin(), kZBuffer.end(), "--- NiProperty ---"), kZBuffer.end());

    NiFieldStringList kAlpha = FieldStrings(*NiAlphaProperty::GetDefault());
    EXPECT_EQ(kAlpha[kAlpha.size() - 2], "m_bAlpha = false");
    EXPECT_EQ(kAlpha.back(), "m_destBlend = ALPHA_INVSRCALPHA");

    NiFieldStringList kStencil = FieldStrings(*NiStencilProperty::GetDefault());
    const std::vector<std::string> kStencilTail(kStencil.end() - 7, kStencil.end());
    EXPECT_EQ(kStencilTail,
              (std::vector<std::string>{"m_bEnable = 0", "m_uiRef = 0", "m_uiMask = 4294967295",
                                        "m_eTest = TEST_GREATER", "m_eFailAct = ACTION_KEEP",
                                        "m_eZFailAct = ACTION_KEEP", "m_ePassAct = ACTION_INCREMENT"}));

    NiRefPtr<NiVertexColorProperty> spVertexColor = new NiVertexColorProperty;
    spVertexColor->SetSourceMode(NiVertexColorProperty::SOURCE_AMB_DIFF);
    NiFieldStringList kVertexColor = FieldStrings(*spVertexColor);
    EXPECT_EQ(kVertexColor[kVertexColor.size() - 2], "m_eSource = SOURCE_AMB_DIFF");
    EXPECT_EQ(kVertexColor.back(), "m_eLighting = LIGHTING_E_A_D");

    NiRefPtr<NiFogProperty> spFog = new NiFogProperty;
    spFog->SetFogFunction(NiFogProperty::FOG_RANGE_SQ);
    NiFieldStringList kFog = FieldStrings(*spFog);
    EXPECT_EQ(kFog[kFog.size() - 2], "m_uiFunc = FOG_RANGE_SQ");
    EXPECT_EQ(kFog.back(), "m_color = (0.000,0.000,0.000)");

    NiFieldStringList kMode = FieldStrings(*NiTextureModeProperty::GetDefault());
    const std::vector<std::string> kModeTail(kMode.end() - 5, kMode.end());
    EXPECT_EQ(kModeTail, (std::vector<std::string>{"m_apply = APPLY_MODULATE", "m_filter = FILTER_NEAREST",
                                                   "m_clamp = WRAP_S_WRAP_T", "m_sL = 0", "m_sK = -75"}));
}

TEST(NiPropertyTest, EnumeratedValuesOutsideTheirTablesStillGetALine)
{
    // Values a file can carry that no table names: each becomes a line of its own.
    const std::string kBytes = NifTest::Bytes()
                                   .Property("NiStencilProperty", 1, 0)
                                   .U8(1)
                                   .U32(0xFFFFFFF0) // test
                                   .U32(0)
                                   .U32(0)
                                   .U32(99) // fail action
                                   .U32(6)  // z-fail action, one past the last
                                   .U32(3)
                                   .Property("NiAlphaProperty", 2, 15 << 5)
                                   .U8(0)
                                   .Property("NiFogProperty", 3, 3 << 3)
                                   .F32(1.0f)
                                   .F32(0.0f)
                                   .F32(0.0f)
                                   .F32(0.0f)
                                   .Property("NiTextureModeProperty", 4, 7 | (7 << 3))
                                   .I16(0)
                                   .I16(0)
                                   .Property("NiVertexColorProperty", 5, 0)
                                   .U32(3)
                                   .U32(2)
                                   .End()
                                   .Get();
    const auto kTop = NifTest::Load(kBytes);
    ASSERT_EQ(kTop.size(), 5u);
    const std::vector<std::pair<int, std::string>> kExpected = {
        {0, "m_eTest = unknown value 4294967280"}, {0, "m_eFailAct = unknown value 99"},
        {0, "m_eZFailAct = unknown value 6"},      {1, "m_destBlend = unknown value 15"},
        {2, "m_uiFunc = unknown value 3"},         {3, "m_apply = unknown value 7"},
        {3, "m_filter = unknown value 7"},         {4, "m_eSource = unknown value 3"},
        {4, "m_eLighting = unknown value 2"},
    };
    for (const auto& [iObject, kLine] : kExpected)
    {
        const NiFieldStringList kList = FieldStrings(*kTop[iObject]);
        EXPECT_NE(std::find(kList.begin(), kList.end(), kLine), kList.end()) << kLine;
    }
}
