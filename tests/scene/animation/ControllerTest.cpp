#include "AnimationTestSupport.h"

#include "scene/animation/NiAlphaController.h"
#include "scene/animation/NiFlipController.h"
#include "scene/animation/NiKeyframeController.h"
#include "scene/animation/NiLightColorController.h"
#include "scene/animation/NiLookAtController.h"
#include "scene/animation/NiMaterialColorController.h"
#include "scene/animation/NiPathController.h"
#include "scene/animation/NiRollController.h"
#include "scene/animation/NiVisController.h"
#include "scene/graph/NiAmbientLight.h"
#include "scene/graph/NiMaterialProperty.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiTextureProperty.h"
#include "tests/scene/graph/NifTestSupport.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

using namespace AnimTest;

namespace
{
void ExpectMatrixNear(const NiRotationMatrix& kActual, const NiRotationMatrix& kExpected,
                      float fTolerance = 1e-6f)
{
    for (uint32_t r = 0; r < 3; ++r)
    {
        for (uint32_t c = 0; c < 3; ++c)
            EXPECT_NEAR(kActual.GetEntry(r, c), kExpected.GetEntry(r, c), fTolerance) << "entry " << r << c;
    }
}

NiRotationMatrix Columns(const NiPoint3& kC0, const NiPoint3& kC1, const NiPoint3& kC2)
{
    NiRotationMatrix kMatrix;
    kMatrix.SetColumns(kC0, kC1, kC2);
    return kMatrix;
}
} // namespace

TEST(ControllerFrame, UpdatesOncePerTimeOnlyWhileActiveAndFindsByClassChain)
{
    NiRefPtr<NiNode> spNode = new NiNode;
    NiRollController* pkRoll = new NiRollController;
    pkRoll->SetKeys(FloatKeys({{0, NiHalfPi}, {10, NiHalfPi}}), 2, KEY_LINEAR);
    pkRoll->SetTarget(spNode);

    // The roll multiplies onto the rotation it finds: two updates turn by pi, a repeated time
    // and a stopped controller by nothing.
    pkRoll->Update(1.0f);
    pkRoll->Update(1.0f);
    pkRoll->Update(2.0f);
    pkRoll->SetActive(false);
    pkRoll->Update(3.0f);
    NiRotationMatrix kHalfTurn;
    kHalfTurn.MakeZRotation(NiPi);
    ExpectMatrixNear(spNode->GetRotate(), kHalfTurn);

    EXPECT_EQ(NiFloatController::FindController(spNode), pkRoll);
    EXPECT_EQ(NiRollController::FindController(spNode), pkRoll);
    EXPECT_EQ(NiAlphaController::FindController(spNode), nullptr);
}

TEST(ControllerFrame, ClonesShareTheDataAndStartTheirOwnIndices)
{
    NiRefPtr<NiAlphaController> spAlpha = new NiAlphaController;
    spAlpha->SetKeys(FloatKeys({{0, 0}, {1, 1}, {2, 0}}), 3, KEY_LINEAR);
    NiRefPtr<NiMaterialProperty> spMaterial = new NiMaterialProperty;
    spAlpha->SetTarget(spMaterial);
    spAlpha->Update(1.5f);
    EXPECT_EQ(spAlpha->GetLastIndex(), 1u);
    const int32_t iCount = spAlpha->GetData()->GetRefCount();

    NiRefPtr<NiAlphaController> spClone = static_cast<NiAlphaController*>(spAlpha->Clone());
    EXPECT_EQ(spClone->GetData(), spAlpha->GetData());
    EXPECT_EQ(spAlpha->GetData()->GetRefCount(), iCount + 1);
    EXPECT_EQ(spClone->GetLastIndex(), 0u);
    // Cloned on its own, a controller has no target; two such clones compare by their fields.
    NiRefPtr<NiAlphaController> spSecond = static_cast<NiAlphaController*>(spAlpha->Clone());
    EXPECT_TRUE(spClone->IsEquivalent(spSecond));
    spClone->SetFrequency(2.0f);
    EXPECT_FALSE(spClone->IsEquivalent(spSecond));

    // No data: saved as id 0 and loaded back without data; equal only to another without.
    NiRefPtr<NiAlphaController> spEmpty = new NiAlphaController;
    NiRefPtr<NiAlphaController> spLoaded = NifTest::RoundTrip(spEmpty.Get());
    ASSERT_TRUE(spLoaded);
    EXPECT_EQ(spLoaded->GetData(), nullptr);
    EXPECT_TRUE(spLoaded->IsEquivalent(spEmpty));
    EXPECT_FALSE(spEmpty->IsEquivalent(spSecond));
}

TEST(KeyframeController, WritesEachPresentPartAndSpansItsKeys)
{
    NiRefPtr<NiNode> spNode = new NiNode;
    const NiRotationMatrix kTurned = Columns(NiPoint3(0, 1, 0), NiPoint3(-1, 0, 0), NiPoint3(0, 0, 1));
    spNode->SetRotate(kTurned);
    spNode->SetScale(3.0f);
    NiKeyframeController* pkController = new NiKeyframeController;
    pkController->SetPositionKeys(PositionKeys({{1, NiPoint3(0, 0, 0)}, {5, NiPoint3(4, 0, 0)}}), 2,
                                  KEY_LINEAR, true);
    pkController->SetTarget(spNode);
    pkController->Update(2.0f);
    EXPECT_EQ(spNode->GetTranslate(), NiPoint3(1, 0, 0));
    EXPECT_EQ(spNode->GetRotate(), kTurned);
    EXPECT_EQ(spNode->GetScale(), 3.0f);

    // Scale keys store their magnitude.
    pkController->SetScaleKeys(FloatKeys({{0, -2}}), 1, KEY_LINEAR, false);
    pkController->Update(3.0f);
    EXPECT_EQ(spNode->GetScale(), 2.0f);
    EXPECT_EQ(pkController->GetLoKeyTime(), 1.0f);

    pkController->SetRotationKeys(RotationKeys({{0, ZTurn(0)}, {2, ZTurn(1)}}), 2, KEY_LINEAR, true);
    // Emptying hands the scale keys back to whoever installed them.
    FloatKey** ppScaleKeys = pkController->GetData()->GetScaleKeys();
    pkController->SetScaleKeys(nullptr, 0, KEY_LINEAR, true);
    NiFloatKeyArray::FreeKeys(ppScaleKeys, 1, KEY_LINEAR);
    EXPECT_EQ(pkController->GetLoKeyTime(), 0.0f);
    EXPECT_EQ(pkController->GetHiKeyTime(), 5.0f);

    // An Euler array spans its axes' keys.
    EulerRotationKey* pkEuler = new EulerRotationKey;
    pkEuler->m_akAxis[0].Replace(FloatKeys({{0.5f, 0}, {2, 1}}), 2, KEY_LINEAR);
    pkEuler->m_akAxis[2].Replace(FloatKeys({{1, 0}, {3, 1}}), 2, KEY_LINEAR);
    NiRefPtr<NiKeyframeController> spEuler = new NiKeyframeController;
    spEuler->SetRotationKeys(
        new RotationKey* [1] { pkEuler }, 1, KEY_EULER, true);
    EXPECT_EQ(spEuler->GetLoKeyTime(), 0.5f);
    EXPECT_EQ(spEuler->GetHiKeyTime(), 3.0f);

    // A clone spans its keys even when the source's range came from elsewhere.
    spEuler->SetLoKeyTime(0.0f);
    spEuler->SetHiKeyTime(10.0f);
    NiRefPtr<NiKeyframeController> spClone = static_cast<NiKeyframeController*>(spEuler->Clone());
    EXPECT_EQ(spClone->GetHiKeyTime(), 3.0f);
    EXPECT_EQ(spEuler->GetHiKeyTime(), 10.0f);
}

TEST(ColorControllers, ClampColoursAndMarkTheirTargets)
{
    NiRefPtr<NiAmbientLight> spLight = new NiAmbientLight;
    NiLightColorController* pkLight = new NiLightColorController;
    pkLight->SetKeys(1, PositionKeys({{0, NiPoint3(1.5f, -0.2f, 0.5f)}}), KEY_LINEAR);
    pkLight->SetAmbient(true);
    pkLight->SetTarget(spLight);
    const int32_t iRevision = spLight->GetRevisionID();
    pkLight->Update(1.0f);
    EXPECT_EQ(spLight->GetAmbientColor(), NiColor(1, 0, 0.5f));
    EXPECT_EQ(spLight->GetDiffuseColor(), NiColor::BLACK);
    EXPECT_EQ(spLight->GetSpecularColor(), NiColor::BLACK);
    EXPECT_EQ(spLight->GetRevisionID(), iRevision + 3);

    NiRefPtr<NiLightColorController> spDiffuse = static_cast<NiLightColorController*>(pkLight->Clone());
    spDiffuse->SetAmbient(false);
    EXPECT_FALSE(spDiffuse->IsEquivalent(pkLight));

    // Selector 3 writes the emissive colour only; 5 names none and leaves the changed flag.
    for (uint16_t usField : {uint16_t(3), uint16_t(5)})
    {
        NiRefPtr<NiMaterialProperty> spMaterial = new NiMaterialProperty;
        spMaterial->SetChanged(false);
        NiMaterialColorController* pkMaterial = new NiMaterialColorController;
        pkMaterial->SetKeys(1, PositionKeys({{0, NiPoint3(0.25f, 0.5f, 0.75f)}}), KEY_LINEAR);
        pkMaterial->SetField(usField);
        pkMaterial->SetTarget(spMaterial);
        pkMaterial->Update(1.0f);
        const bool bWrites = usField == 3;
        EXPECT_EQ(spMaterial->GetEmittance(), bWrites ? NiColor(0.25f, 0.5f, 0.75f) : NiColor(0, 0, 0));
        EXPECT_EQ(spMaterial->GetAmbientColor(), NiColor(0.5f, 0.5f, 0.5f));
        EXPECT_EQ(spMaterial->GetChanged(), bWrites);
    }

    // Alpha is not clamped.
    NiRefPtr<NiMaterialProperty> spMaterial = new NiMaterialProperty;
    NiAlphaController* pkAlpha = new NiAlphaController;
    pkAlpha->SetKeys(FloatKeys({{0, 1.7f}}), 1, KEY_LINEAR);
    pkAlpha->SetTarget(spMaterial);
    pkAlpha->Update(0.5f);
    EXPECT_EQ(spMaterial->GetAlpha(), 1.7f);
    EXPECT_TRUE(spMaterial->GetChanged());
}

TEST(FlipController, ShowsTheImageOfEachFrameAndKeepsItsImagesShared)
{
    NiRefPtr<NiTextureProperty> spTexture = new NiTextureProperty;
    NiRefPtr<NiFlipController> spFlip = new NiFlipController;
    NiRefPtr<TestImage> aspImages[4] = {new TestImage, new TestImage, new TestImage, new TestImage};
    for (uint32_t i = 0; i < 4; ++i)
        spFlip->SetImage(aspImages[i], i);
    spFlip->SetSecondsPerFrame(0.5f);
    spFlip->SetStartTime(0.0f);
    EXPECT_EQ(spFlip->GetPeriod(), 2.0f);
    EXPECT_EQ(spFlip->GetHiKeyTime(), 2.0f);

    // Updating without a target, and with no images, leaves the texture alone.
    NiRefPtr<NiFlipController> spEmpty = new NiFlipController;
    spEmpty->SetTarget(spTexture);
    spEmpty->Update(1.0f);
    EXPECT_EQ(spTexture->GetImageObject(), nullptr);
    spEmpty->SetTarget(nullptr);

    spFlip->SetTarget(spTexture);
    const std::pair<float, uint32_t> akFrames[] = {{0.0f, 0}, {0.49f, 0}, {0.5f, 1}, {1.99f, 3}, {2.0f, 3}};
    for (const auto& [fTime, uiImage] : akFrames)
    {
        spFlip->Update(fTime);
        EXPECT_EQ(spTexture->GetImageObject(), aspImages[uiImage].Get()) << "at " << fTime;
    }

    NiRefPtr<NiFlipController> spClone = static_cast<NiFlipController*>(spFlip->Clone());
    EXPECT_EQ(spClone->GetImage(2), aspImages[2].Get());
    EXPECT_EQ(spClone->GetPeriod(), 2.0f);
    NiRefPtr<NiFlipController> spSecond = static_cast<NiFlipController*>(spFlip->Clone());
    spClone->SetImage(nullptr, 0);
    EXPECT_TRUE(spClone->IsEquivalent(spSecond));

    NiRefPtr<NiFlipController> spSparse = new NiFlipController;
    spSparse->SetImage(aspImages[0], 5);
    EXPECT_EQ(spSparse->GetImageCount(), 6u);
    EXPECT_EQ(spSparse->GetImage(4), nullptr);
    EXPECT_FLOAT_EQ(spSparse->GetPeriod(), 6 * NiFlipController::DEFAULT_SECONDS_PER_FRAME);
}

TEST(LookAtController, PointsTheChosenAxisAtTheObject)
{
    struct Case
    {
        NiPoint3 kLookAt;
        bool bFlip;
        NiRotationMatrix kExpected;
    };
    const Case akCases[] = {
        {NiPoint3(10, 0, 0), false, Columns(NiPoint3(-1, 0, 0), NiPoint3(0, 0, 1), NiPoint3(0, 1, 0))},
        {NiPoint3(10, 0, 0), true, Columns(NiPoint3(1, 0, 0), NiPoint3(0, 0, 1), NiPoint3(0, -1, 0))},
        // Straight above or below: y takes the place of the up vector, and the frame stays whole.
        {NiPoint3(0, 0, 5), true, Columns(NiPoint3(0, 0, 1), NiPoint3(0, 1, 0), NiPoint3(-1, 0, 0))},
        {NiPoint3(0, 0, -5), true, Columns(NiPoint3(0, 0, -1), NiPoint3(0, 1, 0), NiPoint3(1, 0, 0))},
        {NiPoint3(0.01f, 0, 0), false, NiRotationMatrix::IDENTITY},
    };
    for (const Case& kCase : akCases)
    {
        NiRefPtr<NiNode> spScene = new NiNode;
        NiNode* pkTarget = new NiNode;
        NiNode* pkBeacon = new NiNode;
        pkBeacon->SetTranslate(kCase.kLookAt);
        spScene->AddChild(pkTarget);
        spScene->AddChild(pkBeacon);
        NiLookAtController* pkLookAt = new NiLookAtController;
        pkLookAt->SetFlip(kCase.bFlip);
        pkLookAt->SetTarget(pkTarget);
        ASSERT_TRUE(pkLookAt->SetLookAt(pkBeacon));
        spScene->UpdateSubtree(0.0f);
        spScene->UpdateSubtree(1.0f);
        ExpectMatrixNear(pkTarget->GetRotate(), kCase.kExpected);
        // It holds its target's ancestors only at the cost of a loop of references.
        EXPECT_FALSE(pkLookAt->SetLookAt(spScene));
    }
}

TEST(LookAtController, UnderATurnedParentTheWorldFrameFacesTheObject)
{
    NiRefPtr<NiNode> spScene = new NiNode;
    NiNode* pkParent = new NiNode;
    pkParent->SetRotate(Columns(NiPoint3(0, 1, 0), NiPoint3(-1, 0, 0), NiPoint3(0, 0, 1)));
    NiNode* pkTarget = new NiNode;
    NiNode* pkBeacon = new NiNode;
    pkBeacon->SetTranslate(NiPoint3(10, 0, 0));
    pkParent->AddChild(pkTarget);
    spScene->AddChild(pkParent);
    spScene->AddChild(pkBeacon);
    NiLookAtController* pkLookAt = new NiLookAtController;
    pkLookAt->SetTarget(pkTarget);
    pkLookAt->SetLookAt(pkBeacon);
    spScene->UpdateSubtree(0.0f);
    spScene->UpdateSubtree(0.0f);
    ExpectMatrixNear(pkTarget->GetWorldRotate(),
                     Columns(NiPoint3(-1, 0, 0), NiPoint3(0, 0, 1), NiPoint3(0, 1, 0)));
}

TEST(PathController, PlacesAndTurnsItsTargetAlongThePath)
{
    NiRefPtr<NiNode> spNode = new NiNode;
    NiPathController* pkPath = new NiPathController;
    pkPath->SetPathKeys(
        PositionKeys({{0, NiPoint3(0, 0, 0)}, {1, NiPoint3(2, 0, 0)}, {2, NiPoint3(4, 0, 0)}}), 3,
        KEY_LINEAR);
    pkPath->SetPercentKeys(FloatKeys({{0, 0}, {10, 2}}), 2, KEY_LINEAR);
    pkPath->SetFollow(true);
    pkPath->SetTarget(spNode);
    EXPECT_TRUE(pkPath->GetOpenPath());

    // Percentages in path key times: below, on an inner key, above.
    const std::pair<float, NiPoint3> akPlaces[] = {{-1.0f, NiPoint3(0, 0, 0)},
                                                   {5.0f, NiPoint3(2, 0, 0)},
                                                   {2.5f, NiPoint3(1, 0, 0)},
                                                   {12.0f, NiPoint3(4, 0, 0)}};
    for (const auto& [fTime, kPlace] : akPlaces)
    {
        pkPath->Update(fTime);
        EXPECT_EQ(spNode->GetTranslate(), kPlace) << "at " << fTime;
        ExpectMatrixNear(spNode->GetRotate(), NiRotationMatrix::IDENTITY);
    }

    // Constant velocity: half the length of two equal segments is the second key.
    pkPath->SetPercentKeys(FloatKeys({{0, 0}, {10, 1}}), 2, KEY_LINEAR);
    pkPath->SetConstVelocity(true);
    EXPECT_NEAR(pkPath->GetTotalLength(), 4.0f, 1e-5f);
    const NiPathController::Location kHalf = pkPath->GetPercentLoc(0.5f);
    EXPECT_EQ(kHalf.m_uiI, 0u);
    EXPECT_NEAR(kHalf.m_fU, 1.0f, 1e-4f);
    pkPath->Update(2.5f);
    EXPECT_NEAR(spNode->GetTranslate().x, 1.0f, 1e-4f);

    // Follow axis 1 moves the path direction to y; a vertical path keeps a whole frame.
    pkPath->SetFollowAxis(1);
    ExpectMatrixNear(pkPath->GetRotation({0, 1, 0.5f}),
                     Columns(NiPoint3(0, -1, 0), NiPoint3(1, 0, 0), NiPoint3(0, 0, 1)));
    pkPath->SetFollowAxis(0);
    pkPath->SetPathKeys(PositionKeys({{0, NiPoint3(0, 0, 0)}, {1, NiPoint3(0, 0, 3)}}), 2, KEY_LINEAR);
    const NiRotationMatrix kUp = pkPath->GetRotation({0, 1, 0.5f});
    EXPECT_NEAR(kUp.TransposeTimes(kUp).GetEntry(1, 1), 1.0f, 1e-6f);
    EXPECT_NEAR(kUp.TransposeTimes(kUp).GetEntry(2, 2), 1.0f, 1e-6f);
}

TEST(PathController, BanksByCurvatureAndSmoothsClosedEnds)
{
    // A closed square loop of Bezier segments.
    auto Loop = []
    {
        return PositionKeys({{0, NiPoint3(0, 0, 0)},
                             {1, NiPoint3(1, 0, 0)},
                             {2, NiPoint3(1, 1, 0)},
                             {3, NiPoint3(0, 1, 0)},
                             {4, NiPoint3(0, 0, 0)}},
                            KEY_TCB);
    };
    NiRefPtr<NiPathController> spPath = new NiPathController;
    spPath->SetPathKeys(Loop(), 5, KEY_TCB);
    spPath->SetPercentKeys(FloatKeys({{0, 0}, {4, 4}}), 2, KEY_LINEAR);
    EXPECT_FALSE(spPath->GetOpenPath());
    EXPECT_GT(spPath->GetMaxCurvature(), 0.0f);
    spPath->SetCurveFrame(true);
    spPath->SetSmoothing(0.2f);

    // At the very end of the last segment the closed path blends towards the first one.
    const NiRotationMatrix kClosedEnd = spPath->GetRotation({3, 4, 0.99f});
    spPath->SetOpenPath(true);
    const NiRotationMatrix kOpenEnd = spPath->GetRotation({3, 4, 0.99f});
    EXPECT_NE(kClosedEnd, kOpenEnd);

    // A loaded controller banks like the one it was saved from.
    spPath->SetAllowBanking(true);
    spPath->SetMaxBankAngle(0.5f);
    NiRefPtr<NiPathController> spLoaded = NifTest::RoundTrip(spPath.Get());
    ASSERT_TRUE(spLoaded);
    EXPECT_TRUE(spLoaded->IsEquivalent(spPath));
    EXPECT_EQ(spLoaded->GetMaxCurvature(), spPath->GetMaxCurvature());
    ExpectMatrixNear(spLoaded->GetRotation({1, 2, 0.3f}), spPath->GetRotation({1, 2, 0.3f}));
}

TEST(PathController, OneKeyPathsAndEmptyDataAreHarmless)
{
    NiRefPtr<NiNode> spNode = new NiNode;
    NiPathController* pkPath = new NiPathController;
    pkPath->SetTarget(spNode);
    pkPath->Update(1.0f);
    pkPath->SetPathKeys(PositionKeys({{0, NiPoint3(3, 2, 1)}}), 1, KEY_LINEAR);
    pkPath->SetPercentKeys(FloatKeys({{0, 0.5f}}), 1, KEY_LINEAR);
    pkPath->SetFollow(true);
    pkPath->SetConstVelocity(true);
    pkPath->Update(2.0f);
    EXPECT_EQ(spNode->GetTranslate(), NiPoint3(3, 2, 1));
    EXPECT_EQ(spNode->GetRotate(), NiRotationMatrix::IDENTITY);
}

TEST(VisController, HidesItsTargetWhileTheKeySaysInvisible)
{
    NiRefPtr<NiNode> spNode = new NiNode;
    NiVisController* pkVis = new NiVisController;
    pkVis->SetKeys(
        new BoolKey* [3]
        {
            new BoolKey{0, 1}, new BoolKey{1, 0}, new BoolKey
            {
                2, 1
            }
        },
        3, true);
    pkVis->SetTarget(spNode);
    const std::pair<float, bool> akCases[] = {{0.5f, false}, {1.0f, true}, {1.5f, true}, {2.5f, false}};
    for (const auto& [fTime, bCulled] : akCases)
    {
        pkVis->Update(fTime);
        EXPECT_EQ(spNode->GetAppCulled(), bCulled) << "at " << fTime;
    }
    NiRefPtr<NiVisController> spClone = static_cast<NiVisController*>(pkVis->Clone());
    EXPECT_EQ(spClone->GetData(), pkVis->GetData());
}

TEST(LookAtController, AFileLookingAtTheTargetsOwnHolderLoadsWithoutThatLink)
{
    NiRefPtr<NiNode> spRoot = new NiNode;
    NiNode* pkTarget = new NiNode;
    NiNode* pkBeacon = new NiNode;
    spRoot->AddChild(pkTarget);
    spRoot->AddChild(pkBeacon);
    NiLookAtController* pkToRoot = new NiLookAtController;
    // Set before the target: nothing to refuse yet, so the file holds the loop.
    pkToRoot->SetLookAt(spRoot);
    pkToRoot->SetTarget(pkTarget);
    NiLookAtController* pkToBeacon = new NiLookAtController;
    pkToBeacon->SetTarget(pkBeacon);
    pkToBeacon->SetLookAt(pkTarget);

    const int32_t iLiveBefore = NiObject::GetLiveObjectCount();
    {
        NiRefPtr<NiNode> spLoaded = NifTest::RoundTrip(spRoot.Get());
        ASSERT_TRUE(spLoaded);
        NiAVObject* pkLoadedTarget = spLoaded->GetAt(0);
        EXPECT_EQ(NiLookAtController::FindController(pkLoadedTarget)->GetLookAt(), nullptr);
        EXPECT_EQ(NiLookAtController::FindController(spLoaded->GetAt(1))->GetLookAt(), pkLoadedTarget);
    }
    // Nothing of the loaded copy is kept alive by a loop.
    EXPECT_EQ(NiObject::GetLiveObjectCount(), iLiveBefore);
    pkToRoot->SetLookAt(nullptr);
}
