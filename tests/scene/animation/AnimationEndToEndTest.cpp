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

using namespace AnimTest;

namespace
{
// A model with a controller of every kind, each on the object it animates.
NiRefPtr<NiNode> BuildAnimatedModel(std::vector<NiRefPtr<TestImage>>& kImages)
{
    NiRefPtr<NiNode> spRoot = new NiNode;
    spRoot->SetName("Ship");

    NiNode* pkMover = new NiNode;
    pkMover->SetName("Mover");
    NiKeyframeController* pkFrames = new NiKeyframeController;
    pkFrames->SetRotationKeys(RotationKeys({{0, ZTurn(0)}, {1, ZTurn(1)}, {2, ZTurn(0.5f)}}, KEY_TCB), 3,
                              KEY_TCB, false);
    pkFrames->SetPositionKeys(PositionKeys({{0, NiPoint3(0, 0, 0)}, {2, NiPoint3(1, 0, 0)}}, KEY_BEZIER), 2,
                              KEY_BEZIER, false);
    pkFrames->SetScaleKeys(FloatKeys({{0, 0}, {1, 1}, {2, 4}}, KEY_TCB), 3, KEY_TCB, true);
    pkFrames->SetTarget(pkMover);
    spRoot->AddChild(pkMover);

    NiNode* pkBeacon = new NiNode;
    pkBeacon->SetName("Beacon");
    pkBeacon->SetTranslate(NiPoint3(0, 10, 0));
    spRoot->AddChild(pkBeacon);

    NiNode* pkWatcher = new NiNode;
    pkWatcher->SetName("Watcher");
    NiRollController* pkRoll = new NiRollController;
    pkRoll->SetKeys(FloatKeys({{0, 0}, {2, 1}}), 2, KEY_LINEAR);
    pkRoll->SetTarget(pkWatcher);
    NiLookAtController* pkLookAt = new NiLookAtController;
    pkLookAt->SetAxis(NiLookAtController::Y);
    pkLookAt->SetFlip(true);
    pkLookAt->SetTarget(pkWatcher);
    pkLookAt->SetLookAt(pkBeacon);
    spRoot->AddChild(pkWatcher);

    NiNode* pkRider = new NiNode;
    pkRider->SetName("Rider");
    NiPathController* pkPath = new NiPathController;
    pkPath->SetPathKeys(
        PositionKeys({{0, NiPoint3(0, 0, 0)}, {1, NiPoint3(4, 0, 0)}, {2, NiPoint3(4, 4, 0)}}), 3,
        KEY_LINEAR);
    pkPath->SetPercentKeys(FloatKeys({{0, 0}, {2, 2}}), 2, KEY_LINEAR);
    pkPath->SetFollow(true);
    pkPath->SetTarget(pkRider);
    spRoot->AddChild(pkRider);

    NiNode* pkBlinker = new NiNode;
    pkBlinker->SetName("Blinker");
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
    pkVis->SetTarget(pkBlinker);
    spRoot->AddChild(pkBlinker);

    NiAmbientLight* pkLamp = new NiAmbientLight;
    pkLamp->SetName("Lamp");
    NiLightColorController* pkLampColor = new NiLightColorController;
    pkLampColor->SetKeys(2, PositionKeys({{0, NiPoint3(0, 0, 0)}, {2, NiPoint3(3, -1, 0.5f)}}), KEY_LINEAR);
    pkLampColor->SetTarget(pkLamp);
    spRoot->AddChild(pkLamp);

    NiMaterialProperty* pkMaterial = new NiMaterialProperty;
    NiAlphaController* pkAlpha = new NiAlphaController;
    pkAlpha->SetKeys(FloatKeys({{0, 1}, {2, 0}}), 2, KEY_LINEAR);
    pkAlpha->SetTarget(pkMaterial);
    NiMaterialColorController* pkDiffuse = new NiMaterialColorController;
    pkDiffuse->SetField(NiMaterialColorController::DIFF);
    pkDiffuse->SetKeys(2, PositionKeys({{0, NiPoint3(1, 1, 1)}, {2, NiPoint3(0, 0.5f, 1)}}), KEY_LINEAR);
    pkDiffuse->SetTarget(pkMaterial);
    spRoot->PrependProperty(pkMaterial);

    NiTextureProperty* pkTexture = new NiTextureProperty;
    NiFlipController* pkFlip = new NiFlipController;
    for (uint32_t i = 0; i < 4; ++i)
    {
        kImages.push_back(new TestImage);
        pkFlip->SetImage(kImages.back(), i);
    }
    pkFlip->SetSecondsPerFrame(0.5f);
    pkFlip->SetStartTime(0.0f);
    pkFlip->SetTarget(pkTexture);
    spRoot->PrependProperty(pkTexture);
    return spRoot;
}

template <class T> T* Find(NiNode* pkRoot, const char* pcName)
{
    return NiDynamicCast<T>(pkRoot->FindObjectByName(pcName));
}

// What the model shows at one time.
struct Sample
{
    NiRotationMatrix kMoverRotate;
    NiPoint3 kMoverTranslate;
    float fMoverScale;
    NiRotationMatrix kWatcherRotate;
    NiPoint3 kRiderTranslate;
    NiRotationMatrix kRiderRotate;
    bool bBlinkerCulled;
    NiColor kLampDiffuse;
    float fAlpha;
    NiColor kDiffuse;
    uint32_t uiImage;
};

Sample Take(NiNode* pkRoot, float fTime, const std::vector<NiRefPtr<TestImage>>& kImages)
{
    pkRoot->UpdateSubtree(fTime);
    Sample kSample;
    NiAVObject* pkMover = Find<NiAVObject>(pkRoot, "Mover");
    kSample.kMoverRotate = pkMover->GetRotate();
    kSample.kMoverTranslate = pkMover->GetTranslate();
    kSample.fMoverScale = pkMover->GetScale();
    kSample.kWatcherRotate = Find<NiAVObject>(pkRoot, "Watcher")->GetRotate();
    kSample.kRiderTranslate = Find<NiAVObject>(pkRoot, "Rider")->GetTranslate();
    kSample.kRiderRotate = Find<NiAVObject>(pkRoot, "Rider")->GetRotate();
    kSample.bBlinkerCulled = Find<NiAVObject>(pkRoot, "Blinker")->GetAppCulled();
    kSample.kLampDiffuse = Find<NiAmbientLight>(pkRoot, "Lamp")->GetDiffuseColor();
    const NiMaterialProperty* pkMaterial = nullptr;
    const NiTextureProperty* pkTexture = nullptr;
    for (const NiRefPtr<NiProperty>& spProperty : pkRoot->GetPropertyList())
    {
        if (!pkMaterial)
            pkMaterial = NiDynamicCast<NiMaterialProperty>(spProperty.Get());
        if (!pkTexture)
            pkTexture = NiDynamicCast<NiTextureProperty>(spProperty.Get());
    }
    kSample.fAlpha = pkMaterial->GetAlpha();
    kSample.kDiffuse = pkMaterial->GetDiffuseColor();
    kSample.uiImage = 99;
    for (uint32_t i = 0; i < kImages.size(); ++i)
    {
        if (pkTexture->GetImageObject() == kImages[i].Get())
            kSample.uiImage = i;
    }
    return kSample;
}

NiRotationMatrix ZMatrix(float fAngle)
{
    NiRotationMatrix kMatrix;
    ZTurn(fAngle).ToRotation(kMatrix);
    return kMatrix;
}

void ExpectNear(const NiRotationMatrix& kActual, const NiRotationMatrix& kExpected, const char* pcWhat,
                float fTime)
{
    for (uint32_t r = 0; r < 3; ++r)
    {
        for (uint32_t c = 0; c < 3; ++c)
        {
            EXPECT_NEAR(kActual.GetEntry(r, c), kExpected.GetEntry(r, c), 1e-5f)
                << pcWhat << " at " << fTime << " entry " << r << c;
        }
    }
}
} // namespace

TEST(AnimationEndToEnd, ASavedModelLoadsEquivalentAndAnimatesToTheComputedValues)
{
    std::vector<NiRefPtr<TestImage>> kImages;
    NiRefPtr<NiNode> spBuilt = BuildAnimatedModel(kImages);
    const std::vector<NiRefPtr<NiObject>> kLoaded = NifTest::Load(NifTest::Save({spBuilt.Get()}));
    ASSERT_EQ(kLoaded.size(), 1u);
    NiRefPtr<NiNode> spLoaded = NiDynamicCast<NiNode>(kLoaded[0].Get());
    ASSERT_TRUE(spLoaded);
    EXPECT_TRUE(spLoaded->IsEquivalent(spBuilt));

    // The loaded flip controller holds copies of the images: map them by slot.
    std::vector<NiRefPtr<TestImage>> kLoadedImages;
    for (const NiRefPtr<NiProperty>& spProperty : spLoaded->GetPropertyList())
    {
        if (NiFlipController* pkFlip = NiFlipController::FindController(spProperty))
        {
            for (uint32_t i = 0; i < pkFlip->GetImageCount(); ++i)
                kLoadedImages.push_back(static_cast<TestImage*>(pkFlip->GetImage(i)));
        }
    }
    ASSERT_EQ(kLoadedImages.size(), 4u);

    struct Golden
    {
        float fTime;
        NiPoint3 kMoverTranslate; // Bezier, zero tangents: smoothstep along x
        float fMoverScale;        // TCB through 0, 1, 4
        NiPoint3 kRiderTranslate; // linear path, percentage = time
        bool bCulled;
        float fAlpha;
        uint32_t uiImage;
    };
    const Golden akGolden[] = {
        {0.0f, NiPoint3(0, 0, 0), 0.0f, NiPoint3(0, 0, 0), false, 1.0f, 0},
        {0.5f, NiPoint3(0.15625f, 0, 0), 0.375f, NiPoint3(2, 0, 0), false, 0.75f, 1},
        {1.0f, NiPoint3(0.5f, 0, 0), 1.0f, NiPoint3(4, 0, 0), true, 0.5f, 2},
        {1.5f, NiPoint3(0.84375f, 0, 0), 2.375f, NiPoint3(4, 2, 0), true, 0.25f, 3},
        {2.0f, NiPoint3(1, 0, 0), 4.0f, NiPoint3(4, 4, 0), false, 0.0f, 3},
    };
    for (const Golden& kGolden : akGolden)
    {
        const Sample kBuilt = Take(spBuilt, kGolden.fTime, kImages);
        const Sample kSample = Take(spLoaded, kGolden.fTime, kLoadedImages);
        for (const Sample* pkSample : {&kBuilt, &kSample})
        {
            EXPECT_EQ(pkSample->kMoverTranslate, kGolden.kMoverTranslate) << "at " << kGolden.fTime;
            EXPECT_FLOAT_EQ(pkSample->fMoverScale, kGolden.fMoverScale) << "at " << kGolden.fTime;
            EXPECT_EQ(pkSample->kRiderTranslate, kGolden.kRiderTranslate) << "at " << kGolden.fTime;
            EXPECT_EQ(pkSample->bBlinkerCulled, kGolden.bCulled) << "at " << kGolden.fTime;
            EXPECT_EQ(pkSample->fAlpha, kGolden.fAlpha) << "at " << kGolden.fTime;
            EXPECT_EQ(pkSample->uiImage, kGolden.uiImage) << "at " << kGolden.fTime;
            // Colours clamp: the lamp's red runs 0 -> 3 and its green 0 -> -1.
            const float fRed = std::min(1.5f * kGolden.fTime, 1.0f);
            EXPECT_EQ(pkSample->kLampDiffuse, NiColor(fRed, 0, 0.25f * kGolden.fTime))
                << "at " << kGolden.fTime;
            EXPECT_EQ(pkSample->kDiffuse.r, 1.0f - 0.5f * kGolden.fTime) << "at " << kGolden.fTime;
        }
        // The rotation keys pass through their key quaternions.
        if (kGolden.fTime == 1.0f)
            ExpectNear(kSample.kMoverRotate, ZMatrix(1.0f), "mover", kGolden.fTime);
        // Path direction: +x on the first leg, +y on the second.
        const NiRotationMatrix kRide = kGolden.fTime < 1.0f ? NiRotationMatrix::IDENTITY : ZMatrix(NiHalfPi);
        if (kGolden.fTime != 1.0f)
            ExpectNear(kSample.kRiderRotate, kRide, "rider", kGolden.fTime);
        ExpectNear(kSample.kMoverRotate, kBuilt.kMoverRotate, "mover as built", kGolden.fTime);
        ExpectNear(kSample.kWatcherRotate, kBuilt.kWatcherRotate, "watcher as built", kGolden.fTime);
    }
}

TEST(AnimationEndToEnd, ClonesShareKeyDataAndKeepTheirOwnIndices)
{
    std::vector<NiRefPtr<TestImage>> kImages;
    NiRefPtr<NiNode> spModel = BuildAnimatedModel(kImages);
    const int32_t iNameMode = NiObject::GetCloneNameMode();
    NiObject::SetCloneNameMode(NiObject::CLONE_NAME_COPY);
    NiRefPtr<NiNode> spClone = static_cast<NiNode*>(spModel->Clone());
    NiObject::SetCloneNameMode(iNameMode);
    NiKeyframeController* pkSource = NiKeyframeController::FindController(Find<NiAVObject>(spModel, "Mover"));
    NiKeyframeController* pkCopy = NiKeyframeController::FindController(Find<NiAVObject>(spClone, "Mover"));
    ASSERT_NE(pkCopy, nullptr);
    EXPECT_NE(pkCopy, pkSource);
    EXPECT_EQ(pkCopy->GetData(), pkSource->GetData());
    EXPECT_EQ(pkCopy->GetTarget(), Find<NiAVObject>(spClone, "Mover"));

    // The clone's look-at controller looks at the cloned beacon.
    NiLookAtController* pkLookAt = NiLookAtController::FindController(Find<NiAVObject>(spClone, "Watcher"));
    ASSERT_NE(pkLookAt, nullptr);
    EXPECT_EQ(pkLookAt->GetLookAt(), Find<NiAVObject>(spClone, "Beacon"));

    spModel->UpdateSubtree(1.9f);
    EXPECT_EQ(pkSource->GetLastPosIndex(), 0u);
    EXPECT_EQ(pkSource->GetLastRotIndex(), 1u);
    EXPECT_EQ(pkCopy->GetLastRotIndex(), 0u);
    spClone->UpdateSubtree(0.5f);
    EXPECT_EQ(pkCopy->GetLastRotIndex(), 0u);
    EXPECT_EQ(pkSource->GetLastRotIndex(), 1u);
    EXPECT_EQ(Find<NiAVObject>(spClone, "Mover")->GetTranslate(), NiPoint3(0.15625f, 0, 0));
}

TEST(AnimationEndToEnd, TimeMappingsGiveTheBoundaryValues)
{
    struct Case
    {
        NiTimeController::CycleType eCycle;
        float fTime;
        float fAlpha; // keys 0 -> 1 over [0, 2]
    };
    const Case akCases[] = {
        {NiTimeController::LOOP, 2.0f, 0.0f},    {NiTimeController::LOOP, 2.5f, 0.25f},
        {NiTimeController::REVERSE, 2.0f, 1.0f}, {NiTimeController::REVERSE, 3.0f, 0.5f},
        {NiTimeController::CLAMP, 5.0f, 1.0f},   {NiTimeController::CLAMP, -1.0f, 0.0f},
    };
    for (const Case& kCase : akCases)
    {
        NiRefPtr<NiMaterialProperty> spMaterial = new NiMaterialProperty;
        NiAlphaController* pkAlpha = new NiAlphaController;
        pkAlpha->SetKeys(FloatKeys({{0, 0}, {2, 1}}), 2, KEY_LINEAR);
        pkAlpha->SetCycleType(kCase.eCycle);
        pkAlpha->SetTarget(spMaterial);
        const std::vector<NiRefPtr<NiObject>> kLoaded = NifTest::Load(NifTest::Save({spMaterial.Get()}));
        ASSERT_EQ(kLoaded.size(), 1u);
        NiAlphaController* pkLoaded =
            NiAlphaController::FindController(NiDynamicCast<NiObjectNET>(kLoaded[0].Get()));
        ASSERT_NE(pkLoaded, nullptr);
        for (NiAlphaController* pkController : {pkAlpha, pkLoaded})
        {
            pkController->Update(kCase.fTime);
            const NiMaterialProperty* pkTarget = static_cast<NiMaterialProperty*>(pkController->GetTarget());
            EXPECT_EQ(pkTarget->GetAlpha(), kCase.fAlpha)
                << "cycle " << kCase.eCycle << " at " << kCase.fTime;
        }
    }
}
