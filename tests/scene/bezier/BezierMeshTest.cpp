#include "BezierTestSupport.h"

#include "scene/bezier/NiBezierMesh.h"
#include "scene/bezier/NiBezierRectangle3.h"
#include "scene/bezier/NiBezierTriangle2.h"
#include "scene/bezier/NiBezierTriangle3.h"
#include "scene/bezier/NiBezierTriangle4.h"
#include "scene/graph/NiPicker.h"
#include "tests/scene/graph/NifTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace BezierTest;

namespace
{
// A mesh over the points; patches are added by the test.
NiRefPtr<NiBezierMesh> Mesh(const std::vector<NiPoint3>& kPoints, bool bColors = false)
{
    NiColorA* pkColors = nullptr;
    if (bColors)
    {
        pkColors = new NiColorA[kPoints.size()];
        for (size_t i = 0; i < kPoints.size(); ++i)
            pkColors[i] = NiColorA(kPoints[i].x, 0, 0, 1);
    }
    return new NiBezierMesh(static_cast<uint16_t>(kPoints.size()), NewArray(kPoints), nullptr, pkColors,
                            false);
}

// A bicubic over a 4 x 4 block of the points: P(i, j) is point at (i, j) of the block.
uint16_t* BlockIndices(const std::function<uint16_t(int, int)>& kIndex)
{
    uint16_t* pusIndices = new uint16_t[16];
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
            pusIndices[i + 4 * j] = kIndex(i, j);
    return pusIndices;
}

// The output vertices of a patch lying on the plane y = 0 (the shared boundary of the crack
// tests: the boundary's control points have y = 0 and the patches lie on either side).
std::vector<NiPoint3> BoundaryVertices(const NiBezierPatch& kPatch)
{
    std::vector<NiPoint3> kOn;
    for (const NiPoint3& kPoint : OutputPositions(kPatch))
        if (kPoint.y == 0.0f)
            kOn.push_back(kPoint);
    return kOn;
}

// Every boundary vertex of one patch is a vertex of the other: no crack, no T-junction.
void ExpectSameBoundary(const NiBezierPatch& kA, const NiBezierPatch& kB, const char* pcWhat)
{
    const std::vector<NiPoint3> kOnA = BoundaryVertices(kA);
    const std::vector<NiPoint3> kOnB = BoundaryVertices(kB);
    EXPECT_EQ(kOnA.size(), kOnB.size()) << pcWhat;
    for (const NiPoint3& kPoint : kOnA)
    {
        const bool bFound =
            std::any_of(kOnB.begin(), kOnB.end(),
                        [&](const NiPoint3& kOther) { return (kOther - kPoint).Length() < 1e-5f; });
        EXPECT_TRUE(bFound) << pcWhat << ": (" << kPoint.x << ", " << kPoint.z << ") only on one side";
    }
}

// The height of the shared boundary and the patches' bulge: curved enough to refine.
float Height(float x, float y)
{
    return 0.6f * std::sin(1.3f * x) + 0.3f * y * y;
}
} // namespace

TEST(BezierMesh, ElevatedTrianglesShareTheirEdgePoints)
{
    std::vector<NiPoint3> kPoints;
    for (int i = 0; i < 20; ++i)
        kPoints.emplace_back(float(i % 5), float(i / 5), 0.0f);
    kPoints[10] = NiPoint3(0, 0, 0);
    kPoints[11] = NiPoint3(1, 0, 0);
    kPoints[12] = NiPoint3(2, 0, 0);
    kPoints[13] = NiPoint3(3, 0, 0);
    NiRefPtr<NiBezierMesh> spMesh = Mesh(kPoints, true);
    NiBezierPatch* pkA =
        spMesh->AddElevatedTrianglePatch(3, NewArray<uint16_t>({10, 11, 12, 13, 0, 1, 2, 3, 4, 5, 6, 7}));
    NiBezierPatch* pkB = spMesh->AddElevatedTrianglePatch(
        3, NewArray<uint16_t>({13, 12, 11, 10, 14, 15, 16, 17, 18, 19, 8, 9}));
    ASSERT_TRUE(pkA && pkB);
    EXPECT_EQ(spMesh->GetSharedEdgeCount(), 5);
    EXPECT_EQ((std::vector<uint16_t>(pkA->GetIndices() + 1, pkA->GetIndices() + 4)),
              (std::vector<uint16_t>{20, 21, 22}));
    EXPECT_EQ((std::vector<uint16_t>(pkB->GetIndices() + 1, pkB->GetIndices() + 4)),
              (std::vector<uint16_t>{22, 21, 20}));
    EXPECT_EQ(pkA->GetRenderData(), nullptr);

    spMesh->AppendEdgePoints();
    ASSERT_EQ(spMesh->GetPointCount(), 35);
    EXPECT_EQ(spMesh->GetPoints()[20], NiPoint3(0.75f, 0, 0));
    EXPECT_EQ(spMesh->GetPoints()[21], NiPoint3(1.5f, 0, 0));
    EXPECT_EQ(spMesh->GetPoints()[22], NiPoint3(2.25f, 0, 0));
    // The colours grew with the points: old ones kept, edge ones interpolated.
    EXPECT_EQ(spMesh->GetColors()[13].r, 3.0f);
    EXPECT_EQ(spMesh->GetColors()[21].r, 1.5f);
    // Every patch now reads the grown arrays and has output.
    EXPECT_EQ(pkA->GetControlPoints(), spMesh->GetPoints());
    EXPECT_EQ(pkB->GetVertexCount(), 3);
}

TEST(BezierMesh, PatchesReadOnlyPointsTheArraysHold)
{
    // 16 points; an elevated triangle over the first 12 waits for its 9 edge points.
    NiRefPtr<NiBezierMesh> spMesh = Mesh(RectanglePoints(3, 3));
    const std::vector<NiPoint3> kBefore(spMesh->GetPoints(), spMesh->GetPoints() + 16);
    NiBezierPatch* pkElevated =
        spMesh->AddElevatedTrianglePatch(3, NewArray<uint16_t>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    ASSERT_NE(pkElevated, nullptr);
    NiBezierPatch* pkPlain = spMesh->AddTrianglePatch(2, NewArray<uint16_t>({0, 1, 2, 4, 5, 8}));
    ASSERT_NE(pkPlain, nullptr);

    // Until the edge points exist, level changes, re-tessellation and the edge interpolation
    // reach the plain patch alone and leave the caller's points as they are.
    spMesh->SetLevel(2);
    spMesh->RetessellatePatches();
    spMesh->InterpolateEdgeVertices();
    EXPECT_EQ(pkElevated->GetControlPoints(), nullptr);
    EXPECT_EQ(pkElevated->GetVertexCount(), 0);
    EXPECT_EQ(pkPlain->GetVertexCount(), 15);
    EXPECT_EQ(std::vector<NiPoint3>(spMesh->GetPoints(), spMesh->GetPoints() + 16), kBefore);

    // An index outside the points refuses the patch; the list stays the caller's.
    uint16_t ausFar[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16};
    EXPECT_EQ(spMesh->AddRectanglePatch(3, ausFar), nullptr);
    EXPECT_EQ(spMesh->AddTrianglePatch(2, ausFar + 10), nullptr);
    EXPECT_EQ(spMesh->AddElevatedTrianglePatch(3, ausFar + 4), nullptr);
    EXPECT_EQ(spMesh->GetChildCount(), 2u);

    // The edge points come once, and the waiting patch is tessellated at the mesh level.
    spMesh->AppendEdgePoints();
    ASSERT_EQ(spMesh->GetPointCount(), 25);
    EXPECT_EQ(pkElevated->GetControlPoints(), spMesh->GetPoints());
    EXPECT_EQ(pkElevated->GetVertexCount(), 15);
    spMesh->AppendEdgePoints();
    EXPECT_EQ(spMesh->GetPointCount(), 25);
    // Once made, the edge points leave no place for the points of a new edge.
    uint16_t ausLater[12] = {12, 13, 14, 15, 0, 1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(spMesh->AddElevatedTrianglePatch(3, ausLater), nullptr);
}

TEST(BezierMesh, EdgePointsMustFitSixteenBitIndices)
{
    // 65,526 points leave room for the nine points of a triangle's three new edges, no more.
    for (uint32_t uiPoints : {65526u, 65527u})
    {
        NiRefPtr<NiBezierMesh> spMesh = Mesh(std::vector<NiPoint3>(uiPoints, NiPoint3::ZERO));
        uint16_t* pusIndices = NewArray<uint16_t>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
        const bool bTaken = spMesh->AddElevatedTrianglePatch(3, pusIndices) != nullptr;
        if (!bTaken)
            delete[] pusIndices;
        EXPECT_EQ(bTaken, uiPoints == 65526u);
        spMesh->AppendEdgePoints();
        EXPECT_EQ(spMesh->GetPointCount(), bTaken ? 65535u : uiPoints);
    }
}

TEST(BezierMesh, LevelIsTheLowestPatchMaximum)
{
    std::vector<NiPoint3> kPoints = RectanglePoints(3, 3);
    NiRefPtr<NiBezierMesh> spMesh = Mesh(kPoints);
    EXPECT_EQ(spMesh->GetMaxLevel(), 255);
    spMesh->AddTrianglePatch(2, NewArray<uint16_t>({0, 1, 2, 4, 5, 8}));
    EXPECT_EQ(spMesh->GetMaxLevel(), 7);
    spMesh->AddRectanglePatch(3, BlockIndices([](int i, int j) { return uint16_t(i + 4 * j); }));
    EXPECT_EQ(spMesh->GetMaxLevel(), 6);
    uint16_t ausKept[6] = {0, 1, 2, 3, 4, 5};
    EXPECT_EQ(spMesh->AddTrianglePatch(5, ausKept), nullptr);
    spMesh->SetLevel(7);
    EXPECT_EQ(spMesh->GetLevel(), 0);
    spMesh->SetLevel(6);
    EXPECT_EQ(spMesh->GetLevel(), 6);
    spMesh->ForEachPatch([](NiBezierPatch& kPatch) { EXPECT_EQ(kPatch.GetLevel(), 6); });
}

TEST(BezierMesh, LoadTessellatesEveryPatchAtTheMeshLevelAndClonesAlike)
{
    NiRefPtr<NiBezierMesh> spMesh = Mesh(RectanglePoints(3, 3, 1.0f));
    NiBezierPatch* pkRectangle =
        spMesh->AddRectanglePatch(3, BlockIndices([](int i, int j) { return uint16_t(i + 4 * j); }));
    NiBezierPatch* pkTriangle = spMesh->AddTrianglePatch(2, NewArray<uint16_t>({0, 1, 2, 4, 5, 8}));
    spMesh->SetLevel(4);
    pkTriangle->SetLevel(2); // the patch's own record says 2
    EXPECT_EQ(spMesh->GetSharedEdges(), nullptr);

    NiRefPtr<NiBezierMesh> spLoaded = NifTest::RoundTrip(spMesh.Get());
    ASSERT_TRUE(spLoaded);
    EXPECT_TRUE(spLoaded->IsEquivalent(spMesh));
    EXPECT_EQ(spLoaded->GetSharedEdges(), nullptr);
    spLoaded->InterpolateEdgeVertices(); // no table: nothing to do
    ASSERT_EQ(spLoaded->GetChildCount(), 2u);
    const NiBezierPatch* pkLoadedTriangle = static_cast<const NiBezierPatch*>(spLoaded->GetAt(1));
    EXPECT_EQ(pkLoadedTriangle->GetLevel(), 2);
    EXPECT_EQ(pkLoadedTriangle->GetVertexCount(), 153); // tessellated at the mesh's level 4
    EXPECT_EQ(static_cast<const NiBezierPatch*>(spLoaded->GetAt(0))->GetVertexCount(),
              pkRectangle->GetVertexCount());

    // A clone whose patch level differs from the mesh level: its patches get the clone's
    // arrays before anything tessellates them.
    NiRefPtr<NiBezierMesh> spClone = static_cast<NiBezierMesh*>(spLoaded->Clone());
    ASSERT_TRUE(spClone);
    EXPECT_TRUE(spClone->IsEquivalent(spLoaded));
    const NiBezierPatch* pkClonedTriangle = static_cast<const NiBezierPatch*>(spClone->GetAt(1));
    EXPECT_EQ(pkClonedTriangle->GetControlPoints(), spClone->GetPoints());
    EXPECT_EQ(pkClonedTriangle->GetVertexCount(), 153);
}

TEST(BezierMesh, LoadRefusesEdgeTablesAndIndicesOutsideThePoints)
{
    // A mesh with one shared edge over 14 points, and a rectangle child.
    std::vector<NiPoint3> kPoints = RectanglePoints(3, 3);
    NiRefPtr<NiBezierMesh> spMesh = Mesh(kPoints);
    spMesh->AddRectanglePatch(3, BlockIndices([](int i, int j) { return uint16_t(i + 4 * j); }));
    spMesh->AddElevatedTrianglePatch(3, NewArray<uint16_t>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    spMesh->AppendEdgePoints();
    std::vector<char> kGood = NifTest::Save({spMesh});
    ASSERT_EQ(NifTest::Load(kGood).size(), 1u);

    // The edge count 3 sits right before the table; 3E > P (E = 7 against 25 points) fails,
    // and so does an edge naming point 999.
    const uint16_t ausTable[4] = {0, 1, 2, 3};
    const char* pcTable = reinterpret_cast<const char*>(ausTable);
    const auto kAt = std::search(kGood.begin(), kGood.end(), pcTable, pcTable + 8);
    ASSERT_NE(kAt, kGood.end());
    std::vector<char> kTooMany = kGood;
    kTooMany[size_t(kAt - kGood.begin()) - 2] = 9;
    EXPECT_TRUE(NifTest::Load(kTooMany).empty());
    std::vector<char> kOutside = kGood;
    const uint16_t usFar = 999;
    std::memcpy(&kOutside[size_t(kAt - kGood.begin())], &usFar, 2);
    EXPECT_TRUE(NifTest::Load(kOutside).empty());

    // A patch index past the points leaves that patch without control points (and output).
    std::vector<char> kBadPatch = kGood;
    const auto kPatchAt =
        std::search(kBadPatch.begin() + (kAt - kGood.begin()) + 8, kBadPatch.end(), pcTable, pcTable + 8);
    ASSERT_NE(kPatchAt, kBadPatch.end());
    std::memcpy(&*kPatchAt, &usFar, 2);
    const auto kTop = NifTest::Load(kBadPatch);
    ASSERT_EQ(kTop.size(), 1u);
    const NiBezierMesh* pkLoaded = NiDynamicCast<NiBezierMesh>(kTop[0].Get());
    const NiBezierPatch* pkPatch = static_cast<const NiBezierPatch*>(pkLoaded->GetAt(0));
    EXPECT_EQ(pkPatch->GetControlPoints(), nullptr);
    EXPECT_EQ(pkPatch->GetRenderData(), nullptr);
}

TEST(BezierMesh, MeshSavedBeforeItsEdgePointsLoadsWaitingForThem)
{
    // 16 points of the caller's, the last 9 of them included, and a patch waiting for 9 edge
    // points next to a plain one.
    NiRefPtr<NiBezierMesh> spMesh = Mesh(RectanglePoints(3, 3));
    ASSERT_TRUE(
        spMesh->AddElevatedTrianglePatch(3, NewArray<uint16_t>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11})));
    ASSERT_TRUE(spMesh->AddTrianglePatch(2, NewArray<uint16_t>({0, 1, 2, 4, 5, 8})));
    NiRefPtr<NiBezierMesh> spLoaded = NifTest::RoundTrip(spMesh.Get());
    ASSERT_TRUE(spLoaded);
    ASSERT_EQ(spLoaded->GetChildCount(), 2u);
    const NiBezierPatch* pkElevated = static_cast<const NiBezierPatch*>(spLoaded->GetAt(0));
    EXPECT_EQ(static_cast<const NiBezierPatch*>(spLoaded->GetAt(1))->GetVertexCount(), 3);

    spLoaded->InterpolateEdgeVertices();
    EXPECT_EQ(std::vector<NiPoint3>(spLoaded->GetPoints(), spLoaded->GetPoints() + 16),
              std::vector<NiPoint3>(spMesh->GetPoints(), spMesh->GetPoints() + 16));
    EXPECT_EQ(pkElevated->GetControlPoints(), nullptr);

    // The loaded mesh makes its edge points as the saved one does.
    spMesh->AppendEdgePoints();
    spLoaded->AppendEdgePoints();
    ASSERT_EQ(spLoaded->GetPointCount(), 25);
    EXPECT_TRUE(spLoaded->IsEquivalent(spMesh));
    EXPECT_EQ(pkElevated->GetControlPoints(), spLoaded->GetPoints());
    EXPECT_EQ(pkElevated->GetVertexCount(), 3);

    // Saved with them, the edge points load as made: no second set is appended.
    NiRefPtr<NiBezierMesh> spComplete = NifTest::RoundTrip(spLoaded.Get());
    ASSERT_TRUE(spComplete);
    spComplete->AppendEdgePoints();
    EXPECT_EQ(spComplete->GetPointCount(), 25);
}

TEST(BezierMesh, PatchesWithArraysOfTheirOwnKeepThem)
{
    NiRefPtr<NiBezierMesh> spMesh = Mesh(RectanglePoints(2, 1));
    NiBezierTriangle2* pkOwn = new NiBezierTriangle2(NewArray(TrianglePoints(2, 5)), nullptr, nullptr, false);
    pkOwn->SetLevel(1);
    spMesh->AddChild(pkOwn);
    NiRefPtr<NiBezierMesh> spLoaded = NifTest::RoundTrip(spMesh.Get());
    ASSERT_TRUE(spLoaded);
    const NiBezierPatch* pkLoaded = static_cast<const NiBezierPatch*>(spLoaded->GetAt(0));
    EXPECT_NE(pkLoaded->GetControlPoints(), spLoaded->GetPoints());
    EXPECT_EQ(pkLoaded->GetControlPoints()[2], NiPoint3(5, 0, 0));
}

TEST(BezierMesh, PickAsksEveryPatch)
{
    NiRefPtr<NiBezierMesh> spMesh = Mesh(RectanglePoints(3, 3));
    spMesh->AddRectanglePatch(3, BlockIndices([](int i, int j) { return uint16_t(i + 4 * j); }));
    spMesh->AddTrianglePatch(2, NewArray<uint16_t>({0, 1, 2, 4, 5, 8}));
    spMesh->SetLevel(1);
    spMesh->UpdateSubtree(0.0f);
    NiPicker kPicker;
    kPicker.SetFrontFacesOnly(false);
    EXPECT_TRUE(spMesh->FindPickHits(NiPoint3(0.3f, 0.6f, 5), NiPoint3(0, 0, -1), kPicker));
    EXPECT_EQ(kPicker.GetCount(), 2u); // the triangle lies over the rectangle's corner
    kPicker.ClearResults();
    kPicker.SetSkipAppCulled(true);
    spMesh->SetAppCulled(true);
    EXPECT_FALSE(spMesh->FindPickHits(NiPoint3(0.3f, 0.6f, 5), NiPoint3(0, 0, -1), kPicker));
}

// The strongest test of adaptive tessellation: patches of a mesh meeting along a curved edge,
// seen by a moving camera so that screen sizes differ along the edge, produce the same
// vertices on the edge from both sides, pass after pass, whichever way the edges run.
TEST(BezierMesh, AdaptiveTessellationLeavesNoCrackOnSharedEdges)
{
    struct Layout
    {
        const char* m_pcName;
        bool m_bFirstTriangle;
        bool m_bSecondTriangle;
        bool m_bReversed;
    };
    const Layout akLayouts[] = {
        {"rectangle-rectangle", false, false, false}, {"rectangle-rectangle reversed", false, false, true},
        {"triangle-triangle", true, true, false},     {"triangle-triangle reversed", true, true, true},
        {"triangle-rectangle", true, false, false},   {"rectangle-triangle reversed", false, true, true}};
    for (const Layout& kLayout : akLayouts)
    {
        // A 4 x 7 grid of points: rows 0..3 at y = 0..3 (first patch), rows 4..6 at
        // y = -1..-3 (second patch), row 0 shared.
        std::vector<NiPoint3> kPoints;
        for (int j = 0; j < 7; ++j)
            for (int i = 0; i < 4; ++i)
            {
                const float x = 2.0f * i, y = j < 4 ? float(j) : float(3 - j);
                kPoints.emplace_back(x, y, Height(x, y));
            }
        auto Grid = [](int i, int j) { return uint16_t(i + 4 * j); };
        // Second patch rows: 0 is shared, then 4, 5, 6 going away from it.
        auto Below = [](int j) { return j == 0 ? 0 : 3 + j; };
        NiRefPtr<NiBezierMesh> spMesh = Mesh(kPoints);
        // First patch: u along x, v along +y; its edge 0 is the shared one.
        if (kLayout.m_bFirstTriangle)
            spMesh->AddTrianglePatch(
                3, NewArray<uint16_t>({Grid(0, 0), Grid(1, 0), Grid(2, 0), Grid(3, 0), Grid(0, 1), Grid(1, 1),
                                       Grid(2, 1), Grid(0, 2), Grid(1, 2), Grid(0, 3)}));
        else
            spMesh->AddRectanglePatch(3, BlockIndices(Grid));
        // Second patch: its edge 0 (v = 0) is the shared row, run forwards or backwards; v goes
        // towards -y, so u must run backwards to keep the surface's orientation.
        auto Column = [&](int i) { return kLayout.m_bReversed ? 3 - i : i; };
        if (kLayout.m_bSecondTriangle)
        {
            std::vector<uint16_t> kIndices;
            for (int j = 0; j <= 3; ++j)
                for (int i = 0; i <= 3 - j; ++i)
                    kIndices.push_back(Grid(kLayout.m_bReversed ? 3 - i : i, Below(j)));
            spMesh->AddTrianglePatch(3, NewArray(kIndices));
        }
        else
        {
            spMesh->AddRectanglePatch(3,
                                      BlockIndices([&](int i, int j) { return Grid(Column(i), Below(j)); }));
        }
        spMesh->FindPatchNeighbors();
        NiBezierPatch* pkFirst = static_cast<NiBezierPatch*>(spMesh->GetAt(0));
        NiBezierPatch* pkSecond = static_cast<NiBezierPatch*>(spMesh->GetAt(1));

        spMesh->UpdateSubtree(0.0f);
        spMesh->SetAdaptive(true);
        spMesh->SetScreenTolerance(2.0f);
        spMesh->SetFlatnessTolerance(0.001f);
        uint32_t uiMostBoundary = 0;
        for (int iStep = 0; iStep < 4; ++iStep)
        {
            // The eye moves along the edge, close to one end.
            TestView kView(NiPoint3(-2.0f + 3.0f * iStep, -0.5f, 2.5f), NiPoint3(3.0f, 0.0f, 0.0f));
            spMesh->SetCamera(kView.m_spCamera);
            for (int iPass = 0; iPass < 2; ++iPass)
            {
                spMesh->RetessellatePatches();
                ExpectSameBoundary(*pkFirst, *pkSecond, kLayout.m_pcName);
                uiMostBoundary =
                    std::max<uint32_t>(uiMostBoundary, uint32_t(BoundaryVertices(*pkFirst).size()));
            }
            spMesh->SetCamera(nullptr);
        }
        // The view refined the edge beyond its two corners somewhere.
        EXPECT_GT(uiMostBoundary, 5u) << kLayout.m_pcName;
    }
}

TEST(BezierMesh, PatchOutputMadeWhileLoadingCountsAgainstTheLoadsMemoryBound)
{
    // A patch record of about a hundred bytes tessellates at the mesh's level into some 300 KB:
    // a few load, a file of them does not.
    auto SaveMesh = [](uint32_t uiPatches)
    {
        NiRefPtr<NiBezierMesh> spMesh = Mesh(RectanglePoints(2, 2.0f));
        spMesh->AddTrianglePatch(2, NewArray<uint16_t>({0, 1, 2, 3, 4, 6}));
        spMesh->SetLevel(spMesh->GetMaxLevel());
        // Saved at that level; the further patches are tessellated only when loaded.
        for (uint32_t i = 1; i < uiPatches; ++i)
            spMesh->AddTrianglePatch(2, NewArray<uint16_t>({0, 1, 2, 3, 4, 6}));
        return NifTest::Save({spMesh});
    };
    const std::vector<NiRefPtr<NiObject>> kFew = NifTest::Load(SaveMesh(20));
    ASSERT_EQ(kFew.size(), 1u);
    EXPECT_GT(static_cast<const NiBezierPatch*>(static_cast<NiBezierMesh*>(kFew[0].Get())->GetAt(19))
                  ->GetVertexCount(),
              8000);

    const std::vector<char> kMany = SaveMesh(300);
    NiStream kStream;
    EXPECT_FALSE(kStream.LoadBuffer(kMany.data(), kMany.size()));
    EXPECT_EQ(NiStream::GetLastErrorCode(), NiStream::ERR_TOO_LARGE);
}
