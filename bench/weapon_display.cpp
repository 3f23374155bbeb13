// The redraw of a selected phaser: every frame the 3D view shows it again, which rewrites its
// three line sets in place (199 vertices) and updates its display node. The bound is computing
// the same vertices into plain arrays; "allocs" counts heap allocations per redraw, which must
// stay 0.
#include "properties/FiringArcGeometry.h"
#include "properties/PhaserProperty.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiLines.h"
#include "scene/graph/NiNode.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace
{
std::atomic<int64_t> g_iAllocations{0};
} // namespace

// The global allocation functions count the program's allocations; g++ takes the free in the
// matching delete for a mismatch with the new it sees inlined elsewhere.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t uiSize)
{
    g_iAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* pvBlock = std::malloc(uiSize ? uiSize : 1))
        return pvBlock;
    throw std::bad_alloc();
}

void operator delete(void* pvBlock) noexcept
{
    std::free(pvBlock);
}

void operator delete(void* pvBlock, std::size_t) noexcept
{
    std::free(pvBlock);
}

namespace
{
void PhaserRedraw(benchmark::State& kState)
{
    NiRefPtr<NiNode> spRoot = new NiNode;
    auto* pkVertices = new NiPoint3[2]{NiPoint3(-30.0f, 0.0f, 0.0f), NiPoint3(30.0f, 0.0f, 0.0f)};
    spRoot->AddChild(new NiLines(2, pkVertices, new NiColorA[2], nullptr, nullptr));
    NiRefPtr<NiNode> spHardpoint = new NiNode;
    spRoot->AddChild(spHardpoint);
    spRoot->UpdateSubtree(0.0f);
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    spCamera->SetScene(spRoot);
    PhaserProperty kPhaser;
    kPhaser.ShowInView(true, spCamera, spHardpoint);

    const int64_t iBefore = g_iAllocations.load();
    float fX = 0.0f;
    for (auto _ : kState)
    {
        kPhaser.SetPosition(fX, 1.0f, 2.0f);
        fX += 0.001f;
        kPhaser.ShowInView(true, spCamera, spHardpoint);
        benchmark::DoNotOptimize(kPhaser.GetDisplayNode());
    }
    kState.counters["allocs"] = benchmark::Counter(static_cast<double>(g_iAllocations.load() - iBefore),
                                                   benchmark::Counter::kAvgIterations);
}
BENCHMARK(PhaserRedraw);

void VerticesOnly(benchmark::State& kState)
{
    const NiPoint3 kF(0.0f, 1.0f, 0.0f);
    const NiPoint3 kU(0.0f, 0.0f, 1.0f);
    const NiPoint3 kR(1.0f, 0.0f, 0.0f);
    NiPoint3 akAxes[FiringArcGeometry::AXIS_VERTICES];
    NiPoint3 akFrame[FiringArcGeometry::FRAME_VERTICES];
    NiPoint3 akEllipse[FiringArcGeometry::ELLIPSE_VERTICES];
    float fX = 0.0f;
    for (auto _ : kState)
    {
        const NiPoint3 kP(fX, 1.0f, 2.0f);
        fX += 0.001f;
        FiringArcGeometry::AxisLines(akAxes, kP, kF, kU, kR, 1.4f, 0.25f, 1.8f);
        FiringArcGeometry::ArcFrame(akFrame, kP, kF, kU, kR, 10.0f, -1.96f, 1.96f, -0.1f, 2.36f);
        FiringArcGeometry::ExtentEllipse(akEllipse, kP, kF, kR, 1.8f, 1.4f);
        benchmark::DoNotOptimize(akAxes);
        benchmark::DoNotOptimize(akFrame);
        benchmark::DoNotOptimize(akEllipse);
    }
}
BENCHMARK(VerticesOnly);
} // namespace

BENCHMARK_MAIN();
