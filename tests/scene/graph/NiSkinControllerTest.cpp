#include "GeometryTestHelpers.h"
#include "SceneTestObjects.h"
#include "TestCamera.h"

#include "scene/graph/NiBone.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiTriShape.h"
#include "scene/graph/NiTriShapeSkinController.h"
#include "tests/support/RecordingRender.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace geometry_test;

namespace
{
NiTriShape* Shape(uint16_t usVertices)
{
    NiPoint3* pkVertex = new NiPoint3[usVertices]();
    uint16_t* pusList = new uint16_t[3]{0, uint16_t(1 % usVertices), uint16_t(2 % usVertices)};
    return new NiTriShape(usVertices, pkVertex, nullptr, nullptr, nullptr, 1, pusList);
}

NiBone* Bone(const NiPoint3& kTranslate, float fScale = 1.0f)
{
    NiBone* pkBone = new NiBone;
    pkBone->SetTranslate(kTranslate);
    pkBone->SetScale(fScale);
    return pkBone;
}

// A skin on the shape: bone i moves the vertices of list i with the influences of list i.
NiTriShapeSkinController* Skin(NiTriShape* pkShape, std::vector<NiBone*> kBones,
                               std::vector<std::vector<NiSkinInfluence>> kInfluences,
                               std::vector<std::vector<uint16_t>> kVertices)
{
    NiTriShapeSkinController* pkSkin = new NiTriShapeSkinController;
    pkSkin->SetTarget(pkShape);
    pkSkin->SetBones(std::move(kBones), std::move(kInfluences), std::move(kVertices));
    return pkSkin;
}

NiRefPtr<NiNode> Scene(std::initializer_list<NiAVObject*> kChildren)
{
    NiRefPtr<NiNode> spRoot = new NiNode;
    for (NiAVObject* pkChild : kChildren)
        spRoot->AddChild(pkChild);
    return spRoot;
}

} // namespace

TEST(NiSkinControllerTest, DeformationSumsTheWeightedBonePositions)
{
    struct Case
    {
        std::vector<NiPoint3> m_kBoneAt;
        std::vector<float> m_kScale;
        std::vector<NiSkinInfluence> m_kInfluence; // one per bone, all on vertex 0
        NiPoint3 m_kExpected;
    };
    const Case akCases[] = {
        {{NiPoint3(1, 0, 0)}, {2.0f}, {{1, 1, 1, 1.0f}}, NiPoint3(3, 2, 2)},
        {{NiPoint3::ZERO, NiPoint3::ZERO},
         {1.0f, 1.0f},
         {{2, 0, 0, 0.5f}, {0, 2, 0, 0.5f}},
         NiPoint3(1, 1, 0)},
        {{}, {}, {}, NiPoint3::ZERO},
    };
    for (const Case& kCase : akCases)
    {
        NiTriShape* pkShape = Shape(2);
        pkShape->GetVertexArray()[0] = pkShape->GetVertexArray()[1] = NiPoint3(9, 9, 9);
        std::vector<NiBone*> kBones;
        std::vector<std::vector<NiSkinInfluence>> kInfluences;
        // Vertex 7 is beyond the shape's two: never written.
        std::vector<std::vector<uint16_t>> kVertices;
        for (size_t i = 0; i < kCase.m_kBoneAt.size(); ++i)
        {
            kBones.push_back(Bone(kCase.m_kBoneAt[i], kCase.m_kScale[i]));
            kInfluences.push_back({kCase.m_kInfluence[i], kCase.m_kInfluence[i]});
            kVertices.push_back({0, 7});
        }
        NiRefPtr<NiNode> spScene = Scene({pkShape});
        for (NiBone* pkBone : kBones)
            spScene->AddChild(pkBone);
        NiTriShapeSkinController* pkSkin = Skin(pkShape, kBones, kInfluences, kVertices);
        spScene->UpdateSubtree(0.0f);
        pkSkin->Deform(pkShape->GetVertexArray());
        EXPECT_EQ(pkShape->GetVertexArray()[0], kCase.m_kExpected) << kCase.m_kBoneAt.size() << " bones";
        EXPECT_EQ(pkShape->GetVertexArray()[1], NiPoint3::ZERO);
    }
}

TEST(NiSkinControllerTest, ShapesDeformWhenDrawnAfterAnUpdateAtANewTime)
{
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    NiRefPtr<NiCamera> spCamera = TestCamera(spRenderer, NiPoint3(-100, 0, 0));
    NiTriShape* pkShape = Shape(3);
    NiBone* pkBone = Bone(NiPoint3(0, 0, 1));
    NiRefPtr<NiNode> spScene = Scene({pkBone, pkShape});
    NiTriShapeSkinController* pkSkin =
        Skin(pkShape, {pkBone}, {{{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 0, 1}}}, {{0, 1, 2}});
    pkSkin->SetRecomputeNormals(true);
    pkShape->GetGeometryData()->CreateNormals(true);
    NiGeometryData* pkData = pkShape->GetGeometryData();

    spScene->UpdateSubtree(1.0f);
    // Not drawn yet: the positions stay, the bound is the skin's.
    EXPECT_TRUE(pkSkin->IsDeformPending());
    EXPECT_EQ(pkShape->GetVertexArray()[0], NiPoint3::ZERO);
    EXPECT_FLOAT_EQ(pkData->GetBound().m_kCenter.z, 1.0f);
    const uint16_t usRevision = pkData->GetRevision();

    spScene->CullAndDraw(spCamera);
    EXPECT_EQ(pkShape->GetVertexArray()[0], NiPoint3(1, 0, 1));
    EXPECT_EQ(pkData->GetRevision(), usRevision + 1);
    ExpectPoint(pkData->GetNormals()[0], NiPoint3(0, 0, 1), 1e-2f);
    EXPECT_FALSE(pkSkin->IsDeformPending());

    // The same time again changes nothing; neither does an inactive skin at a new time.
    spScene->UpdateSubtree(1.0f);
    EXPECT_FALSE(pkSkin->IsDeformPending());
    pkSkin->SetActive(false);
    pkBone->SetTranslate(NiPoint3(0, 0, 2));
    spScene->UpdateSubtree(2.0f);
    spScene->CullAndDraw(spCamera);
    EXPECT_EQ(pkShape->GetVertexArray()[0], NiPoint3(1, 0, 1));
    EXPECT_EQ(pkData->GetRevision(), usRevision + 1);
}

TEST(NiSkinControllerTest, RecordKeepsEveryInfluenceAsEighteenBytes)
{
    NiTriShape* pkShape = Shape(3);
    NiBone* pkBone = Bone(NiPoint3(0, 0, 1));
    NiBone* pkOther = Bone(NiPoint3(0, 1, 0));
    // The shape hangs under a bone: comparing the skin leads back to it.
    pkOther->AddChild(pkShape);
    NiRefPtr<NiNode> spScene = Scene({pkBone, pkOther});
    Skin(pkShape, {pkBone, pkOther}, {{{1.5f, 2.5f, 3.5f, 0.25f}}, {{4, 5, 6, 0.75f}, {7, 8, 9, 1.0f}}},
         {{2}, {0, 1}});
    const std::vector<char> kSaved = NifTest::Save({spScene});
    const std::string kBytes(kSaved.begin(), kSaved.end());

    // weight, vertex index, x, y, z
    std::string kInfluence;
    const float fWeight = 0.25f;
    const uint16_t usVertex = 2;
    const float afPosition[] = {1.5f, 2.5f, 3.5f};
    kInfluence.append(reinterpret_cast<const char*>(&fWeight), 4);
    kInfluence.append(reinterpret_cast<const char*>(&usVertex), 2);
    kInfluence.append(reinterpret_cast<const char*>(afPosition), 12);
    EXPECT_NE(kBytes.find(kInfluence), std::string::npos);

    NiRefPtr<NiNode> spLoaded = LoadFirst<NiNode>(kBytes);
    ASSERT_TRUE(spLoaded);
    EXPECT_TRUE(spLoaded->IsEquivalent(spScene));
    NiTriShape* pkLoadedShape =
        NiDynamicCast<NiTriShape>(NiDynamicCast<NiNode>(spLoaded->GetAt(1))->GetAt(0));
    ASSERT_TRUE(pkLoadedShape);
    NiSkinController* pkLoadedSkin = NiTriShapeSkinController::FindSkinController(pkLoadedShape);
    ASSERT_TRUE(pkLoadedSkin);
    EXPECT_EQ(pkLoadedSkin->GetBone(0), spLoaded->GetAt(0));
    EXPECT_EQ(pkLoadedSkin->GetInfluenceVertices(1), (std::vector<uint16_t>{0, 1}));
    EXPECT_EQ(pkLoadedSkin->GetBoneBounds().size(), 2u);

    // No bones at all.
    NiTriShape* pkBare = Shape(1);
    NiRefPtr<NiNode> spBare = Scene({pkBare});
    Skin(pkBare, {}, {}, {});
    NiRefPtr<NiNode> spBareLoaded = NifTest::RoundTrip<NiNode>(spBare);
    ASSERT_TRUE(spBareLoaded);
    EXPECT_TRUE(spBareLoaded->IsEquivalent(spBare));
}

TEST(NiSkinControllerTest, BadBoneLinksLeaveEmptySlotsAndHugeCountsFailTheLoad)
{
    NiTriShape* pkShape = Shape(2);
    NiBone* pkBone = Bone(NiPoint3(0, 0, 1));
    NiRefPtr<NiNode> spScene = Scene({pkShape, pkBone});
    Skin(pkShape, {pkBone}, {{{1, 0, 0, 1}}}, {{0}});
    const std::vector<char> kSaved = NifTest::Save({spScene});
    std::string kBytes(kSaved.begin(), kSaved.end());
    // One bone, one influence, the bone's id, then the influence: weight 1, vertex 0, (1, 0, 0).
    std::string kInfluence;
    const float afInfluence[] = {1.0f, 1.0f, 0.0f, 0.0f};
    const uint16_t usVertex = 0;
    kInfluence.append(reinterpret_cast<const char*>(afInfluence), 4);
    kInfluence.append(reinterpret_cast<const char*>(&usVertex), 2);
    kInfluence.append(reinterpret_cast<const char*>(afInfluence + 1), 12);
    const size_t uiInfluence = kBytes.find(kInfluence);
    ASSERT_NE(uiInfluence, std::string::npos);
    const size_t uiAt = uiInfluence - 12;

    // A bone id that names the shape: the slot stays empty and deforming skips it.
    std::string kWrongClass = kBytes;
    const uint32_t uiShapeID = 2;
    kWrongClass.replace(uiAt + 8, 4, reinterpret_cast<const char*>(&uiShapeID), 4);
    NiRefPtr<NiNode> spLoaded = LoadFirst<NiNode>(kWrongClass);
    ASSERT_TRUE(spLoaded);
    NiTriShape* pkLoadedShape = NiDynamicCast<NiTriShape>(spLoaded->GetAt(0));
    NiSkinController* pkSkin = NiSkinController::FindSkinController(pkLoadedShape);
    ASSERT_TRUE(pkSkin);
    EXPECT_EQ(pkSkin->GetBone(0), nullptr);
    spLoaded->UpdateSubtree(1.0f);
    pkSkin->Deform(pkLoadedShape->GetVertexArray());
    EXPECT_EQ(pkLoadedShape->GetVertexArray()[0], NiPoint3::ZERO);

    // Bone and influence counts beyond what the file holds.
    for (const size_t uiField : {size_t(0), size_t(4)})
    {
        std::string kHuge = kBytes;
        const uint32_t uiCount = 0x08000000;
        kHuge.replace(uiAt + uiField, 4, reinterpret_cast<const char*>(&uiCount), 4);
        EXPECT_TRUE(NifTest::Load(kHuge).empty()) << "field " << uiField;
    }
}

TEST(NiSkinControllerTest, ClonesFollowTheClonedBonesAndDeadBonesAreSkipped)
{
    NiTriShape* pkShape = Shape(1);
    NiBone* pkBone = Bone(NiPoint3(0, 0, 1));
    NiRefPtr<NiNode> spScene = Scene({pkShape, pkBone});
    Skin(pkShape, {pkBone}, {{{1, 0, 0, 1}}}, {{0}});

    NiRefPtr<NiNode> spClone = NiDynamicCast<NiNode>(spScene->Clone());
    ASSERT_TRUE(spClone);
    NiSkinController* pkCloneSkin =
        NiSkinController::FindSkinController(NiDynamicCast<NiTriShape>(spClone->GetAt(0)));
    ASSERT_TRUE(pkCloneSkin);
    EXPECT_EQ(pkCloneSkin->GetBone(0), spClone->GetAt(1));
    EXPECT_TRUE(spClone->IsEquivalent(spScene));

    // The cloned bone goes away: the clone's skin no longer names it.
    spClone->RemoveChildAt(1);
    EXPECT_EQ(pkCloneSkin->GetBone(0), nullptr);
    spClone->UpdateSubtree(1.0f);
    NiBoundingSphere kBound;
    pkCloneSkin->ComputeSkinBound(kBound);
    EXPECT_EQ(kBound, NiBoundingSphere());
}
