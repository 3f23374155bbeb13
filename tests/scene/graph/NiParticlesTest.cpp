#include "GeometryTestHelpers.h"
#include "SceneTestObjects.h"
#include "TestCamera.h"

#include "scene/graph/NiAutoNormalParticles.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiParticles.h"
#include "scene/graph/NiPicker.h"
#include "tests/support/RecordingRender.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace geometry_test;

namespace
{
NiPoint3* Line(uint16_t usCount)
{
    NiPoint3* pkVertex = new NiPoint3[usCount];
    for (uint16_t i = 0; i < usCount; ++i)
        pkVertex[i] = NiPoint3(float(i), 0.0f, 0.0f);
    return pkVertex;
}

// The particle-data part of a record after the triangle-data part.
NifTest::Bytes ParticleRecord(const char* pcClass, uint16_t usVertices, uint16_t usActive)
{
    std::vector<NiPoint3> kPositions(usVertices, NiPoint3(1, 2, 3));
    NifTest::Bytes kBytes = DataRecord(pcClass, kPositions);
    kBytes.U16(usVertices).F32(0.5f).U16(usActive).U32(0);
    return kBytes;
}
} // namespace

TEST(NiParticlesTest, OnlyLiveParticlesAreTransformedBoundedDrawnAndCounted)
{
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    NiRefPtr<NiCamera> spCamera = TestCamera(spRenderer, NiPoint3(-50, 0, 0), NiRotationMatrix::IDENTITY);
    NiRefPtr<NiParticles> spParticles = new NiParticles(10, Line(10), nullptr, nullptr);
    NiParticlesData* pkData = spParticles->GetParticlesData();
    pkData->SetActiveCount(4);
    spParticles->SetTranslate(NiPoint3(0, 1, 0));
    // Moved particles: whoever moved them asks for the bound again.
    pkData->GetBound().m_ucNotComputed = 1;
    spParticles->AllocWorldVertices();
    spParticles->UpdateSubtree(0.0f);
    spParticles->ComputeWorldVertices();
    EXPECT_EQ(spParticles->GetWorldVertices()[3], NiPoint3(3, 1, 0));
    EXPECT_EQ(spParticles->GetWorldVertices()[4], NiPoint3::ZERO);
    EXPECT_FLOAT_EQ(spParticles->GetWorldBound().m_fRadius, 1.5f);
    NiPoint3 *pkP0, *pkP1, *pkP2;
    ASSERT_TRUE(spParticles->GetWorldTriangle(3, pkP0, pkP1, pkP2));
    EXPECT_TRUE(pkP0 == pkP1 && pkP1 == pkP2 && *pkP0 == NiPoint3(3, 1, 0));
    EXPECT_FALSE(spParticles->GetModelTriangle(10, pkP0, pkP1, pkP2));

    NiTriBasedGeom::ResetDrawStatistics();
    spParticles->CullAndDraw(spCamera);
    uint32_t uiObjects, uiTriangles, uiVertices;
    NiTriBasedGeom::GetDrawStatistics(uiObjects, uiTriangles, uiVertices);
    EXPECT_EQ(uiObjects, 1u);
    EXPECT_EQ(uiTriangles, 4u);
    EXPECT_EQ(uiVertices, 4u);
    const RecordingRender::Call* pkCall = spRenderer->FindLastCall("DrawParticles");
    ASSERT_TRUE(pkCall);
    EXPECT_EQ(pkCall->m_kObjects[0], pkData);

    // A ray through a particle finds nothing.
    NiPicker kPicker;
    kPicker.SetTarget(spParticles);
    EXPECT_FALSE(kPicker.Pick(NiPoint3(-5, 1, 0), NiPoint3::UNIT_X, false));

    pkData->SetActiveCount(11);
    EXPECT_EQ(pkData->GetActiveCount(), 10u);
}

TEST(NiParticlesTest, AutoNormalsFaceTheCameraForLiveParticlesOnly)
{
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    // Looking along -z: the first column of the rotation.
    const NiRotationMatrix kLookDown = Rows(NiPoint3(0, 0, 1), NiPoint3(0, 1, 0), NiPoint3(-1, 0, 0));
    NiRefPtr<NiCamera> spCamera = TestCamera(spRenderer, NiPoint3(2, 0, 50), kLookDown);
    ASSERT_EQ(spCamera->GetWorldDirection(), NiPoint3(0, 0, -1));
    NiRefPtr<NiAutoNormalParticles> spParticles = new NiAutoNormalParticles(5, Line(5), nullptr);
    NiParticlesData* pkData = spParticles->GetParticlesData();
    pkData->SetActiveCount(3);
    pkData->GetNormals()[4] = NiPoint3(7, 7, 7);
    spParticles->UpdateSubtree(0.0f);
    spParticles->CullAndDraw(spCamera);
    ASSERT_EQ(spRenderer->CountCalls("DrawParticles"), 1u);
    EXPECT_EQ(pkData->GetNormals()[0], NiPoint3(0, 0, 1));
    EXPECT_EQ(pkData->GetNormals()[2], NiPoint3(0, 0, 1));
    EXPECT_EQ(pkData->GetNormals()[4], NiPoint3(7, 7, 7));
}

TEST(NiParticlesTest, RecordsRoundTripWithSizesAndRefuseTooManyLiveParticles)
{
    // No sizes in the record: every size 1, and a save writes them.
    const std::string kNoSizes = ParticleRecord("NiParticlesData", 3, 2).End().Get();
    NiRefPtr<NiParticlesData> spLoaded = LoadFirst<NiParticlesData>(kNoSizes);
    ASSERT_TRUE(spLoaded);
    EXPECT_EQ(spLoaded->GetRadius(), 0.5f);
    EXPECT_EQ(spLoaded->GetActiveCount(), 2u);
    ASSERT_TRUE(spLoaded->GetSizes());
    EXPECT_EQ(std::vector<float>(spLoaded->GetSizes(), spLoaded->GetSizes() + 3),
              std::vector<float>(3, 1.0f));
    spLoaded->GetSizes()[1] = 4.0f;
    NiRefPtr<NiParticlesData> spAgain = NifTest::RoundTrip<NiParticlesData>(spLoaded.Get());
    ASSERT_TRUE(spAgain);
    EXPECT_TRUE(spAgain->IsEquivalent(spLoaded));
    EXPECT_EQ(spAgain->GetSizes()[1], 4.0f);

    // Auto-normal data loaded without normals gets the array its draws write.
    NiRefPtr<NiAutoNormalParticlesData> spAuto =
        LoadFirst<NiAutoNormalParticlesData>(ParticleRecord("NiAutoNormalParticlesData", 3, 3).End().Get());
    ASSERT_TRUE(spAuto);
    EXPECT_NE(spAuto->GetNormals(), nullptr);

    EXPECT_TRUE(NifTest::Load(ParticleRecord("NiParticlesData", 3, 4).End().Get()).empty());

    // Radius and sizes take part in the comparison.
    NiRefPtr<NiParticlesData> spOther = new NiParticlesData(3, Line(3), nullptr, nullptr);
    NiRefPtr<NiParticlesData> spSame = new NiParticlesData(3, Line(3), nullptr, nullptr);
    EXPECT_TRUE(spOther->IsEquivalent(spSame));
    spSame->SetRadius(2.0f);
    EXPECT_FALSE(spOther->IsEquivalent(spSame));
    spSame->SetRadius(1.0f);
    spSame->ReplaceSizes(nullptr);
    EXPECT_FALSE(spOther->IsEquivalent(spSame));
    EXPECT_FALSE(spSame->IsEquivalent(spOther));
}
