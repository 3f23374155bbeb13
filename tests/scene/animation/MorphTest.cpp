#include "AnimationTestSupport.h"

#include "scene/animation/NiMorphController.h"
#include "scene/animation/NiMorphData.h"
#include "scene/animation/NiMorpherController.h"
#include "scene/graph/NiTriShape.h"
#include "scene/graph/NiTriShapeData.h"
#include "tests/scene/graph/NifTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace AnimTest;

namespace
{
// A one-triangle shape whose corners all start at the origin.
NiRefPtr<NiTriShape> MakeShape(uint16_t usVertices = 3, bool bNormals = false)
{
    NiPoint3* pkVertices = new NiPoint3[usVertices];
    for (uint16_t i = 0; i < usVertices; ++i)
        pkVertices[i] = NiPoint3(0, 0, 0);
    NiPoint3* pkNormals = bNormals ? new NiPoint3[usVertices] : nullptr;
    for (uint16_t i = 0; bNormals && i < usVertices; ++i)
        pkNormals[i] = NiPoint3(0, 0, 1);
    uint16_t* pusTriangles = new uint16_t[3]{0, 1, 2};
    return new NiTriShape(
        new NiTriShapeData(usVertices, pkVertices, pkNormals, nullptr, nullptr, 1, pusTriangles));
}

// Target vertex arrays in which target i has every vertex at (value, 0, 0).
std::vector<std::unique_ptr<NiPoint3[]>> MakeVertexArrays(std::initializer_list<float> kValues,
                                                          uint32_t uiVerts)
{
    std::vector<std::unique_ptr<NiPoint3[]>> kArrays;
    for (float fValue : kValues)
    {
        std::unique_ptr<NiPoint3[]> spArray(new NiPoint3[uiVerts]);
        for (uint32_t v = 0; v < uiVerts; ++v)
            spArray[v] = NiPoint3(fValue, static_cast<float>(v), 0);
        kArrays.push_back(std::move(spArray));
    }
    return kArrays;
}

// Morph data of three-vertex targets, each with its own linear weight keys.
NiRefPtr<NiMorphData>
MakeData(bool bRelative,
         std::initializer_list<std::pair<float, std::vector<std::pair<float, float>>>> kTargets)
{
    NiRefPtr<NiMorphData> spData = new NiMorphData;
    MorphTarget* pkTargets = new MorphTarget[kTargets.size()];
    uint32_t i = 0;
    for (const auto& [fValue, kKeys] : kTargets)
    {
        NiPoint3* pkVertices = new NiPoint3[3];
        for (uint32_t v = 0; v < 3; ++v)
            pkVertices[v] = NiPoint3(fValue, fValue * static_cast<float>(v), 0);
        pkTargets[i].SetVertices(pkVertices);
        if (!kKeys.empty())
        {
            FloatKey** ppKeys = new FloatKey*[kKeys.size()];
            for (size_t k = 0; k < kKeys.size(); ++k)
                ppKeys[k] = new FloatKey{kKeys[k].first, kKeys[k].second};
            pkTargets[i].SetKeys(ppKeys, static_cast<uint32_t>(kKeys.size()), KEY_LINEAR);
        }
        ++i;
    }
    spData->SetTargets(pkTargets, i, 3);
    spData->SetRelative(bRelative);
    return spData;
}

// An old morph controller on a fresh shape, saved and loaded back: the loaded shape.
NiRefPtr<NiTriShape> LoadConverted(NiMorphController* pkOld)
{
    NiRefPtr<NiTriShape> spShape = MakeShape();
    pkOld->SetTarget(spShape);
    return NifTest::RoundTrip(spShape.Get());
}

float WeightAt(NiMorphData* pkData, uint32_t uiTarget, float fTime)
{
    MorphTarget& kTarget = pkData->GetTargets()[uiTarget];
    return InterpolateFloatKeys(fTime, kTarget.GetKeys(), kTarget.GetKeyType(), kTarget.GetNumKeys(),
                                kTarget.GetLastIndex());
}
} // namespace

TEST(MorphTest, OldControllerWithTargetIndexKeysLoadsAsAbsoluteMorpher)
{
    NiRefPtr<NiMorphController> spOld = new NiMorphController;
    FloatKey** ppKeys = new FloatKey* [3]
    { NewTcbIndexKey(0, 0, 0, 0, 0), NewTcbIndexKey(1, 0, 0, 0, 2), NewTcbIndexKey(2, 0, 0, 0, 1) };
    GetFloatKeyOps(KEY_TCB_INDEX)->m_pfnFillDerived(ppKeys, 3, 3);
    spOld->SetKeys(ppKeys, 3, KEY_TCB_INDEX);
    spOld->SetTargets(MakeVertexArrays({1, 2, 3}, 3), 3);
    const NiRefPtr<NiTriShape> spLoaded = LoadConverted(spOld);
    ASSERT_TRUE(spLoaded);

    NiMorpherController* pkMorpher = NiMorpherController::FindController(spLoaded);
    ASSERT_NE(pkMorpher, nullptr);
    EXPECT_EQ(NiMorphController::FindController(spLoaded), nullptr);
    EXPECT_EQ(pkMorpher->GetTarget(), spLoaded.Get());
    NiMorphData* pkData = pkMorpher->GetData();
    ASSERT_NE(pkData, nullptr);
    EXPECT_FALSE(pkData->GetRelativeTargets());
    ASSERT_EQ(pkData->GetNumTargets(), 3u);
    EXPECT_EQ(pkData->GetTargets()[2].GetKeyType(), KEY_TCB);
    EXPECT_FLOAT_EQ(WeightAt(pkData, 2, 0), 0.0f);
    EXPECT_FLOAT_EQ(WeightAt(pkData, 2, 1), 1.0f);
    EXPECT_FLOAT_EQ(WeightAt(pkData, 2, 2), 0.0f);
    EXPECT_FLOAT_EQ(WeightAt(pkData, 1, 2), 1.0f);
    EXPECT_TRUE(pkMorpher->GetActive());
}

TEST(MorphTest, OldControllerWithWeightArraysLoadsAsRelativeMorpherAndAppInitAsInactive)
{
    NiRefPtr<NiMorphController> spOld = new NiMorphController;
    FloatKey** ppKeys = new FloatKey* [2]
    {
        new TcbFloatArrayKey(0, 0, 0, 0, new float[2]{1.0f, 0.25f}),
            new TcbFloatArrayKey(4, 0, 0, 0, new float[2]{1.0f, 0.75f})
    };
    GetFloatKeyOps(KEY_TCB_ARRAY)->m_pfnFillDerived(ppKeys, 2, 2);
    spOld->SetKeys(ppKeys, 2, KEY_TCB_ARRAY);
    spOld->SetTargets(MakeVertexArrays({1, 5}, 3), 3);
    spOld->SetAnimType(NiTimeController::APP_INIT);
    spOld->SetRecomputeNormals(true);
    const NiRefPtr<NiTriShape> spLoaded = LoadConverted(spOld);
    ASSERT_TRUE(spLoaded);

    NiMorpherController* pkMorpher = NiMorpherController::FindController(spLoaded);
    ASSERT_NE(pkMorpher, nullptr);
    NiMorphData* pkData = pkMorpher->GetData();
    EXPECT_TRUE(pkData->GetRelativeTargets());
    EXPECT_FLOAT_EQ(WeightAt(pkData, 1, 0), 0.25f);
    EXPECT_FLOAT_EQ(WeightAt(pkData, 1, 4), 0.75f);
    EXPECT_FALSE(pkMorpher->GetActive());
    EXPECT_EQ(pkMorpher->GetAnimType(), NiTimeController::APP_INIT);
    EXPECT_EQ(pkMorpher->GetFlags() & NiMorpherController::RECOMPUTE_NORMALS_MASK,
              NiMorpherController::RECOMPUTE_NORMALS_MASK);
    EXPECT_FLOAT_EQ(pkMorpher->GetHiKeyTime(), 4.0f);
}

TEST(MorphTest, OldControllerMorphsBoundsAndClones)
{
    NiRefPtr<NiTriShape> spShape = MakeShape();
    NiRefPtr<NiMorphController> spOld = new NiMorphController;
    FloatKey** ppKeys = new FloatKey* [2]
    {
        new TcbFloatArrayKey(0, 0, 0, 0, new float[2]{1.0f, 0.0f}),
            new TcbFloatArrayKey(2, 0, 0, 0, new float[2]{1.0f, 1.0f})
    };
    GetFloatKeyOps(KEY_TCB_ARRAY)->m_pfnFillDerived(ppKeys, 2, 2);
    spOld->SetKeys(ppKeys, 2, KEY_TCB_ARRAY);
    spOld->SetTargets(MakeVertexArrays({1, 5}, 3), 3);
    spOld->SetTarget(spShape);
    // The bound spans the poses of both keys; the shape stays at the last key's pose (the
    // targets are not offsets before the first update).
    ASSERT_NE(spOld->GetBound(), nullptr);
    const NiPoint3* pkVertices = spShape->GetGeometryData()->GetVertices();
    EXPECT_FLOAT_EQ(pkVertices[0].x, 6.0f);
    EXPECT_EQ(spShape->GetGeometryData()->GetBound(), *spOld->GetBound());

    // The first update makes target 1 an offset from target 0 once; halfway gives 1 + 0.5 * 4.
    spOld->Update(1.0f);
    EXPECT_FLOAT_EQ(pkVertices[0].x, 3.0f);
    EXPECT_FLOAT_EQ(pkVertices[2].y, 2.0f);
    EXPECT_EQ(spShape->GetGeometryData()->GetRevision(), 1u);

    NiRefPtr<NiMorphController> spClone = static_cast<NiMorphController*>(spOld->MakeClone());
    // Cloned on its own, the clone has no target; it has its own keys, targets and bound.
    EXPECT_EQ(*spClone->GetBound(), *spOld->GetBound());
    EXPECT_TRUE(MorphTarget::AreKeysEqual(spClone->GetKeys(), spOld->GetKeys(), 2, KEY_TCB_ARRAY, 2));
    EXPECT_NE(spClone->GetKeys()[0], spOld->GetKeys()[0]);
    EXPECT_NE(spClone->GetTarget(1), spOld->GetTarget(1));

    // One key: no pair to morph between.
    NiRefPtr<NiMorphController> spSingle = new NiMorphController;
    FloatKey** ppOne = new FloatKey* [1] { new TcbFloatArrayKey(0, 0, 0, 0, new float[2]{1.0f, 1.0f}) };
    spSingle->SetKeys(ppOne, 1, KEY_TCB_ARRAY);
    spSingle->SetTargets(MakeVertexArrays({7, 9}, 3), 3);
    spSingle->SetTarget(spShape);
    spSingle->InterpolateVertices(0.5f);
    EXPECT_FLOAT_EQ(pkVertices[0].x, 3.0f);
}

TEST(MorphTest, MorphDataRoundTripsAndConvertsBetweenForms)
{
    NiRefPtr<NiMorphData> spData = MakeData(false, {{1, {{0, 0}, {1, 1}}}, {3, {}}, {4, {{0, 1}}}});
    const NiRefPtr<NiMorphData> spLoaded = NifTest::RoundTrip(spData.Get());
    ASSERT_TRUE(spLoaded);
    EXPECT_TRUE(spLoaded->IsEquivalent(spData));
    EXPECT_EQ(NifTest::Save({spLoaded}), NifTest::Save({spData}));

    spData->SetRelativeTargets(true);
    EXPECT_FLOAT_EQ(spData->GetTargets()[2].GetVertices()[1].x, 3.0f);
    EXPECT_FALSE(spData->IsEquivalent(spLoaded));
    spData->SetRelativeTargets(false);
    EXPECT_TRUE(spData->IsEquivalent(spLoaded));

    // No targets: the record ends after the relative byte.
    NiRefPtr<NiMorphData> spEmpty = new NiMorphData;
    NiRefPtr<NiMorphData> spOne = MakeData(false, {{1, {}}});
    const size_t uiTargetBytes = 4 + 4 + 3 * 12;
    EXPECT_EQ(NifTest::Save({spOne}).size() - NifTest::Save({spEmpty}).size(), uiTargetBytes);
    EXPECT_TRUE(NifTest::RoundTrip(spEmpty.Get()));
}

TEST(MorphTest, MorpherMorphsWhenItsTargetPassesCulling)
{
    NiRefPtr<NiTriShape> spShape = MakeShape(3, false);
    NiMorpherController* pkMorpher =
        new NiMorpherController(MakeData(true, {{1, {}}, {2, {{0, 0}, {2, 1}}}}));
    pkMorpher->SetRecomputeNormals(true);
    pkMorpher->SetTarget(spShape);
    const NiPoint3* pkVertices = spShape->GetGeometryData()->GetVertices();

    // Culled: pending, nothing moves; two updates morph at the later time only.
    pkMorpher->Update(0.5f);
    pkMorpher->Update(1.0f);
    EXPECT_TRUE(pkMorpher->IsPending());
    EXPECT_FLOAT_EQ(pkVertices[1].x, 0.0f);
    pkMorpher->TargetPassedCulling();
    // Relative: base (1, 1, 0) plus weight 0.5 of the offset (2, 2, 0).
    EXPECT_FLOAT_EQ(pkVertices[1].x, 2.0f);
    EXPECT_FLOAT_EQ(pkVertices[1].y, 2.0f);
    EXPECT_EQ(spShape->GetGeometryData()->GetRevision(), 1u);
    pkMorpher->OnDisplayed();
    EXPECT_FALSE(pkMorpher->IsPending());

    // Absolute data: the weighted sum of the targets.
    NiRefPtr<NiTriShape> spOther = MakeShape();
    NiMorpherController* pkAbsolute =
        new NiMorpherController(MakeData(false, {{4, {{0, 0.25f}}}, {8, {{0, 0.75f}}}}));
    pkAbsolute->SetTarget(spOther);
    pkAbsolute->Update(0.0f);
    pkAbsolute->TargetPassedCulling();
    EXPECT_FLOAT_EQ(spOther->GetGeometryData()->GetVertices()[2].x, 7.0f);

    // Data for another vertex count leaves the target alone.
    NiRefPtr<NiTriShape> spLarger = MakeShape(4);
    NiMorpherController* pkMismatch = new NiMorpherController(MakeData(false, {{4, {{0, 1}}}}));
    pkMismatch->SetTarget(spLarger);
    pkMismatch->Update(0.0f);
    pkMismatch->TargetPassedCulling();
    EXPECT_FLOAT_EQ(spLarger->GetGeometryData()->GetVertices()[0].x, 0.0f);
}

TEST(MorphTest, MorpherRecordsOfOlderFilesCarryTheMorphInline)
{
    // A shape whose controller is an inline morph: one keyed target whose weight goes 0 to 100 %.
    NifTest::Bytes kBytes("3.00");
    kBytes.Text("Top Level Object").Text("NiMorpherController").U32(1);
    kBytes.U32(0).U16(NiTimeController::ACTIVE_MASK | (NiTimeController::CLAMP << 1));
    kBytes.F32(1).F32(0).F32(0).F32(1).U32(0);
    kBytes.U32(1).U32(2).U32(2).U32(KEY_LINEAR);
    kBytes.F32(0).F32(0).F32(1).F32(100);
    for (float fValue : {1.0f, 1.0f, 1.0f, 2.0f, 2.0f, 2.0f, 3.0f, 3.0f, 3.0f, 3.0f, 3.0f, 3.0f})
        kBytes.F32(fValue);
    kBytes.End();
    const std::vector<NiRefPtr<NiObject>> kTop = NifTest::Load(kBytes.Get());
    ASSERT_EQ(kTop.size(), 1u);
    NiMorpherController* pkMorpher = NiDynamicCast<NiMorpherController>(kTop[0].Get());
    ASSERT_NE(pkMorpher, nullptr);
    NiMorphData* pkData = pkMorpher->GetData();
    ASSERT_NE(pkData, nullptr);
    EXPECT_TRUE(pkData->GetRelativeTargets());
    ASSERT_EQ(pkData->GetNumTargets(), 2u);
    EXPECT_EQ(pkData->GetTargets()[0].GetNumKeys(), 0u);
    EXPECT_FLOAT_EQ(WeightAt(pkData, 1, 0), 0.0f);
    EXPECT_FLOAT_EQ(WeightAt(pkData, 1, 1), 1.0f);
    EXPECT_FLOAT_EQ(pkData->GetTargets()[1].GetVertices()[1].x, 3.0f);

    // Saved again, the morph goes out as a data object of its own.
    const NiRefPtr<NiMorpherController> spAgain = NifTest::RoundTrip(pkMorpher);
    ASSERT_TRUE(spAgain);
    EXPECT_TRUE(spAgain->IsEquivalent(pkMorpher));
}

TEST(MorphTest, OldControllerWithMoreEmptyTargetsThanBytesLeftFailsTheLoad)
{
    // Four billion targets of no vertices: nothing in the file stands for them.
    NifTest::Bytes kBytes("3.1");
    kBytes.Text("Top Level Object").Text("NiMorphController").U32(1);
    kBytes.U32(0).U16(NiTimeController::ACTIVE_MASK);
    kBytes.F32(1).F32(0).F32(0).F32(1).U32(0);
    kBytes.U32(0xFFFFFFFF).U32(0).U32(0).F32(0).F32(0).F32(0).F32(1).U32(KEY_TCB_ARRAY);
    kBytes.End();
    EXPECT_TRUE(NifTest::Load(kBytes.Get()).empty());
}

TEST(MorphTest, CountsWhoseProductWrapsPastSixtyFourBitsFailTheLoad)
{
    // Each file's counts multiply to a multiple of 2^64 (or 8 more), which a product check took
    // for a small record; each would then have asked for gigabytes.
    for (const char* pcFile : {"morph-data-targets-times-vertices-wrapping-to-zero.nif",
                               "old-morph-controller-targets-times-vertices-wrapping-to-zero.nif",
                               "old-morph-controller-key-values-wrapping-to-zero.nif",
                               "inline-morph-keyed-targets-wrapping-to-eight.nif"})
    {
        SCOPED_TRACE(pcFile);
        const std::string kBytes =
            TempFolder::ReadFile(std::string(FITWRIGHT_SOURCE_DIR) + "/tests/fuzz/regressions/" + pcFile);
        ASSERT_FALSE(kBytes.empty());
        NiStream kStream;
        EXPECT_FALSE(kStream.LoadBuffer(kBytes.data(), kBytes.size()));
        EXPECT_EQ(NiStream::GetLastErrorCode(), NiStream::ERR_CORRUPT_RECORD);
        EXPECT_EQ(kStream.GetTopObjectCount(), 0u);
    }
}

namespace
{
// An old controller over targets of one vertex whose keys have uneven times and TCB values.
NiRefPtr<NiMorphController> MakeOldController(KeyType eType, uint32_t uiTargets,
                                              const std::vector<std::vector<float>>& kWeights)
{
    const uint32_t uiKeys = static_cast<uint32_t>(kWeights.size());
    FloatKey** ppKeys = new FloatKey*[uiKeys];
    float fTime = 0.0f;
    for (uint32_t k = 0; k < uiKeys; ++k)
    {
        fTime += 0.25f + 0.125f * static_cast<float>(k % 3);
        const float fTension = 0.1f * static_cast<float>(k % 4) - 0.1f;
        const float fBias = 0.2f * static_cast<float>(k % 2);
        if (eType == KEY_TCB_ARRAY)
        {
            float* pfValues = new float[uiTargets];
            std::copy(kWeights[k].begin(), kWeights[k].end(), pfValues);
            ppKeys[k] = new TcbFloatArrayKey(fTime, fTension, 0.3f, fBias, pfValues);
        }
        else
        {
            // The target whose weight is 1; a number past the targets names none.
            const auto it = std::find(kWeights[k].begin(), kWeights[k].end(), 1.0f);
            const int32_t iTarget = int32_t(it - kWeights[k].begin());
            ppKeys[k] = NewTcbIndexKey(fTime, fTension, 0.3f, fBias, iTarget);
        }
    }
    GetFloatKeyOps(eType)->m_pfnFillDerived(ppKeys, uiKeys, uiTargets);
    NiRefPtr<NiMorphController> spOld = new NiMorphController;
    spOld->SetKeys(ppKeys, uiKeys, eType);
    std::vector<std::unique_ptr<NiPoint3[]>> kTargets;
    for (uint32_t i = 0; i < uiTargets; ++i)
        kTargets.emplace_back(new NiPoint3[1]{NiPoint3(static_cast<float>(i), 0, 0)});
    spOld->SetTargets(std::move(kTargets), 1);
    return spOld;
}

// The weight curve a target gets with a key of its own for every old key.
float FullTrackWeight(const NiMorphController& kOld, const std::vector<std::vector<float>>& kWeights,
                      uint32_t uiTarget, float fTime)
{
    const uint32_t uiKeys = kOld.GetNumKeys();
    std::vector<TcbFloatKey> kTrack(uiKeys);
    std::vector<FloatKey*> kPointers;
    for (uint32_t k = 0; k < uiKeys; ++k)
    {
        static_cast<TcbFloatKey&>(kTrack[k]) = *static_cast<const TcbFloatKey*>(kOld.GetKeys()[k]);
        kTrack[k].m_fValue = kWeights[k][uiTarget];
        kPointers.push_back(&kTrack[k]);
    }
    GetFloatKeyOps(KEY_TCB)->m_pfnFillDerived(kPointers.data(), uiKeys, 0);
    uint32_t uiLast = 0;
    return InterpolateFloatKeys(fTime, kPointers.data(), KEY_TCB, uiKeys, uiLast);
}
} // namespace

TEST(MorphTest, ConvertedTargetsKeepTheKeysNearTheirWeightsAndTheSameWeightCurves)
{
    // Weights that are mostly 0, with isolated keys, neighbours and both ends giving weights.
    const uint32_t uiTargets = 5;
    const uint32_t uiKeys = 40;
    for (const KeyType eType : {KEY_TCB_INDEX, KEY_TCB_ARRAY})
    {
        SCOPED_TRACE(eType);
        std::vector<std::vector<float>> kWeights(uiKeys, std::vector<float>(uiTargets, 0.0f));
        for (const auto& [uiKey, uiTarget] : std::vector<std::pair<uint32_t, uint32_t>>{
                 {0, 1}, {1, 2}, {9, 2}, {10, 2}, {14, 2}, {20, 3}, {39, 3}, {25, 0}, {33, 0}})
            kWeights[uiKey][uiTarget] =
                eType == KEY_TCB_ARRAY ? 0.5f + 0.1f * static_cast<float>(uiKey % 5) : 1.0f;
        const NiRefPtr<NiMorphController> spOld = MakeOldController(eType, uiTargets, kWeights);
        const NiRefPtr<NiTriShape> spLoaded = LoadConverted(spOld);
        ASSERT_TRUE(spLoaded);
        NiMorphData* pkData = NiMorpherController::FindController(spLoaded)->GetData();
        ASSERT_EQ(pkData->GetNumTargets(), uiTargets);

        // Target 4 gives no weight anywhere; target 1 only at the first key (keys 0 to 2).
        EXPECT_EQ(pkData->GetTargets()[4].GetNumKeys(), 0u);
        EXPECT_EQ(pkData->GetTargets()[1].GetNumKeys(), 3u);
        for (uint32_t i = 0; i < uiTargets; ++i)
        {
            if (pkData->GetTargets()[i].GetNumKeys() == 0)
                continue;
            for (float fTime = -1.0f; fTime < 16.0f; fTime += 0.03125f)
            {
                const float fExpected = FullTrackWeight(*spOld, kWeights, i, fTime);
                EXPECT_NEAR(WeightAt(pkData, i, fTime), fExpected, 1e-6f)
                    << "target " << i << " at " << fTime;
            }
        }
    }
}

TEST(MorphTest, ConversionIsLinearInTheKeys)
{
    // Every key names a target of its own: with a key per old key for every target this took
    // the square of the file (a 60 KB file took over 2 GB).
    const uint32_t uiCount = 1500;
    std::vector<std::vector<float>> kWeights(uiCount, std::vector<float>(uiCount, 0.0f));
    for (uint32_t k = 0; k < uiCount; ++k)
        kWeights[k][k] = 1.0f;
    const NiRefPtr<NiTriShape> spLoaded = LoadConverted(MakeOldController(KEY_TCB_INDEX, uiCount, kWeights));
    ASSERT_TRUE(spLoaded);
    NiMorphData* pkData = NiMorpherController::FindController(spLoaded)->GetData();
    ASSERT_EQ(pkData->GetNumTargets(), uiCount);
    uint64_t uiKeys = 0;
    for (uint32_t i = 0; i < uiCount; ++i)
        uiKeys += pkData->GetTargets()[i].GetNumKeys();
    EXPECT_LE(uiKeys, 5u * uiCount);
}
