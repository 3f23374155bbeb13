#include "AnimationTestSupport.h"

#include "scene/animation/NiColorData.h"
#include "scene/animation/NiFloatData.h"
#include "scene/animation/NiKeyframeData.h"
#include "scene/animation/NiPosData.h"
#include "scene/animation/NiVisData.h"
#include "tests/scene/graph/NifTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace AnimTest;

namespace
{
// Saved, loaded back, equivalent, and saved again to the same bytes.
void ExpectRoundTrip(NiObject* pkObject, const std::string& kWhat)
{
    NiRefPtr<NiObject> spHeld(pkObject);
    const std::vector<char> kSaved = NifTest::Save({pkObject});
    const std::vector<NiRefPtr<NiObject>> kLoaded = NifTest::Load(kSaved);
    ASSERT_EQ(kLoaded.size(), 1u) << kWhat;
    EXPECT_TRUE(pkObject->IsEquivalent(kLoaded[0])) << kWhat;
    EXPECT_EQ(NifTest::Save({kLoaded[0].Get()}), kSaved) << kWhat;
}

EulerRotationKey* EulerKey(int32_t iOrder)
{
    EulerRotationKey* pkKey = new EulerRotationKey;
    pkKey->m_iAxisOrder = iOrder;
    pkKey->m_akAxis[0].Replace(FloatKeys({{0.5f, 0}, {3, 1}}, KEY_TCB), 2, KEY_TCB);
    pkKey->m_akAxis[2].Replace(FloatKeys({{1, 0}, {2, 2}}, KEY_BEZIER), 2, KEY_BEZIER);
    return pkKey;
}
} // namespace

TEST(KeyData, EveryLoadableTypeRoundTrips)
{
    for (KeyType eType : {KEY_LINEAR, KEY_BEZIER, KEY_TCB})
    {
        NiFloatData* pkFloat = new NiFloatData;
        pkFloat->ReplaceKeys(FloatKeys({{0, 1}, {1, 3}, {2, -1}}, eType), 3, eType);
        ExpectRoundTrip(pkFloat, "float type " + std::to_string(eType));

        NiPosData* pkPos = new NiPosData;
        pkPos->ReplaceKeys(
            PositionKeys({{0, NiPoint3(0, 1, 2)}, {1, NiPoint3(3, 1, 0)}, {2, NiPoint3(1, 1, 1)}}, eType), 3,
            eType);
        ExpectRoundTrip(pkPos, "position type " + std::to_string(eType));

        NiKeyframeData* pkFrames = new NiKeyframeData;
        pkFrames->ReplaceRotKeys(RotationKeys({{0, ZTurn(0)}, {1, ZTurn(1)}, {2, ZTurn(2.5f)}}, eType), 3,
                                 eType);
        pkFrames->ReplaceScaleKeys(FloatKeys({{0, 1}, {2, 2}}), 2, KEY_LINEAR);
        ExpectRoundTrip(pkFrames, "rotation type " + std::to_string(eType));
    }
    NiKeyframeData* pkEuler = new NiKeyframeData;
    pkEuler->ReplaceRotKeys(
        new RotationKey* [1] { EulerKey(4) }, 1, KEY_EULER);
    ExpectRoundTrip(pkEuler, "Euler rotation");

    NiFloatData* pkMorph = new NiFloatData;
    FloatKey** ppMorphKeys =
        new FloatKey* [2] { NewTcbIndexKey(0, 0, 0, 0, 0), NewTcbIndexKey(1, 0.5f, 0, 0, 2) };
    FillTcbFloatTangents(ppMorphKeys, 2);
    pkMorph->ReplaceKeys(ppMorphKeys, 2, KEY_TCB_INDEX);
    ExpectRoundTrip(pkMorph, "morph index");

    NiColorData* pkColor = new NiColorData;
    pkColor->ReplaceKeys(ColorKeys({{0, NiColorA(1, 0, 0, 1)}, {1, NiColorA(0, 1, 0, 0.5f)}}), 2, KEY_LINEAR);
    ExpectRoundTrip(pkColor, "colour");

    NiVisData* pkVis = new NiVisData;
    pkVis->SetKeys(
        new BoolKey* [2]
        {
            new BoolKey{0, 1}, new BoolKey
            {
                1, 0
            }
        },
        2);
    ExpectRoundTrip(pkVis, "visibility");
    ExpectRoundTrip(new NiKeyframeData, "empty keyframe data");
    ExpectRoundTrip(new NiVisData, "empty visibility data");
}

TEST(KeyData, VisibilityKeysGoWhenTheDataIsEmptied)
{
    // The sanitizer build reports the old keys as leaked unless emptying frees them.
    NiRefPtr<NiVisData> spVis = new NiVisData;
    BoolKey** ppKeys = new BoolKey*[1];
    ppKeys[0] = new BoolKey{0, 1};
    spVis->SetKeys(ppKeys, 1);
    spVis->SetKeys(nullptr, 0);
    EXPECT_EQ(spVis->GetNumKeys(), 0u);
    EXPECT_EQ(spVis->GetKeys(), nullptr);
    // An array given with no count is not taken.
    BoolKey* apkKept[1] = {nullptr};
    spVis->SetKeys(apkKept, 0);
    EXPECT_EQ(spVis->GetKeys(), nullptr);
}

TEST(KeyData, VisibilityKeysHandedBackAreKept)
{
    // Keys edited through GetKeys and set again: the sanitizer build reports a use after free
    // if the array is freed before it is taken.
    NiRefPtr<NiVisData> spVis = new NiVisData;
    BoolKey** ppKeys = new BoolKey*[2];
    ppKeys[0] = new BoolKey{0, 1};
    ppKeys[1] = new BoolKey{1, 0};
    spVis->SetKeys(ppKeys, 2);
    spVis->GetKeys()[1]->m_ucValue = 1;
    spVis->SetKeys(ppKeys, 2);
    ASSERT_EQ(spVis->GetKeys(), ppKeys);
    ASSERT_EQ(spVis->GetNumKeys(), 2u);
    EXPECT_EQ(spVis->GetKeys()[1]->m_ucValue, 1);
    // Given back with no count, the object's own array is freed with its keys.
    spVis->SetKeys(ppKeys, 0);
    EXPECT_EQ(spVis->GetKeys(), nullptr);
    EXPECT_EQ(spVis->GetNumKeys(), 0u);
}

TEST(KeyData, EmptyRecordsAreOneCountPerArray)
{
    NiRefPtr<NiFloatData> spEmpty = new NiFloatData;
    NiRefPtr<NiKeyframeData> spFrames = new NiKeyframeData;
    const size_t uiFloat = NifTest::Save({spEmpty.Get()}).size();
    const size_t uiFrames = NifTest::Save({spFrames.Get()}).size();
    // The class names differ by 3 characters; the records by 8 more bytes of counts.
    EXPECT_EQ(uiFrames - uiFloat, 3u + 8u);
    NiRefPtr<NiFloatData> spLoaded = NifTest::RoundTrip(spEmpty.Get());
    ASSERT_TRUE(spLoaded);
    EXPECT_EQ(spLoaded->GetNumKeys(), 0u);
    EXPECT_EQ(spLoaded->GetType(), KEY_BASE);
}

TEST(KeyData, EquivalenceComparesTypesAndKeys)
{
    NiRefPtr<NiFloatData> spLinear = new NiFloatData;
    NiRefPtr<NiFloatData> spBezier = new NiFloatData;
    spLinear->ReplaceKeys(FloatKeys({{0, 1}, {1, 2}}), 2, KEY_LINEAR);
    spBezier->ReplaceKeys(FloatKeys({{0, 1}, {1, 2}}, KEY_BEZIER), 2, KEY_BEZIER);
    EXPECT_FALSE(spLinear->IsEquivalent(spBezier));

    NiRefPtr<NiKeyframeData> spFirst = new NiKeyframeData;
    NiRefPtr<NiKeyframeData> spSecond = new NiKeyframeData;
    spFirst->ReplaceRotKeys(
        new RotationKey* [1] { EulerKey(0) }, 1, KEY_EULER);
    EulerRotationKey* pkOther = EulerKey(0);
    pkOther->m_akAxis[1].Replace(FloatKeys({{0, 1}}), 1, KEY_LINEAR);
    spSecond->ReplaceRotKeys(
        new RotationKey* [1] { pkOther }, 1, KEY_EULER);
    EXPECT_FALSE(spFirst->IsEquivalent(spSecond));
    pkOther->m_akAxis[1].Free();
    EXPECT_TRUE(spFirst->IsEquivalent(spSecond));

    // Emptying with null keys hands them back: the caller frees them.
    FloatKey** ppKeys = spLinear->GetKeys();
    spLinear->ReplaceKeys(nullptr, 0, KEY_LINEAR);
    EXPECT_EQ(spLinear->GetNumKeys(), 0u);
    NiFloatKeyArray::FreeKeys(ppKeys, 2, KEY_LINEAR);
}

TEST(KeyData, FieldStringsCountEachArray)
{
    NiRefPtr<NiKeyframeData> spFrames = new NiKeyframeData;
    spFrames->ReplaceRotKeys(RotationKeys({{0, ZTurn(0)}, {1, ZTurn(1)}, {2, ZTurn(2)}}), 3, KEY_LINEAR);
    spFrames->ReplaceScaleKeys(FloatKeys({{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}}), 5, KEY_LINEAR);
    NiFieldStringList kList;
    spFrames->AddFieldStrings(kList);
    const std::vector<std::string> kTail(kList.end() - 4, kList.end());
    EXPECT_EQ(kTail, (std::vector<std::string>{"--- NiKeyframeData ---", "m_uiNumRotKeys = 3",
                                               "m_uiNumPosKeys = 0", "m_uiNumScaleKeys = 5"}));
}

TEST(KeyData, BadArraysFailTheLoad)
{
    using Builder = std::function<void(NifTest::Bytes&)>;
    const std::pair<const char*, Builder> akCases[] = {
        // Types without a loader, and types beyond a family's rows.
        {"NiFloatData", [](NifTest::Bytes& k) { k.U32(1).U32(KEY_BASE).F32(0).F32(1); }},
        {"NiFloatData",
         [](NifTest::Bytes& k) { k.U32(1).U32(KEY_EULER).F32(0).F32(1).F32(0).F32(0).F32(0); }},
        {"NiFloatData", [](NifTest::Bytes& k) { k.U32(1).U32(7).F32(0).F32(1); }},
        {"NiColorData", [](NifTest::Bytes& k) { k.U32(1).U32(KEY_BASE).F32(0).F32(1).F32(1).F32(1).F32(1); }},
        {"NiColorData", [](NifTest::Bytes& k) { k.U32(1).U32(2).F32(0).F32(1).F32(1).F32(1).F32(1); }},
        {"NiPosData", [](NifTest::Bytes& k) { k.U32(1).U32(4).F32(0).F32(1).F32(1).F32(1); }},
        {"NiKeyframeData",
         [](NifTest::Bytes& k) { k.U32(1).U32(KEY_BASE).F32(0).F32(1).F32(0).F32(0).F32(0); }},
        {"NiKeyframeData", [](NifTest::Bytes& k) { k.U32(1).U32(99).F32(0).F32(1).F32(0).F32(0).F32(0); }},
        // Counts beyond the file.
        {"NiFloatData", [](NifTest::Bytes& k) { k.U32(1000).U32(KEY_LINEAR).F32(0).F32(1); }},
        {"NiFloatData",
         [](NifTest::Bytes& k) { k.U32(3).U32(KEY_TCB).F32(0).F32(1).F32(0).F32(0).F32(0).F32(1); }},
        {"NiVisData", [](NifTest::Bytes& k) { k.U32(0xFFFFFFFF).F32(0).U8(1); }},
        // Euler keys: an axis order outside the table, an axis type without a loader.
        {"NiKeyframeData", [](NifTest::Bytes& k) { k.U32(1).U32(KEY_EULER).U32(12).U32(0).U32(0).U32(0); }},
        {"NiKeyframeData", [](NifTest::Bytes& k)
         { k.U32(1).U32(KEY_EULER).U32(0).U32(1).U32(KEY_BASE).F32(0).F32(1).U32(0).U32(0); }},
    };
    int iCase = 0;
    for (const auto& [pcClass, kBody] : akCases)
    {
        NifTest::Bytes kBytes;
        kBytes.Text("Top Level Object").Text(pcClass).U32(1);
        kBody(kBytes);
        kBytes.U32(0).U32(0).End();
        EXPECT_TRUE(NifTest::Load(kBytes.Get()).empty()) << pcClass << " case " << iCase;
        ++iCase;
    }

    // The same frame with good bytes loads: the cases fail for their arrays alone.
    NifTest::Bytes kGood;
    kGood.Text("Top Level Object").Text("NiKeyframeData").U32(1);
    kGood.U32(1).U32(KEY_EULER).U32(0).U32(1).U32(KEY_LINEAR).F32(0).F32(1).U32(0).U32(0).U32(0).U32(0).End();
    ASSERT_EQ(NifTest::Load(kGood.Get()).size(), 1u);
}

TEST(KeyData, VisibilityBytesReadAsOnOrOff)
{
    NifTest::Bytes kBytes;
    kBytes.Text("Top Level Object").Text("NiVisData").U32(1).U32(2).F32(0).U8(7).F32(1).U8(0).End();
    const std::vector<NiRefPtr<NiObject>> kLoaded = NifTest::Load(kBytes.Get());
    ASSERT_EQ(kLoaded.size(), 1u);
    const NiVisData* pkVis = NiDynamicCast<NiVisData>(kLoaded[0].Get());
    ASSERT_NE(pkVis, nullptr);
    EXPECT_EQ(pkVis->GetKeys()[0]->m_ucValue, 1);
    const std::vector<char> kSaved = NifTest::Save({kLoaded[0].Get()});
    const std::string kSavedText(kSaved.begin(), kSaved.end());
    EXPECT_NE(kSavedText.find(std::string("\x01", 1), kSavedText.find("NiVisData")), std::string::npos);
    EXPECT_EQ(kSavedText.find(std::string("\x07", 1)), std::string::npos);
}
