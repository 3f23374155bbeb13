#include "NifTestSupport.h"
#include "SceneTestObjects.h"

#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiAmbientLight.h"
#include "scene/graph/NiDirectionalLight.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiTextureEffect.h"
#include "scene/graph/NiWireframeProperty.h"
#include "tests/support/RecordingRender.h"

#include <gtest/gtest.h>

namespace
{
// A small model: a ship lit by an ambient light and a sun, a scaled hull with its own alpha
// property, and a turned hardpoint node whose subtree alone a projected glow reaches.
NiRefPtr<NiNode> BuildShip()
{
    NiRefPtr<NiNode> spShip = new NiNode;
    spShip->SetName("Ship");
    spShip->SetTranslate(NiPoint3(0, 0, 10));
    spShip->PrependProperty(new NiWireframeProperty);

    NiNode* pkHull = new NiNode;
    pkHull->SetName("Hull");
    pkHull->SetTranslate(NiPoint3(2, 0, 0));
    pkHull->SetScale(2.0f);
    pkHull->PrependProperty(new NiAlphaProperty);
    TestShape* pkHullMesh = new TestShape(NiPoint3(1, 0, 0), 1.0f);
    pkHullMesh->SetName("HullMesh");
    pkHull->AddChild(pkHullMesh);

    NiNode* pkHardpoints = new NiNode;
    pkHardpoints->SetName("Hardpoints");
    pkHardpoints->SetRotate(QuarterTurnZ());
    TestShape* pkPhaser = new TestShape(NiPoint3::ZERO, 0.5f);
    pkPhaser->SetName("Phaser");
    pkPhaser->SetTranslate(NiPoint3(1, 0, 0));
    NiTextureEffect* pkGlow = new NiTextureEffect;
    pkGlow->SetName("Glow");
    pkHardpoints->AddChild(pkPhaser);
    pkHardpoints->AddChild(pkGlow);
    pkHardpoints->AttachEffect(pkGlow);

    NiAmbientLight* pkAmbient = new NiAmbientLight;
    pkAmbient->SetName("Ambient");
    NiDirectionalLight* pkSun = new NiDirectionalLight;
    pkSun->SetName("Sun");
    spShip->AddChild(pkHull);
    spShip->AddChild(pkHardpoints);
    spShip->AddChild(pkAmbient);
    spShip->AddChild(pkSun);
    spShip->AttachEffect(pkSun);
    spShip->AttachEffect(pkAmbient);
    return spShip;
}

template <class T> T* Find(NiNode* pkRoot, const char* pcName)
{
    return NiDynamicCast<T>(pkRoot->FindObjectByName(pcName));
}
} // namespace

TEST(SceneGraphEndToEnd, LoadedModelUpdatesIntoWorldFramesTablesAndLists)
{
    NiRefPtr<RecordingRender> spView = new RecordingRender;
    NiRefPtr<RecordingRender> spThumbnail = new RecordingRender;

    NiRefPtr<NiNode> spBuilt = BuildShip();
    std::vector<char> kSaved;
    {
        NiStream kStream;
        kStream.AddTopObject(spBuilt);
        ASSERT_TRUE(kStream.SaveBuffer(kSaved));
    }
    NiRefPtr<NiNode> spShip;
    {
        NiStream kStream;
        ASSERT_TRUE(kStream.LoadBuffer(kSaved.data(), kSaved.size()));
        ASSERT_EQ(kStream.GetTopObjectCount(), 1u);
        spShip = NiDynamicCast<NiNode>(kStream.GetTopObjectAt(0));
    }
    ASSERT_TRUE(spShip);
    EXPECT_TRUE(spShip->IsEquivalent(spBuilt));
    // Saving what was loaded gives the same bytes.
    EXPECT_EQ(NifTest::Save({spShip}), kSaved);

    spShip->UpdateSubtree(0.0f);
    spShip->RefreshPropertyStates();
    spShip->RefreshEffectStates();

    TestShape* pkHullMesh = Find<TestShape>(spShip, "HullMesh");
    TestShape* pkPhaser = Find<TestShape>(spShip, "Phaser");
    NiTextureEffect* pkGlow = Find<NiTextureEffect>(spShip, "Glow");
    NiDirectionalLight* pkSun = Find<NiDirectionalLight>(spShip, "Sun");
    NiAmbientLight* pkAmbient = Find<NiAmbientLight>(spShip, "Ambient");
    ASSERT_TRUE(pkHullMesh && pkPhaser && pkGlow && pkSun && pkAmbient);

    // World frames and bounds.
    EXPECT_EQ(pkHullMesh->GetWorldTranslate(), NiPoint3(2, 0, 10));
    EXPECT_FLOAT_EQ(pkHullMesh->GetWorldScale(), 2.0f);
    EXPECT_EQ(pkHullMesh->GetWorldBound().m_kCenter, NiPoint3(4, 0, 10));
    EXPECT_FLOAT_EQ(pkHullMesh->GetWorldBound().m_fRadius, 2.0f);
    EXPECT_EQ(pkPhaser->GetWorldTranslate(), NiPoint3(0, 1, 10));
    EXPECT_TRUE(spShip->GetWorldBound().Contains(pkHullMesh->GetWorldBound()));
    EXPECT_TRUE(spShip->GetWorldBound().Contains(pkPhaser->GetWorldBound()));
    EXPECT_TRUE(spShip->IsVisual());
    EXPECT_EQ(pkSun->GetWorldDirection(), NiPoint3::UNIT_X);
    EXPECT_EQ(pkGlow->GetWorldProjectionTranslation(), NiPoint3(0, 0, -10));

    // Property tables: the ship's wireframe everywhere, the hull's alpha only below the hull.
    NiPropertyTable* pkHullTable = pkHullMesh->GetPropertyTable();
    NiPropertyTable* pkPhaserTable = pkPhaser->GetPropertyTable();
    ASSERT_TRUE(pkHullTable && pkPhaserTable);
    EXPECT_EQ(pkHullTable->GetProperty(NiProperty::WIREFRAME), spShip->FindProperty(NiProperty::WIREFRAME));
    EXPECT_EQ(pkPhaserTable->GetProperty(NiProperty::WIREFRAME), spShip->FindProperty(NiProperty::WIREFRAME));
    EXPECT_EQ(pkHullTable->GetProperty(NiProperty::ALPHA),
              pkHullMesh->GetParent()->FindProperty(NiProperty::ALPHA));
    EXPECT_EQ(pkPhaserTable->GetProperty(NiProperty::ALPHA), NiAlphaProperty::GetDefault());

    // Effect lists: both lights everywhere, ordered by index; the glow only on the hardpoints.
    NiEffectLists* pkHullLists = pkHullMesh->GetEffectLists();
    NiEffectLists* pkPhaserLists = pkPhaser->GetEffectLists();
    ASSERT_TRUE(pkHullLists && pkPhaserLists);
    ASSERT_EQ(pkHullLists->GetLights().size(), 2u);
    EXPECT_LT(pkHullLists->GetLights()[0]->GetIndex(), pkHullLists->GetLights()[1]->GetIndex());
    EXPECT_TRUE(pkHullLists->GetProjectedLights().empty());
    EXPECT_EQ(pkPhaserLists->GetLights(), pkHullLists->GetLights());
    ASSERT_EQ(pkPhaserLists->GetProjectedLights().size(), 1u);
    EXPECT_EQ(pkPhaserLists->GetProjectedLights()[0], pkGlow);

    // Taking the sun out and letting it go purges it from both live renderers, once each.
    RecordingRender::Journal().clear();
    spShip->DetachEffect(pkSun);
    NiRefPtr<NiAVObject> spSun = spShip->RemoveChild(pkSun);
    spShip->RefreshEffectStates();
    ASSERT_EQ(pkHullMesh->GetEffectLists()->GetLights().size(), 1u);
    EXPECT_EQ(pkHullMesh->GetEffectLists()->GetLights()[0], pkAmbient);
    EXPECT_TRUE(RecordingRender::Journal().empty());
    spSun = nullptr;
    ASSERT_EQ(RecordingRender::Journal().size(), 2u);
    EXPECT_EQ(RecordingRender::Journal()[0].m_pkRenderer, spView);
    EXPECT_EQ(RecordingRender::Journal()[1].m_pkRenderer, spThumbnail);
    EXPECT_EQ(spView->CountCalls("PurgeEffect"), 1u);
    EXPECT_EQ(spThumbnail->CountCalls("PurgeEffect"), 1u);
}
