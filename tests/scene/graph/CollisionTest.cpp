// Collision detection: moving triangle pairs worked by hand, the oriented-box tree's shape and
// its queries, the scene-graph collision operations in each propagation mode with the reports
// the callbacks receive, and picking through the box tree against the plain triangle pick.

#include "GeometryTestHelpers.h"

#include "scene/graph/NiBoundingVolume.h"
#include "scene/graph/NiCollisionRecord.h"
#include "scene/graph/NiFltAnimationNode.h"
#include "scene/graph/NiLODNode.h"
#include "scene/graph/NiMovingTriangles.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiOBBLeaf.h"
#include "scene/graph/NiOBBRoot.h"
#include "scene/graph/NiPicker.h"
#include "scene/graph/NiTriShape.h"
#include "scene/object/NiStream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace geometry_test;

namespace
{
// A square grid of n x n cells in the plane z = 0 (two triangles a cell, facing +z), spacing 1.
NiTriShape* Grid(int iCells, const NiPoint3& kAt)
{
    const int iSide = iCells + 1;
    std::vector<NiPoint3> kVertices;
    for (int y = 0; y < iSide; ++y)
        for (int x = 0; x < iSide; ++x)
            kVertices.emplace_back(static_cast<float>(x), static_cast<float>(y), 0.0f);
    std::vector<uint16_t> kIndices;
    for (int y = 0; y < iCells; ++y)
    {
        for (int x = 0; x < iCells; ++x)
        {
            uint16_t usCorner = static_cast<uint16_t>(y * iSide + x);
            uint16_t usRight = static_cast<uint16_t>(usCorner + 1);
            uint16_t usUp = static_cast<uint16_t>(usCorner + iSide);
            kIndices.insert(kIndices.end(),
                            {usCorner, usRight, usUp, usUp, usRight, static_cast<uint16_t>(usUp + 1)});
        }
    }
    auto* pkVertex = new NiPoint3[kVertices.size()];
    std::copy(kVertices.begin(), kVertices.end(), pkVertex);
    auto* pusIndex = new uint16_t[kIndices.size()];
    std::copy(kIndices.begin(), kIndices.end(), pusIndex);
    auto* pkShape = new NiTriShape(static_cast<uint16_t>(kVertices.size()), pkVertex, nullptr, nullptr,
                                   nullptr, static_cast<uint16_t>(kIndices.size() / 3), pusIndex);
    pkShape->SetTranslate(kAt);
    return pkShape;
}

struct Heard
{
    int m_iCalls = 0;
    NiCollisionReport m_kFirst;
    std::vector<NiCollisionReport> m_kAll;
    int32_t m_iAnswer = 0;
};
Heard g_kHeard;

int32_t Listen(NiCollisionReport* pkReport)
{
    if (g_kHeard.m_iCalls++ == 0)
        g_kHeard.m_kFirst = *pkReport;
    g_kHeard.m_kAll.push_back(*pkReport);
    return g_kHeard.m_iAnswer;
}

NiCollisionRecord Record(NiAVObject* pkObject, int32_t iDepth = -1)
{
    NiCollisionRecord kRecord;
    kRecord.m_pkRoot = pkObject;
    kRecord.m_pkObject = pkObject;
    kRecord.m_iMaxDepth = iDepth;
    return kRecord;
}
} // namespace

TEST(MovingTriangles, HandWorkedContacts)
{
    const NiPoint3 kStill = NiPoint3::ZERO;
    const NiPoint3 kA0(0, 0, 0), kA1(1, 0, 0), kA2(0, 1, 0);
    {
        // At rest and overlapping: contact at once, at A's centroid (the areas are equal).
        NiMovingTriangles kPair(kA0, kA1, kA2, kStill, kA0, kA1, kA2, kStill);
        EXPECT_TRUE(NiMovingTriangles(kA0, kA1, kA2, kStill, kA0, kA1, kA2, kStill).Test(1.0f));
        float fTime = -1.0f;
        NiPoint3 kPoint, kNormalA, kNormalB;
        ASSERT_TRUE(kPair.Find(1.0f, fTime, kPoint, true, kNormalA, kNormalB));
        EXPECT_EQ(0.0f, fTime);
        ExpectPoint(NiPoint3(1.0f / 3.0f, 1.0f / 3.0f, 0.0f), kPoint);
        ExpectPoint(NiPoint3::UNIT_Z, kNormalA);
    }
    {
        // Parallel planes that meet exactly at the end of the span: the boundary counts.
        const NiPoint3 kB0(0, 0, 2), kB1(1, 0, 2), kB2(0, 1, 2), kDown(0, 0, -2);
        EXPECT_TRUE(NiMovingTriangles(kA0, kA1, kA2, kStill, kB0, kB1, kB2, kDown).Test(1.0f));
        const NiPoint3 kC0(5, 0, 2), kC1(6, 0, 2), kC2(5, 1, 2);
        EXPECT_FALSE(NiMovingTriangles(kA0, kA1, kA2, kStill, kC0, kC1, kC2, kDown).Test(1.0f))
            << "the planes meet but the triangles lie apart in them";
        float fTime = 0.0f;
        NiPoint3 kPoint, kN0, kN1;
        ASSERT_TRUE(NiMovingTriangles(kA0, kA1, kA2, kStill, kB0, kB1, kB2, kDown)
                        .Find(1.0f, fTime, kPoint, false, kN0, kN1));
        EXPECT_FLOAT_EQ(1.0f, fTime);
    }
    {
        // A corner falling onto a large face: the corner at the contact time.
        const NiPoint3 kF0(-5, -5, 0), kF1(5, -5, 0), kF2(0, 5, 0);
        const NiPoint3 kB0(0, 0, 1), kB1(1, 0, 2), kB2(0, 1, 2), kDown(0, 0, -1);
        float fTime = 0.0f;
        NiPoint3 kPoint, kN0, kN1;
        ASSERT_TRUE(NiMovingTriangles(kF0, kF1, kF2, kStill, kB0, kB1, kB2, kDown)
                        .Find(2.0f, fTime, kPoint, false, kN0, kN1));
        EXPECT_FLOAT_EQ(1.0f, fTime);
        ExpectPoint(NiPoint3(0, 0, 0), kPoint);
        EXPECT_FALSE(NiMovingTriangles(kF0, kF1, kF2, kStill, kB0, kB1, kB2, kDown).Test(0.5f))
            << "too short a span";
    }
    {
        // Coplanar triangles sliding together: the in-plane axes give the contact time.
        const NiPoint3 kB0(3, 0, 0), kB1(4, 0, 0), kB2(3, 1, 0), kLeft(-1, 0, 0);
        float fTime = 0.0f;
        NiPoint3 kPoint, kN0, kN1;
        NiMovingTriangles kPair(kA0, kA1, kA2, kStill, kB0, kB1, kB2, kLeft);
        ASSERT_TRUE(kPair.Find(5.0f, fTime, kPoint, false, kN0, kN1));
        EXPECT_NEAR(2.0f, fTime, 1e-5f);
    }
}

TEST(OBBTree, ShapeFollowsTheTrianglesAndTheBoxTriangleCount)
{
    NiRefPtr<NiTriShape> spTwo = Grid(1, NiPoint3::ZERO);
    spTwo->UpdateSubtree(0.0f);
    spTwo->BuildCollisionData(1);
    NiOBBRoot* pkRoot = spTwo->GetCollisionRoot();
    ASSERT_NE(nullptr, pkRoot);
    ASSERT_FALSE(pkRoot->GetTree()->IsLeaf());
    EXPECT_TRUE(pkRoot->GetTree()->GetLeft()->IsLeaf());
    EXPECT_TRUE(pkRoot->GetTree()->GetRight()->IsLeaf());
    // A tree that exists is not rebuilt, whatever the count.
    spTwo->BuildCollisionData(5);
    EXPECT_EQ(pkRoot, spTwo->GetCollisionRoot());

    NiRefPtr<NiTriShape> spFour = Grid(2, NiPoint3::ZERO);
    spFour->UpdateSubtree(0.0f);
    spFour->BuildCollisionData(8);
    EXPECT_FALSE(spFour->GetCollisionRoot()->GetTree()->HasChildren()) << "8 triangles fit one box";

    // The transform counter moves once per change.
    pkRoot->UpdateTransform(NiRotationMatrix::IDENTITY, NiPoint3(1, 0, 0), 1.0f);
    pkRoot->UpdateTransform(NiRotationMatrix::IDENTITY, NiPoint3(1, 0, 0), 1.0f);
    EXPECT_EQ(1u, pkRoot->m_uiRevision);
}

TEST(Collision, GroupNodesOnBoundsReportToBothRoots)
{
    NiRefPtr<NiNode> spLeft = new NiNode;
    NiRefPtr<NiNode> spRight = new NiNode;
    spLeft->AddChild(Grid(1, NiPoint3(0, 0, 0)));
    spRight->AddChild(Grid(1, NiPoint3(0, 0, 3)));
    for (NiNode* pkNode : {spLeft.Get(), spRight.Get()})
        pkNode->SetPropagationMode(NiAVObject::NONE);
    spRight->SetVelocity(NiPoint3(0, 0, -2));
    spLeft->UpdateSubtree(0.0f);
    spRight->UpdateSubtree(0.0f);

    g_kHeard = Heard();
    spRight->SetCollisionCallback(Listen);
    NiCollisionRecord kLeft = Record(spLeft), kRight = Record(spRight);
    EXPECT_TRUE(spLeft->CheckCollision(2.0f, kLeft, kRight));
    EXPECT_FALSE(spLeft->CheckCollision(0.1f, kLeft, kRight)) << "the spheres stay apart for a short span";
    g_kHeard.m_iAnswer = 1;
    EXPECT_EQ(1, spLeft->CollectCollisions(2.0f, kLeft, kRight));
    ASSERT_EQ(1, g_kHeard.m_iCalls) << "only the right root has a callback";
    EXPECT_EQ(spRight.Get(), g_kHeard.m_kFirst.m_pkRoot0) << "a callback sees its own root first";
    EXPECT_EQ(spLeft.Get(), g_kHeard.m_kFirst.m_pkObject0) << "the objects keep their order";
    EXPECT_GT(g_kHeard.m_kFirst.m_fTime, 0.0f);
}

TEST(Collision, SwitchAndLevelOfDetailNodesOfferTheChildTheyShow)
{
    // Two children that both touch a still, bound-only node: which of them are reported follows
    // the node's kind, its update-only-active switch, its index and (LOD) its range slots.
    enum Kind
    {
        SWITCH,
        TIME_SWITCH,
        LOD
    };
    struct Case
    {
        Kind m_eKind;
        bool m_bOnlyActive;
        int32_t m_iIndex;
        uint32_t m_uiRanges;
        std::vector<int> m_kMet;
    };
    const Case akCases[] = {
        {SWITCH, true, 0, 0, {0}},      {SWITCH, true, 1, 0, {1}},
        {SWITCH, true, -1, 0, {}},      {SWITCH, true, 2, 0, {}},
        {SWITCH, false, 1, 0, {0, 1}}, // every child is current: the group node's rule
        {TIME_SWITCH, true, 1, 0, {1}}, {TIME_SWITCH, false, 1, 0, {0, 1}},
        {LOD, true, 1, 2, {1}},         {LOD, true, -1, 2, {}},
        {LOD, false, -1, 2, {0, 1}},    {LOD, false, -1, 1, {0}}, // a child without a range is never offered
    };
    for (const Case& kCase : akCases)
    {
        NiRefPtr<NiSwitchNode> spSwitch;
        if (kCase.m_eKind == SWITCH)
            spSwitch = new NiSwitchNode;
        else if (kCase.m_eKind == TIME_SWITCH)
            spSwitch = new NiFltAnimationNode;
        else
            spSwitch = new NiLODNode;
        NiTriShape* apkChild[2] = {Grid(1, NiPoint3(0, 0, 0)), Grid(1, NiPoint3(0.5f, 0, 0))};
        for (NiTriShape* pkChild : apkChild)
        {
            pkChild->SetPropagationMode(NiAVObject::NONE);
            spSwitch->AddChild(pkChild);
        }
        for (uint32_t i = 0; i < kCase.m_uiRanges; ++i)
            static_cast<NiLODNode*>(spSwitch.Get())->SetRange(i, 0.0f, 1000.0f);
        spSwitch->UpdateSubtree(0.0f);
        spSwitch->SetUpdateOnlyActive(kCase.m_bOnlyActive);
        spSwitch->SetIndex(kCase.m_iIndex);

        NiRefPtr<NiNode> spOther = new NiNode;
        spOther->AddChild(Grid(1, NiPoint3(0.25f, 0.25f, 0)));
        spOther->SetPropagationMode(NiAVObject::NONE);
        spOther->UpdateSubtree(0.0f);

        g_kHeard = Heard();
        spSwitch->SetCollisionCallback(Listen);
        const NiCollisionRecord kSwitch = Record(spSwitch), kOther = Record(spOther);
        const std::string kWhat = "kind " + std::to_string(kCase.m_eKind) + " only active " +
                                  std::to_string(kCase.m_bOnlyActive) + " index " +
                                  std::to_string(kCase.m_iIndex);
        EXPECT_EQ(!kCase.m_kMet.empty(), spSwitch->CheckCollision(1.0f, kSwitch, kOther)) << kWhat;
        EXPECT_EQ(0, spSwitch->CollectCollisions(1.0f, kSwitch, kOther)) << kWhat;
        std::vector<int> kMet;
        for (const NiCollisionReport& kReport : g_kHeard.m_kAll)
        {
            for (int c = 0; c < 2; ++c)
            {
                if (kReport.m_pkObject0 == apkChild[c] || kReport.m_pkObject1 == apkChild[c])
                    kMet.push_back(c);
            }
            EXPECT_EQ(spSwitch.Get(), kReport.m_pkRoot0) << kWhat;
        }
        EXPECT_EQ(kCase.m_kMet, kMet) << kWhat;
    }
}

TEST(Collision, MeshesMeetThroughTheirTreesAndTriangles)
{
    // Two grids in parallel planes 2 apart, the upper falling at 1 per unit of time.
    NiRefPtr<NiTriShape> spLower = Grid(4, NiPoint3(0, 0, 0));
    NiRefPtr<NiTriShape> spUpper = Grid(4, NiPoint3(0.5f, 0.5f, 2));
    spUpper->SetVelocity(NiPoint3(0, 0, -1));
    spLower->UpdateSubtree(0.0f);
    spUpper->UpdateSubtree(0.0f);
    NiCollisionRecord kLower = Record(spLower), kUpper = Record(spUpper);

    struct Case
    {
        NiAVObject::PropagationMode eMode;
        float fSpan;
        bool bMeet;
    };
    for (const Case& kCase :
         {Case{NiAVObject::USE_OBBS, 3.0f, true}, Case{NiAVObject::USE_OBBS, 1.0f, false},
          Case{NiAVObject::USE_TRIANGLES, 3.0f, true}, Case{NiAVObject::USE_TRIANGLES, 1.0f, false}})
    {
        spLower->SetPropagationMode(kCase.eMode);
        spUpper->SetPropagationMode(kCase.eMode);
        EXPECT_EQ(kCase.bMeet, spLower->CheckCollision(kCase.fSpan, kLower, kUpper))
            << "mode " << kCase.eMode << " span " << kCase.fSpan;
    }

    // Down to triangle pairs: the first report is a contact at time 2 in the lower plane.
    for (NiAVObject::PropagationMode eMode : {NiAVObject::USE_OBBS, NiAVObject::USE_TRIANGLES})
    {
        spLower->SetPropagationMode(eMode);
        spUpper->SetPropagationMode(eMode);
        g_kHeard = Heard();
        g_kHeard.m_iAnswer = 1;
        spLower->SetCollisionCallback(Listen);
        EXPECT_EQ(1, spLower->CollectCollisions(3.0f, kLower, kUpper));
        ASSERT_EQ(1, g_kHeard.m_iCalls) << "the callback's 1 stops the search";
        EXPECT_NEAR(2.0f, g_kHeard.m_kFirst.m_fTime, 1e-4f);
        EXPECT_NEAR(0.0f, g_kHeard.m_kFirst.m_kPoint.z, 1e-4f);
        EXPECT_NEAR(1.0f, std::fabs(g_kHeard.m_kFirst.m_kNormal0.z), 1e-4f);
    }

    // At rest with a depth budget of 0: one box-level contact between the root boxes.
    spUpper->SetVelocity(NiPoint3::ZERO);
    NiRefPtr<NiTriShape> spTouching = Grid(4, NiPoint3(1, 1, 0));
    spTouching->SetPropagationMode(NiAVObject::USE_OBBS);
    spLower->SetPropagationMode(NiAVObject::USE_OBBS);
    spTouching->UpdateSubtree(0.0f);
    g_kHeard = Heard();
    NiCollisionRecord kShallow = Record(spLower, 0);
    NiCollisionRecord kTouching = Record(spTouching, 0);
    EXPECT_EQ(0, spLower->CollectCollisions(1.0f, kShallow, kTouching));
    ASSERT_EQ(1, g_kHeard.m_iCalls);
    EXPECT_EQ(0.0f, g_kHeard.m_kFirst.m_fTime);
    ExpectPoint(NiPoint3(2.5f, 2.5f, 0.0f), g_kHeard.m_kFirst.m_kPoint, 1e-3f);
}

TEST(Collision, PickingThroughTheTreeMatchesThePlainPick)
{
    NiRefPtr<NiNode> spRoot = new NiNode;
    NiTriShape* pkGrid = Grid(6, NiPoint3(-3, -3, 0));
    pkGrid->SetRotate(NiRotationMatrix(1, 0, 0, 0, 0, -1, 0, 1, 0));
    spRoot->AddChild(pkGrid);
    spRoot->UpdateSubtree(0.0f);
    struct Ray
    {
        NiPoint3 m_kOrigin;
        NiPoint3 m_kDirection;
    };
    const Ray akRays[] = {{NiPoint3(0.3f, -10, 0.2f), NiPoint3(0, 1, 0)},
                          {NiPoint3(-2.6f, -10, 2.9f), NiPoint3(0, 1, 0)},
                          {NiPoint3(0, -10, 0), NiPoint3(0.1f, 1, 0.05f)},
                          {NiPoint3(9, -10, 0), NiPoint3(0, 1, 0)}};
    int iHits = 0;
    for (const Ray& kRay : akRays)
    {
        NiPicker kPlain, kTree;
        for (NiPicker* pkPicker : {&kPlain, &kTree})
        {
            pkPicker->SetTarget(spRoot);
            pkPicker->SetCoordinateSpace(NiPicker::WORLD_COORDINATES);
            pkPicker->SetWantNormal(true);
        }
        kTree.SetUseBoxTrees(true);
        bool bPlain = kPlain.Pick(kRay.m_kOrigin, kRay.m_kDirection, false);
        bool bTree = kTree.Pick(kRay.m_kOrigin, kRay.m_kDirection, false);
        ASSERT_EQ(bPlain, bTree);
        iHits += bTree ? 1 : 0;
        ASSERT_EQ(kPlain.GetCount(), kTree.GetCount());
        for (uint32_t i = 0; bPlain && i < kPlain.GetSize(); ++i)
        {
            const NiPicker::Record* pkPlain = kPlain.GetAt(i);
            const NiPicker::Record* pkTree = kTree.GetAt(i);
            ASSERT_TRUE(pkPlain && pkTree);
            EXPECT_NEAR(pkPlain->m_fDistance, pkTree->m_fDistance, 1e-4f);
            ExpectPoint(pkPlain->m_kPoint, pkTree->m_kPoint, 1e-4f);
            EXPECT_EQ(pkPlain->m_usTriangle, pkTree->m_usTriangle);
        }
    }
    EXPECT_EQ(3, iHits) << "every ray but the last meets the grid";
}

namespace
{
// A volume kind of the test's own: a sphere (kind 3) that reads and writes its radius.
class TestVolume : public NiBoundingVolume
{
public:
    explicit TestVolume(float fRadius) : m_fRadius(fRadius) {}
    void SaveBinary(NiStream& kStream) override
    {
        NiBoundingVolume::SaveBinary(kStream);
        kStream.Save(m_fRadius);
    }
    uint32_t GetType() const override { return 3; }
    void UpdateWorldData(const NiBoundingVolume& kModel, const NiRotationMatrix&, const NiPoint3&,
                         float fScale) override
    {
        m_fRadius = static_cast<const TestVolume&>(kModel).m_fRadius * fScale;
    }
    NiBoundingVolume* Clone() const override { return new TestVolume(m_fRadius); }
    bool Differs(const NiBoundingVolume& kOther) const override
    {
        return static_cast<const TestVolume&>(kOther).m_fRadius != m_fRadius;
    }
    static NiBoundingVolume* Create(NiStream& kStream)
    {
        float fRadius = 0.0f;
        kStream.Load(fRadius);
        return new TestVolume(fRadius);
    }

    float m_fRadius;
};
} // namespace

TEST(Collision, AVolumeTravelsThroughAFileWhenItsKindHasACreator)
{
    NiRefPtr<NiNode> spNode = new NiNode;
    spNode->SetBoundingVolume(new TestVolume(2.5f));
    NiStream kOut;
    kOut.AddTopObject(spNode);
    std::vector<char> kBytes;
    ASSERT_TRUE(kOut.SaveBuffer(kBytes));

    NiStream kWithout;
    EXPECT_FALSE(kWithout.LoadBuffer(kBytes.data(), static_cast<uint32_t>(kBytes.size())))
        << "without a creator the volume's size is unknown";

    NiBoundingVolume::GetHooks().m_apfnCreate[3] = TestVolume::Create;
    NiStream kWith;
    ASSERT_TRUE(kWith.LoadBuffer(kBytes.data(), static_cast<uint32_t>(kBytes.size())));
    NiBoundingVolume::GetHooks().m_apfnCreate[3] = nullptr;
    auto* pkLoaded = NiDynamicCast<NiNode>(kWith.GetTopObjectAt(0));
    ASSERT_NE(nullptr, pkLoaded);
    ASSERT_NE(nullptr, pkLoaded->GetBoundingVolume());
    EXPECT_EQ(2.5f, static_cast<TestVolume*>(pkLoaded->GetBoundingVolume())->m_fRadius);
    EXPECT_TRUE(pkLoaded->IsEquivalent(spNode));
}
