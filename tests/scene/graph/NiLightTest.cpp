#include "NifTestSupport.h"
#include "SceneTestObjects.h"

#include "scene/graph/NiAmbientLight.h"
#include "scene/graph/NiDirectionalLight.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiPointLight.h"
#include "scene/graph/NiSpotLight.h"
#include "tests/support/RecordingRender.h"

#include <gtest/gtest.h>

#include <functional>

TEST(NiLight, IndicesCountUpAndClonesTakeANewOne)
{
    NiRefPtr<NiAmbientLight> spFirst = new NiAmbientLight;
    NiRefPtr<NiSpotLight> spSecond = new NiSpotLight;
    EXPECT_EQ(spSecond->GetIndex(), spFirst->GetIndex() + 1);

    NiRefPtr<NiAmbientLight> spClone = NiDynamicCast<NiAmbientLight>(spFirst->Clone());
    ASSERT_TRUE(spClone);
    EXPECT_GT(spClone->GetIndex(), spSecond->GetIndex());
    EXPECT_TRUE(spClone->GetSwitch());
    EXPECT_EQ(spFirst->GetExtraData(), nullptr);
}

TEST(NiLight, KindsAndDefaults)
{
    NiRefPtr<NiAmbientLight> spAmbient = new NiAmbientLight;
    NiRefPtr<NiDirectionalLight> spDirectional = new NiDirectionalLight;
    NiRefPtr<NiPointLight> spPoint = new NiPointLight;
    NiRefPtr<NiSpotLight> spSpot = new NiSpotLight;
    EXPECT_EQ(spAmbient->GetEffectKind(), 0);
    EXPECT_EQ(spDirectional->GetEffectKind(), 1);
    EXPECT_EQ(spPoint->GetEffectKind(), 2);
    EXPECT_EQ(spSpot->GetEffectKind(), 3);

    EXPECT_EQ(spSpot->GetRevisionID(), 1);
    EXPECT_FLOAT_EQ(spSpot->GetDimmer(), 1.0f);
    EXPECT_EQ(spSpot->GetDiffuseColor(), NiColor::WHITE);
    EXPECT_FLOAT_EQ(spSpot->GetLinearAttenuation(), 1.0f);
    EXPECT_EQ(spSpot->GetWorldDirection(), NiPoint3::UNIT_X);
    EXPECT_FALSE(spSpot->IsVisual());
}

TEST(NiLight, AffectedNodesMirrorTheNodesEffectLists)
{
    NiRefPtr<NiNode> spNode = new NiNode;
    NiRefPtr<NiPointLight> spLight = new NiPointLight;

    spLight->AddAffectedNode(spNode);
    spNode->AttachEffect(spLight);
    spLight->AddAffectedNode(spNode);
    spLight->AddAffectedNode(nullptr);
    spNode->AttachEffect(nullptr);
    EXPECT_EQ(spLight->GetAffectedNodeList().Count(), 1u);
    EXPECT_EQ(spNode->GetEffectList().Count(), 1u);

    spNode->DetachEffect(spLight);
    EXPECT_TRUE(spLight->GetAffectedNodeList().IsEmpty());
    EXPECT_TRUE(spNode->GetEffectList().IsEmpty());

    spNode->AttachEffect(spLight);
    spLight->RemoveAffectedNode(spNode);
    spLight->RemoveAffectedNode(spNode);
    spLight->RemoveAffectedNode(nullptr);
    EXPECT_TRUE(spNode->GetEffectList().IsEmpty());
}

TEST(NiLight, DestroyingALightDetachesItAndPurgesEveryLiveRenderer)
{
    RecordingRender::Journal().clear();
    NiRefPtr<RecordingRender> spFirst = new RecordingRender;
    NiRefPtr<RecordingRender> spSecond = new RecordingRender;
    NiRefPtr<NiNode> spA = new NiNode;
    NiRefPtr<NiNode> spB = new NiNode;

    NiSpotLight* pkLight = new NiSpotLight;
    NiRefPtr<NiSpotLight> spLight = pkLight;
    spA->AttachEffect(pkLight);
    pkLight->AddAffectedNode(spB);
    spLight = nullptr;

    EXPECT_TRUE(spA->GetEffectList().IsEmpty());
    EXPECT_TRUE(spB->GetEffectList().IsEmpty());
    ASSERT_EQ(RecordingRender::Journal().size(), 2u);
    EXPECT_EQ(RecordingRender::Journal()[0].m_pkRenderer, spFirst);
    EXPECT_EQ(RecordingRender::Journal()[1].m_pkRenderer, spSecond);
    EXPECT_EQ(spFirst->FindLastCall("PurgeEffect")->m_kObjects[0], pkLight);

    // Once the first renderer is gone only the second hears of the next light.
    spFirst = nullptr;
    RecordingRender::Journal().clear();
    delete new NiAmbientLight;
    ASSERT_EQ(RecordingRender::Journal().size(), 1u);
    EXPECT_EQ(RecordingRender::Journal()[0].m_pkRenderer, spSecond);
}

TEST(NiLight, WorldUpdatesAdvanceTheRevision)
{
    struct Case
    {
        const char* m_pcClass;
        NiDynamicEffect* (*m_pfnMake)();
        int32_t m_iPerUpdate;
    };
    const Case akCases[] = {
        {"ambient", []() -> NiDynamicEffect* { return new NiAmbientLight; }, 0},
        {"directional", []() -> NiDynamicEffect* { return new NiDirectionalLight; }, 1},
        {"point", []() -> NiDynamicEffect* { return new NiPointLight; }, 1},
        {"spot", []() -> NiDynamicEffect* { return new NiSpotLight; }, 2},
    };
    for (const Case& kCase : akCases)
    {
        NiRefPtr<NiDynamicEffect> spLight = kCase.m_pfnMake();
        spLight->UpdateSubtree(0.0f);
        spLight->UpdateSubtree(1.0f);
        EXPECT_EQ(spLight->GetRevisionID(), 1 + 2 * kCase.m_iPerUpdate) << kCase.m_pcClass;
    }
}

TEST(NiLight, EverySetterAdvancesTheRevision)
{
    NiRefPtr<NiSpotLight> spLight = new NiSpotLight;
    const std::function<void(NiSpotLight&)> akSetters[] = {
        [](NiSpotLight& kLight) { kLight.SetDimmer(0.5f); },
        [](NiSpotLight& kLight) { kLight.SetAmbientColor(NiColor(1, 0, 0)); },
        [](NiSpotLight& kLight) { kLight.SetDiffuseColor(NiColor(0, 1, 0)); },
        [](NiSpotLight& kLight) { kLight.SetSpecularColor(NiColor(0, 0, 1)); },
        [](NiSpotLight& kLight) { kLight.SetConstantAttenuation(0.5f); },
        [](NiSpotLight& kLight) { kLight.SetLinearAttenuation(0.25f); },
        [](NiSpotLight& kLight) { kLight.SetQuadraticAttenuation(0.125f); },
        [](NiSpotLight& kLight) { kLight.SetSpotAngle(30.0f); },
        [](NiSpotLight& kLight) { kLight.SetSpotExponent(2.0f); },
    };
    int32_t iRevision = spLight->GetRevisionID();
    for (const auto& kSetter : akSetters)
    {
        kSetter(*spLight);
        EXPECT_EQ(spLight->GetRevisionID(), ++iRevision);
    }
}

TEST(NiLight, DirectionsFollowTheWorldRotation)
{
    NiRefPtr<NiNode> spRoot = new NiNode;
    spRoot->SetRotate(QuarterTurnZ());
    NiRefPtr<NiDirectionalLight> spSun = new NiDirectionalLight;
    NiRefPtr<NiSpotLight> spSpot = new NiSpotLight;
    spRoot->AddChild(spSun);
    spRoot->AddChild(spSpot);
    spRoot->UpdateSubtree(0.0f);
    EXPECT_EQ(spSun->GetWorldDirection(), NiPoint3(0, 1, 0));
    EXPECT_EQ(spSpot->GetWorldDirection(), NiPoint3(0, 1, 0));
}

TEST(NiLight, RecordsRoundTripAndLeaveAffectedNodesToTheNodes)
{
    NiRefPtr<NiSpotLight> spLight = new NiSpotLight;
    spLight->SetDimmer(0.75f);
    spLight->SetAmbientColor(NiColor(0.1f, 0.2f, 0.3f));
    spLight->SetDiffuseColor(NiColor(0.4f, 0.5f, 0.6f));
    spLight->SetSpecularColor(NiColor(0.7f, 0.8f, 0.9f));
    spLight->SetConstantAttenuation(1.5f);
    spLight->SetQuadraticAttenuation(0.5f);
    spLight->SetSpotAngle(45.0f);
    spLight->SetSpotExponent(3.0f);
    NiRefPtr<NiNode> spLit = new NiNode;
    spLit->AttachEffect(spLight);

    // Saved alone, the light's node ids name nothing in the file: it loads unattached.
    NiRefPtr<NiSpotLight> spAlone = NifTest::RoundTrip<NiSpotLight>(spLight);
    ASSERT_TRUE(spAlone);
    EXPECT_TRUE(spAlone->GetAffectedNodeList().IsEmpty());
    EXPECT_FLOAT_EQ(spAlone->GetSpotAngle(), 45.0f);

    // Saved with its node, the node attaches it again.
    spLit->AddChild(spLight);
    NiRefPtr<NiNode> spLoaded = NifTest::RoundTrip<NiNode>(spLit);
    ASSERT_TRUE(spLoaded);
    EXPECT_TRUE(spLoaded->IsEquivalent(spLit));
    NiSpotLight* pkLoadedLight = NiDynamicCast<NiSpotLight>(spLoaded->GetAt(0));
    ASSERT_TRUE(pkLoadedLight);
    EXPECT_TRUE(pkLoadedLight->GetAffectedNodeList().Contains(spLoaded));
    EXPECT_EQ(spLoaded->GetEffectList().GetHead().m_item, pkLoadedLight);
}

TEST(NiLight, LightsDifferingOnlyInWhichNodesTheyLightAreEquivalent)
{
    NiRefPtr<NiPointLight> spA = new NiPointLight;
    NiRefPtr<NiPointLight> spB = new NiPointLight;
    NiRefPtr<NiNode> spNodeA = new NiNode;
    NiRefPtr<NiNode> spNodeB = new NiNode;
    spA->AddAffectedNode(spNodeA);
    spB->AddAffectedNode(spNodeB);
    EXPECT_TRUE(spA->IsEquivalent(spB));

    spB->AddAffectedNode(spNodeA);
    EXPECT_FALSE(spA->IsEquivalent(spB));

    NiRefPtr<NiPointLight> spDimmer = new NiPointLight;
    spDimmer->AddAffectedNode(spNodeB);
    spDimmer->SetDimmer(0.5f);
    EXPECT_FALSE(spA->IsEquivalent(spDimmer));
}

TEST(NiLight, LoadRefusesANegativeAffectedNodeCount)
{
    NiRefPtr<NiAmbientLight> spLight = new NiAmbientLight;
    std::vector<char> kBuffer = NifTest::Save({spLight});
    // The count sits right after the scene-object record's volume word.
    const size_t uiCount = NifTest::FieldsOffset(kBuffer, "NiAmbientLight") + 12 + 36 + 4 + 12 + 4 + 4;
    ASSERT_LT(uiCount + 4, kBuffer.size());
    ASSERT_EQ(NifTest::Load(kBuffer).size(), 1u);
    const int32_t iNegative = -1;
    std::memcpy(&kBuffer[uiCount], &iNegative, 4);
    EXPECT_TRUE(NifTest::Load(kBuffer).empty());

    const int32_t iHuge = 0x10000000;
    std::memcpy(&kBuffer[uiCount], &iHuge, 4);
    EXPECT_TRUE(NifTest::Load(kBuffer).empty());
}
