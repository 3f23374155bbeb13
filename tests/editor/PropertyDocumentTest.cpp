// The document's model centre and selection marker on real windows: the centre measures the
// model without the display geometry hung in it, and the marker stands where the object stands,
// replaces the previous one and leaves with the document.
#include "editor/CPropertyDoc.h"
#include "properties/DisplayModelExtraData.h"
#include "scene/graph/NiTriangles.h"
#include "scene/graph/NiWireframeProperty.h"
#include "tests/editor/NifViewFixture.h"

#include <cmath>

namespace
{
class PropertyDocumentTest : public NifViewFixture
{
protected:
    // A marked node holding an octahedron, as display geometry hangs in a scene.
    static NiNode* MakeDisplayNode(const NiPoint3& kCentre, float fRadius)
    {
        auto* pkNode = new NiNode;
        DisplayModelExtraData::Mark(pkNode);
        pkNode->AddChild(MakeOctahedron("Display", kCentre, fRadius));
        return pkNode;
    }
    // The marked children of the scene root, in slot order.
    static std::vector<NiAVObject*> MarkedUnderRoot(NiNode* pkRoot)
    {
        std::vector<NiAVObject*> kMarked;
        for (uint32_t i = 0; i < pkRoot->GetArrayCount(); ++i)
            if (NiAVObject* pkChild = pkRoot->GetAt(i);
                pkChild != nullptr && DisplayModelExtraData::IsMarked(pkChild))
                kMarked.push_back(pkChild);
        return kMarked;
    }
};

TEST_F(PropertyDocumentTest, TheModelCentreLeavesDisplayGeometryOutAndPutsItBackInItsSlots)
{
    Start();
    ASSERT_NE(OpenView(WriteOctahedronModel("Centred", NiPoint3(3.0f, 4.0f, 5.0f), 2.0f)), nullptr);
    CPropertyDoc* pkDoc = Active();
    NiNode* pkRoot = pkDoc->GetSceneRoot();
    // Display geometry far off, one piece under the root and one under a model node, and a
    // plain node in between that must stay where it is.
    NiRefPtr<NiNode> spUnderRoot = MakeDisplayNode(NiPoint3(200.0f, 0.0f, 0.0f), 10.0f);
    NiRefPtr<NiNode> spGroup = new NiNode;
    NiRefPtr<NiNode> spUnderGroup = MakeDisplayNode(NiPoint3(0.0f, -300.0f, 0.0f), 10.0f);
    spGroup->AddChild(spUnderGroup);
    pkRoot->AddChild(spUnderRoot);
    pkRoot->AddChild(spGroup);
    pkRoot->UpdateSubtree(0.0f);
    ASSERT_GT(pkRoot->GetWorldBound().m_fRadius, 100.0f);
    std::vector<NiAVObject*> kSlots;
    for (uint32_t i = 0; i < pkRoot->GetArrayCount(); ++i)
        kSlots.push_back(pkRoot->GetAt(i));

    ExpectPoint(pkDoc->ComputeModelCentre(), NiPoint3(3.0f, 4.0f, 5.0f), 1e-3f);
    std::vector<NiAVObject*> kAfter;
    for (uint32_t i = 0; i < pkRoot->GetArrayCount(); ++i)
        kAfter.push_back(pkRoot->GetAt(i));
    EXPECT_EQ(kAfter, kSlots);
    EXPECT_EQ(spUnderGroup->GetParent(), spGroup.Get());

    // A scene of display geometry alone has no centre but the origin.
    pkRoot->RemoveChildAt(0);
    ExpectPoint(pkDoc->ComputeModelCentre(), NiPoint3(0.0f, 0.0f, 0.0f));
}

// The marker takes the object's place and turn in the world, whatever node the object hangs
// under, and is sized by the object's bound (half of at least 5).
TEST_F(PropertyDocumentTest, TheSelectionMarkerStandsWhereTheObjectStands)
{
    Start();
    ASSERT_NE(OpenSampleShip(), nullptr);
    CPropertyDoc* pkDoc = Active();
    NiNode* pkRoot = pkDoc->GetSceneRoot();
    // A node deep under a moved and turned group.
    NiRefPtr<NiNode> spGroup = new NiNode;
    spGroup->SetTranslate(NiPoint3(1.0f, 2.0f, 3.0f));
    NiRotationMatrix kTurn;
    kTurn.MakeZRotation(0.5f);
    spGroup->SetRotate(kTurn);
    NiRefPtr<NiNode> spDeep = new NiNode;
    spDeep->SetTranslate(NiPoint3(0.0f, 4.0f, 0.0f));
    spGroup->AddChild(spDeep);
    pkRoot->AddChild(spGroup);
    pkRoot->UpdateSubtree(0.0f);

    struct Case
    {
        NiAVObject* pkObject;
        float fFinLength;
    };
    NiAVObject* pkHull = pkRoot->FindObjectByName("Hull");
    const Case akCases[] = {{pkRoot->FindObjectByName("Port Phaser"), 2.5f},
                            {pkHull, 0.5f * pkHull->GetWorldBound().m_fRadius},
                            {spDeep, 2.5f}};
    ASSERT_GT(pkHull->GetWorldBound().m_fRadius, 5.0f);
    for (const Case& kCase : akCases)
    {
        SCOPED_TRACE(kCase.pkObject->GetName() != nullptr ? kCase.pkObject->GetName() : "deep");
        pkDoc->ShowSelectionMarker(kCase.pkObject);
        NiNode* pkMarker = pkDoc->GetMarkerNode();
        ASSERT_NE(pkMarker, nullptr);
        EXPECT_EQ(MarkedUnderRoot(pkRoot), std::vector<NiAVObject*>{pkMarker});
        ExpectPoint(pkMarker->GetWorldTranslate(), kCase.pkObject->GetWorldTranslate(), 1e-4f);
        const NiPoint3 kForward(0.0f, 1.0f, 0.0f);
        ExpectPoint(pkMarker->GetWorldRotate() * kForward, kCase.pkObject->GetWorldRotate() * kForward);

        auto* pkFins = NiDynamicCast<NiTriangles>(pkMarker->GetAt(0));
        ASSERT_NE(pkFins, nullptr);
        NiTrianglesData* pkData = pkFins->GetTrianglesData();
        ASSERT_EQ(pkData->GetActiveTriangleCount(), 6);
        ASSERT_EQ(pkData->GetVertexCount(), 18);
        ASSERT_NE(pkData->GetColors(), nullptr);
        float fLongest = 0.0f;
        for (uint16_t i = 0; i < 18; ++i)
            fLongest = std::max(fLongest, pkData->GetVertices()[i].Length());
        EXPECT_NEAR(fLongest, kCase.fFinLength, 1e-4f);
        auto* pkWireframe =
            NiDynamicCast<NiWireframeProperty>(pkMarker->FindProperty(NiProperty::WIREFRAME).Get());
        ASSERT_NE(pkWireframe, nullptr);
        EXPECT_FALSE(pkWireframe->GetWireframe());
    }
    // The marker is display geometry: the model's centre does not move for it.
    const NiPoint3 kCentre = pkDoc->ComputeModelCentre();
    pkDoc->ShowSelectionMarker(pkHull);
    ExpectPoint(pkDoc->ComputeModelCentre(), kCentre);
    pkDoc->GetNifView()->Redraw();

    pkDoc->ShowSelectionMarker(nullptr);
    EXPECT_EQ(pkDoc->GetMarkerNode(), nullptr);
    EXPECT_TRUE(MarkedUnderRoot(pkRoot).empty());
}

TEST_F(PropertyDocumentTest, ClosingTheDocumentTakesItsMarkerOutOfTheScene)
{
    Start();
    ASSERT_NE(OpenSampleShip(), nullptr);
    CPropertyDoc* pkDoc = Active();
    NiRefPtr<NiNode> spRoot = pkDoc->GetSceneRoot();
    pkDoc->ShowSelectionMarker(spRoot->FindObjectByName("Port Phaser"));
    NiRefPtr<NiNode> spMarker = pkDoc->GetMarkerNode();
    ASSERT_EQ(spMarker->GetParent(), spRoot.Get());
    Command(ID_FILE_CLOSE);
    EXPECT_EQ(Active(), nullptr);
    EXPECT_EQ(spMarker->GetParent(), nullptr);
    EXPECT_TRUE(MarkedUnderRoot(spRoot).empty());
}
} // namespace
