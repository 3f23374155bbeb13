#include "NifTestSupport.h"
#include "SceneTestObjects.h"

#include "scene/graph/NiImage.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiTextureEffect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace
{
void ExpectMatrix(const NiRotationMatrix& kActual, const NiRotationMatrix& kExpected)
{
    for (uint32_t uiRow = 0; uiRow < 3; ++uiRow)
    {
        for (uint32_t uiCol = 0; uiCol < 3; ++uiCol)
            EXPECT_FLOAT_EQ(kActual.GetEntry(uiRow, uiCol), kExpected.GetEntry(uiRow, uiCol))
                << uiRow << uiCol;
    }
}

// Where the image id lies in a saved effect record without name, properties or nodes.
size_t ImageIDOffset(const std::vector<char>& kBuffer)
{
    return NifTest::FieldsOffset(kBuffer, "NiTextureEffect") + 12 + 36 + 4 + 12 + 4 + 4 + 4 + 36 + 12 + 16;
}

uint32_t SavedID(const std::vector<char>& kBuffer, const char* pcClass)
{
    const std::string kBytes(kBuffer.begin(), kBuffer.end());
    uint32_t uiID = 0;
    std::memcpy(&uiID, kBytes.data() + kBytes.find(pcClass) + std::strlen(pcClass), 4);
    return uiID;
}
} // namespace

TEST(NiTextureEffect, DefaultsAndKind)
{
    NiRefPtr<NiTextureEffect> spEffect = new NiTextureEffect;
    EXPECT_EQ(spEffect->GetEffectKind(), 4);
    EXPECT_EQ(spEffect->GetClamp(), 3u);
    EXPECT_EQ(spEffect->GetTextureMode(), NiTextureEffect::PROJECTED_LIGHT);
    EXPECT_EQ(spEffect->GetK(), -75);
    EXPECT_EQ(spEffect->GetModelClippingPlane().m_kNormal, NiPoint3::UNIT_X);
    EXPECT_EQ(spEffect->GetImageObject(), nullptr);
    EXPECT_EQ(spEffect->GetRevisionID(), 1);
}

TEST(NiTextureEffect, WorldProjectionUndoesTheWorldFrame)
{
    NiRefPtr<NiTextureEffect> spEffect = new NiTextureEffect;
    spEffect->SetTranslate(NiPoint3(1, 2, 3));
    spEffect->SetScale(2.0f);
    spEffect->SetModelClippingPlane(NiPlane(NiPoint3(0, 0, 1), 1.0f));
    spEffect->UpdateSubtree(0.0f);

    ExpectMatrix(spEffect->GetWorldProjectionMatrix(), NiRotationMatrix(0.5f, 0, 0, 0, 0.5f, 0, 0, 0, 0.5f));
    EXPECT_EQ(spEffect->GetWorldProjectionTranslation(), NiPoint3(-0.5f, -1.0f, -1.5f));
    // Constant times scale, plus the normal's reach to the translation.
    EXPECT_EQ(spEffect->GetWorldClippingPlane().m_kNormal, NiPoint3(0, 0, 1));
    EXPECT_FLOAT_EQ(spEffect->GetWorldClippingPlane().m_fConstant, 5.0f);
    EXPECT_EQ(spEffect->GetRevisionID(), 2);

    // A world point lands where the model projection puts its model-space position.
    NiRefPtr<NiTextureEffect> spTurned = new NiTextureEffect;
    spTurned->SetRotate(QuarterTurnZ());
    spTurned->SetTranslate(NiPoint3(0, 0, 4));
    spTurned->SetModelProjectionTranslation(NiPoint3(0.5f, 0.5f, 0));
    spTurned->UpdateSubtree(0.0f);
    const NiPoint3 kWorld(0, 1, 4); // model (1, 0, 0)
    const NiPoint3 kMapped =
        spTurned->GetWorldProjectionMatrix() * kWorld + spTurned->GetWorldProjectionTranslation();
    EXPECT_FLOAT_EQ(kMapped.x, 1.5f);
    EXPECT_FLOAT_EQ(kMapped.y, 0.5f);
    EXPECT_FLOAT_EQ(kMapped.z, 0.0f);
}

TEST(NiTextureEffect, SphereMapDependsOnlyOnTheWorldRotation)
{
    NiRefPtr<NiTextureEffect> spEffect = new NiTextureEffect;
    spEffect->SetCoordMode(NiTextureEffect::SPHERE_MAP);
    spEffect->SetModelProjectionMatrix(NiRotationMatrix(3, 0, 0, 0, 3, 0, 0, 0, 3));
    spEffect->SetModelProjectionTranslation(NiPoint3(9, 9, 9));
    spEffect->SetTranslate(NiPoint3(5, 5, 5));
    spEffect->SetRotate(QuarterTurnZ());
    spEffect->UpdateSubtree(0.0f);

    // Rows: half the third column, minus half the second column, zero.
    ExpectMatrix(spEffect->GetWorldProjectionMatrix(), NiRotationMatrix(0, 0, 0.5f, 0.5f, 0, 0, 0, 0, 0));
    EXPECT_EQ(spEffect->GetWorldProjectionTranslation(), NiPoint3(0.5f, 0.5f, 0));
}

TEST(NiTextureEffect, ZeroScaleKeepsTheProjectionFinite)
{
    NiRefPtr<NiTextureEffect> spEffect = new NiTextureEffect;
    spEffect->SetScale(0.0f);
    spEffect->SetTranslate(NiPoint3(1, 0, 0));
    spEffect->UpdateSubtree(0.0f);
    for (uint32_t i = 0; i < 9; ++i)
        EXPECT_TRUE(std::isfinite(spEffect->GetWorldProjectionMatrix().GetEntry(i / 3, i % 3)));
    EXPECT_TRUE(std::isfinite(spEffect->GetWorldProjectionTranslation().x));
}

TEST(NiTextureEffect, RecordRoundTripsEveryField)
{
    NiRefPtr<NiTextureEffect> spEffect = new NiTextureEffect;
    spEffect->SetModelProjectionMatrix(QuarterTurnZ());
    spEffect->SetModelProjectionTranslation(NiPoint3(1, 2, 3));
    spEffect->SetFilter(2);
    spEffect->SetClamp(1);
    spEffect->SetTextureMode(NiTextureEffect::ENVIRONMENT_MAP);
    spEffect->SetCoordMode(NiTextureEffect::WORLD_PERSPECTIVE);
    spEffect->SetClippingPlaneEnable(true);
    spEffect->SetModelClippingPlane(NiPlane(NiPoint3(0, 1, 0), 2.0f));
    spEffect->SetL(3);
    spEffect->SetK(-9);
    spEffect->SetExtraByte(0, 0xAB);
    spEffect->SetExtraByte(1, 0xCD);

    NiRefPtr<NiTextureEffect> spLoaded = NifTest::RoundTrip<NiTextureEffect>(spEffect);
    ASSERT_TRUE(spLoaded);
    EXPECT_TRUE(spLoaded->IsEquivalent(spEffect));
    EXPECT_EQ(spLoaded->GetExtraByte(1), 0xCD);
    EXPECT_EQ(spLoaded->GetK(), -9);

    NiRefPtr<NiTextureEffect> spOther = new NiTextureEffect;
    spOther->SetExtraByte(0, 1);
    EXPECT_FALSE(spOther->IsEquivalent(NiRefPtr<NiTextureEffect>(new NiTextureEffect)));
}

TEST(NiTextureEffect, OlderRecordsLeaveNewerFieldsAtTheirDefaults)
{
    // The record of an effect saved today, cut back to what each older version carried.
    NiRefPtr<NiTextureEffect> spEffect = new NiTextureEffect;
    spEffect->SetClippingPlaneEnable(true);
    spEffect->SetModelClippingPlane(NiPlane(NiPoint3(0, 0, 1), 3.0f));
    spEffect->SetL(5);
    spEffect->SetK(6);
    const std::vector<char> kSaved = NifTest::Save({spEffect});
    const std::string kBody(kSaved.begin() + NifTest::Bytes().Get().size(), kSaved.end());
    const size_t uiImage = ImageIDOffset(kSaved) - NifTest::Bytes().Get().size();
    const std::string kEnd = NifTest::Bytes().End().Get().substr(NifTest::Bytes().Get().size());
    const size_t uiEnd = kBody.size() - kEnd.size();

    struct Case
    {
        const char* m_pcVersion;
        size_t m_uiRecordEnd;
        bool m_bPlane;
        bool m_bLK;
    };
    const Case akCases[] = {
        {"3.02", uiImage, false, false},
        {"3.03", uiImage + 4 + 1 + 16, true, false},
        {"3.04", uiEnd, true, true},
        {"3.1", uiEnd, true, true},
    };
    for (const Case& kCase : akCases)
    {
        const std::string kFile =
            NifTest::Bytes(kCase.m_pcVersion).Get() + kBody.substr(0, kCase.m_uiRecordEnd) + kEnd;
        const std::vector<NiRefPtr<NiObject>> kTop = NifTest::Load(kFile);
        ASSERT_EQ(kTop.size(), 1u) << kCase.m_pcVersion;
        const NiTextureEffect* pkLoaded = NiDynamicCast<NiTextureEffect>(kTop[0].Get());
        ASSERT_TRUE(pkLoaded);
        EXPECT_EQ(pkLoaded->GetClippingPlaneEnable(), kCase.m_bPlane) << kCase.m_pcVersion;
        EXPECT_EQ(pkLoaded->GetModelClippingPlane().m_kNormal,
                  kCase.m_bPlane ? NiPoint3(0, 0, 1) : NiPoint3::UNIT_X);
        EXPECT_EQ(pkLoaded->GetK(), kCase.m_bLK ? 6 : -75) << kCase.m_pcVersion;
        EXPECT_EQ(pkLoaded->GetL(), kCase.m_bLK ? 5 : 0) << kCase.m_pcVersion;
    }
}

TEST(NiTextureEffect, AnImageLinkToAnotherClassResolvesToNoImage)
{
    NiRefPtr<NiNode> spNode = new NiNode;
    NiRefPtr<NiTextureEffect> spEffect = new NiTextureEffect;
    std::vector<char> kBuffer = NifTest::Save({spNode, spEffect});
    const uint32_t uiNodeID = SavedID(kBuffer, "NiNode");
    ASSERT_NE(uiNodeID, 0u);
    std::memcpy(&kBuffer[ImageIDOffset(kBuffer)], &uiNodeID, 4);

    const std::vector<NiRefPtr<NiObject>> kTop = NifTest::Load(kBuffer);
    ASSERT_EQ(kTop.size(), 2u);
    const NiTextureEffect* pkLoaded = NiDynamicCast<NiTextureEffect>(kTop[1].Get());
    ASSERT_TRUE(pkLoaded);
    EXPECT_EQ(pkLoaded->GetImageObject(), nullptr);
}

TEST(NiTextureEffect, CloneTakesItsProjectionAtItsFirstUpdate)
{
    NiRefPtr<NiTextureEffect> spEffect = new NiTextureEffect;
    spEffect->SetTranslate(NiPoint3(2, 0, 0));
    spEffect->UpdateSubtree(0.0f);
    ASSERT_EQ(spEffect->GetWorldProjectionTranslation(), NiPoint3(-2, 0, 0));

    NiRefPtr<NiTextureEffect> spClone = NiDynamicCast<NiTextureEffect>(spEffect->Clone());
    ASSERT_TRUE(spClone);
    EXPECT_TRUE(spClone->IsEquivalent(spEffect));
    EXPECT_EQ(spClone->GetWorldProjectionTranslation(), NiPoint3::ZERO);
    spClone->UpdateSubtree(0.0f);
    EXPECT_EQ(spClone->GetWorldProjectionTranslation(), NiPoint3(-2, 0, 0));
}

TEST(NiTextureEffect, FieldStringsNameTheModes)
{
    EXPECT_EQ(NiTextureEffect::TextureModeFieldString("m_eTextureMode", 3), "m_eTextureMode = FOG_MAP");
    EXPECT_EQ(NiTextureEffect::CoordModeFieldString("m_eCoordMode", 2), "m_eCoordMode = SPHERE_MAP");
    // Values from a file outside the enumeration still print.
    EXPECT_EQ(NiTextureEffect::TextureModeFieldString("m", 9), "m = unknown value 9");

    NiRefPtr<NiTextureEffect> spEffect = new NiTextureEffect;
    NiFieldStringList kList;
    spEffect->AddFieldStrings(kList);
    ASSERT_GE(kList.size(), 11u);
    EXPECT_EQ(kList[kList.size() - 11], "--- NiTextureEffect ---");
    EXPECT_EQ(kList[kList.size() - 8], "m_eTextureMode = PROJECTED_LIGHT");
    EXPECT_EQ(kList[kList.size() - 4], "m_bPlaneEnable = 0");
    EXPECT_EQ(kList.back(), "m_sK = -75");
}

TEST(NiTextureEffect, TheImageIsSharedByClonesAndTravelsAsItsOwnRecord)
{
    NiRefPtr<NiImage> spImage = new NiImage;
    spImage->SetFileName("glow.tga");
    NiRefPtr<NiTextureEffect> spEffect = new NiTextureEffect;
    spEffect->SetImage(spImage.Get());
    EXPECT_EQ(spEffect->GetImage(), spImage);

    NiRefPtr<NiTextureEffect> spClone = NiDynamicCast<NiTextureEffect>(spEffect->Clone());
    ASSERT_TRUE(spClone);
    EXPECT_EQ(spClone->GetImage(), spImage);
    EXPECT_EQ(spImage->GetRefCount(), 3);

    // Saved as a record of its own, which the effect's image link names.
    const std::vector<char> kBuffer = NifTest::Save({spEffect});
    uint32_t uiLinked = 0;
    std::memcpy(&uiLinked, &kBuffer[ImageIDOffset(kBuffer)], 4);
    EXPECT_NE(uiLinked, 0u);
    EXPECT_EQ(uiLinked, SavedID(kBuffer, "NiImage"));

    // Only images are taken.
    NiRefPtr<NiNode> spNotAnImage = new NiNode;
    spClone->SetImageObject(spNotAnImage);
    EXPECT_EQ(spClone->GetImageObject(), nullptr);
}
