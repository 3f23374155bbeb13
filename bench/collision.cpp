// Collision queries through oriented-box trees beside brute force over every triangle, on
// meshes of 10,000 and 100,000 triangles: picking a ray (box tree against the plain triangle
// pick) and a small falling mesh against the large one (box trees against every triangle
// pair). A shape holds at most 65,535 triangles, so the larger mesh is a node of several grids.
#include "scene/graph/NiCollisionRecord.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiPicker.h"
#include "scene/graph/NiTriShape.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace
{
// A grid of cells x cells squares (two triangles each) in the plane z = 0, spacing 1.
NiTriShape* Grid(int iCells, float fX)
{
    const int iSide = iCells + 1;
    auto* pkVertex = new NiPoint3[iSide * iSide];
    for (int y = 0; y < iSide; ++y)
        for (int x = 0; x < iSide; ++x)
            pkVertex[y * iSide + x] = NiPoint3(static_cast<float>(x), static_cast<float>(y), 0.0f);
    auto* pusIndex = new uint16_t[6 * iCells * iCells];
    uint16_t* pusOut = pusIndex;
    for (int y = 0; y < iCells; ++y)
    {
        for (int x = 0; x < iCells; ++x)
        {
            uint16_t usCorner = static_cast<uint16_t>(y * iSide + x);
            uint16_t usUp = static_cast<uint16_t>(usCorner + iSide);
            for (uint16_t usIndex : {usCorner, static_cast<uint16_t>(usCorner + 1), usUp, usUp,
                                     static_cast<uint16_t>(usCorner + 1), static_cast<uint16_t>(usUp + 1)})
                *pusOut++ = usIndex;
        }
    }
    auto* pkShape = new NiTriShape(static_cast<uint16_t>(iSide * iSide), pkVertex, nullptr, nullptr, nullptr,
                                   static_cast<uint16_t>(2 * iCells * iCells), pusIndex);
    pkShape->SetTranslate(NiPoint3(fX, 0.0f, 0.0f));
    return pkShape;
}

// About the given number of triangles, as grids of at most 50,000 side by side.
NiRefPtr<NiNode> Mesh(int iTriangles, NiAVObject::PropagationMode eMode)
{
    NiRefPtr<NiNode> spMesh = new NiNode;
    int iGrids = (iTriangles + 49999) / 50000;
    int iCells = 1;
    while (2 * (iCells + 1) * (iCells + 1) * iGrids <= iTriangles)
        ++iCells;
    for (int i = 0; i < iGrids; ++i)
    {
        NiTriShape* pkGrid = Grid(iCells, static_cast<float>(i * (iCells + 2)));
        pkGrid->SetPropagationMode(eMode);
        spMesh->AddChild(pkGrid);
    }
    spMesh->UpdateSubtree(0.0f);
    return spMesh;
}

std::map<std::string, double>& Times()
{
    static std::map<std::string, double> s_kTimes;
    return s_kTimes;
}

void Pick(benchmark::State& kState, bool bTree)
{
    NiRefPtr<NiNode> spMesh = Mesh(static_cast<int>(kState.range(0)), NiAVObject::USE_OBBS);
    NiPicker kPicker;
    kPicker.SetTarget(spMesh);
    kPicker.SetUseBoxTrees(bTree);
    // The first pick builds the trees; only the queries are timed.
    kPicker.Pick(NiPoint3(0.37f, 20.3f, 5.0f), NiPoint3(0, 0, -1), false);
    int iRay = 0;
    for (auto _ : kState)
    {
        float fX = 0.37f + static_cast<float>(iRay++ % 50);
        kPicker.ClearResults();
        benchmark::DoNotOptimize(kPicker.Pick(NiPoint3(fX, 20.3f, 5.0f), NiPoint3(0, 0, -1), false));
    }
}

void Falling(benchmark::State& kState, NiAVObject::PropagationMode eMode)
{
    NiRefPtr<NiNode> spMesh = Mesh(static_cast<int>(kState.range(0)), eMode);
    spMesh->SetPropagationMode(eMode);
    NiRefPtr<NiTriShape> spProbe = Grid(2, 10.3f);
    spProbe->SetPropagationMode(eMode);
    spProbe->SetTranslate(NiPoint3(10.3f, 10.3f, 2.0f));
    spProbe->SetVelocity(NiPoint3(0, 0, -1));
    spProbe->UpdateSubtree(0.0f);
    NiCollisionRecord kMesh, kProbe;
    kMesh.m_pkRoot = kMesh.m_pkObject = spMesh;
    kProbe.m_pkRoot = kProbe.m_pkObject = spProbe;
    spProbe->CheckCollision(3.0f, kProbe, kMesh);
    for (auto _ : kState)
        benchmark::DoNotOptimize(spProbe->CheckCollision(3.0f, kProbe, kMesh));
}

void PickTree(benchmark::State& kState)
{
    Pick(kState, true);
}
void PickPlain(benchmark::State& kState)
{
    Pick(kState, false);
}
void FallingTree(benchmark::State& kState)
{
    Falling(kState, NiAVObject::USE_OBBS);
}
void FallingPairs(benchmark::State& kState)
{
    Falling(kState, NiAVObject::USE_TRIANGLES);
}

BENCHMARK(PickTree)->Arg(10000)->Arg(100000);
BENCHMARK(PickPlain)->Arg(10000)->Arg(100000);
BENCHMARK(FallingTree)->Arg(10000)->Arg(100000);
BENCHMARK(FallingPairs)->Arg(10000)->Arg(100000);

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& kRuns) override
    {
        for (const Run& kRun : kRuns)
            Times()[kRun.benchmark_name()] = kRun.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(kRuns);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        auto& kTimes = Times();
        for (const char* pcQuery : {"Pick", "Falling"})
        {
            std::string kFast = std::string(pcQuery) + "Tree";
            std::string kSlow = std::string(pcQuery) + (std::string(pcQuery) == "Pick" ? "Plain" : "Pairs");
            double fSmallTree = kTimes[kFast + "/10000"], fLargeTree = kTimes[kFast + "/100000"];
            double fSmallBrute = kTimes[kSlow + "/10000"], fLargeBrute = kTimes[kSlow + "/100000"];
            if (fSmallTree <= 0 || fLargeTree <= 0)
                continue;
            std::printf("%s: brute force / box tree = %.1fx at 10,000 and %.1fx at 100,000 triangles; "
                        "10x the triangles costs the tree %.2fx and brute force %.2fx\n",
                        pcQuery, fSmallBrute / fSmallTree, fLargeBrute / fLargeTree, fLargeTree / fSmallTree,
                        fLargeBrute / fSmallBrute);
        }
    }
};
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter kReporter;
    benchmark::RunSpecifiedBenchmarks(&kReporter);
    benchmark::Shutdown();
    return 0;
}
