#include "NifTestSupport.h"

#include "scene/graph/NiScreenPolygon.h"
#include "scene/graph/NiTriBasedGeom.h"
#include "scene/graph/NiTriShape.h"
#include "tests/support/NodeKindsScene.h"
#include "tests/support/RecordingRender.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

TEST(NodeKindsEndToEnd, SavedModelLoadsBackEquivalentAndDrawsWhatEachNodeChooses)
{
    const NodeKindsScene kBuilt = MakeNodeKindsScene();
    const std::vector<NiRefPtr<NiObject>> kTop =
        NifTest::Load(NifTest::Save({kBuilt.m_spRoot, kBuilt.m_spCamera}));
    ASSERT_EQ(kTop.size(), 2u);
    NiNode* pkRoot = NiDynamicCast<NiNode>(kTop[0].Get());
    NiCamera* pkCamera = NiDynamicCast<NiCamera>(kTop[1].Get());
    ASSERT_TRUE(pkRoot && pkCamera);
    EXPECT_TRUE(pkRoot->IsEquivalent(kBuilt.m_spRoot));
    EXPECT_EQ(pkCamera->GetScene(), pkRoot);
    ASSERT_EQ(pkCamera->GetScreenPolygonCount(), 1u);
    const NiScreenPolygon* pkPolygon = pkCamera->GetScreenPolygonAt(0);
    const NiScreenPolygon* pkBuiltPolygon = kBuilt.m_spCamera->GetScreenPolygonAt(0);
    ASSERT_TRUE(pkPolygon);
    EXPECT_EQ(pkPolygon->GetVertices()[2], pkBuiltPolygon->GetVertices()[2]);
    EXPECT_EQ(pkPolygon->GetColors()[1], pkBuiltPolygon->GetColors()[1]);
    EXPECT_EQ(pkPolygon->GetTextures(), nullptr);

    // The load sequence at time 2.5, then one frame.
    pkRoot->UpdateSubtree(2.5f);
    pkRoot->RefreshPropertyStates();
    pkRoot->RefreshEffectStates();
    pkCamera->UpdateSubtree(0.0f);
    NiRefPtr<RecordingRender> spRenderer = new RecordingRender;
    pkCamera->SetRenderer(spRenderer);
    NiTriBasedGeom::ResetDrawStatistics();
    pkCamera->Render();

    std::map<const void*, std::string> kNames;
    for (const char* pcName :
         {"switch 0", "switch 1", "time 0", "time 1", "time 2", "near", "far", "billboard", "bsp 0", "bsp 1",
          "sorted", "unpickable", "skinned", "sparks", "smoke"})
    {
        const NiGeometry* pkGeometry = NiDynamicCast<NiGeometry>(pkRoot->FindObjectByName(pcName));
        ASSERT_TRUE(pkGeometry) << pcName;
        kNames[pkGeometry->GetGeometryData()] = pcName;
    }
    std::vector<std::string> kDrawn;
    for (const RecordingRender::Call& kCall : spRenderer->GetCalls())
    {
        if (kCall.m_kName == "DrawTriShape" || kCall.m_kName == "DrawParticles")
            kDrawn.push_back(kNames[kCall.m_kObjects[0]]);
        else if (kCall.m_kName == "DrawScreenPolygon")
            kDrawn.push_back("screen polygon");
    }
    EXPECT_EQ(kDrawn,
              (std::vector<std::string>{"switch 1", "time 2", "far", "billboard", "bsp 1", "bsp 0", "sorted",
                                        "unpickable", "skinned", "sparks", "smoke", "screen polygon"}));
    uint32_t uiObjects, uiTriangles, uiVertices;
    NiTriBasedGeom::GetDrawStatistics(uiObjects, uiTriangles, uiVertices);
    EXPECT_EQ(uiObjects, 11u);
    EXPECT_EQ(uiTriangles, 9u + 3u + 3u);

    // The skin placed each vertex by its bone: spine at (0, -3, 0), arm one unit above it.
    const NiTriShape* pkSkinned = NiDynamicCast<NiTriShape>(pkRoot->FindObjectByName("skinned"));
    const NiPoint3* pkVertex = pkSkinned->GetVertexArray();
    EXPECT_EQ(pkVertex[0], NiPoint3(0, -3, 0));
    EXPECT_EQ(pkVertex[1], NiPoint3(0, -3, 1));
    EXPECT_EQ(pkVertex[2], NiPoint3(0, -2, 0));
    pkCamera->SetRenderer(nullptr);
}
