// Unitizing a batch of vertex normals: the table square root (NiPoint3::UnitizeVectors,
// no square root per vector) against the plain per-vector Unitize (one sqrtf each).
#include "scene/object/NiPoint3.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

namespace
{
std::vector<NiPoint3> MakeNormals(size_t uiCount)
{
    std::mt19937 kRandom(5);
    std::uniform_real_distribution<float> kComponent(-10.0f, 10.0f);
    std::vector<NiPoint3> kNormals(uiCount);
    for (NiPoint3& kNormal : kNormals)
        kNormal = NiPoint3(kComponent(kRandom), kComponent(kRandom), kComponent(kRandom));
    return kNormals;
}

void TableUnitizeVectors(benchmark::State& kState)
{
    const std::vector<NiPoint3> kSource = MakeNormals(static_cast<size_t>(kState.range(0)));
    std::vector<NiPoint3> kWork = kSource;
    for (auto _ : kState)
    {
        kWork = kSource;
        NiPoint3::UnitizeVectors(kWork.data(), static_cast<uint32_t>(kWork.size()));
        benchmark::DoNotOptimize(kWork.data());
        benchmark::ClobberMemory();
    }
    kState.SetItemsProcessed(kState.iterations() * kState.range(0));
}

void SqrtUnitizeEach(benchmark::State& kState)
{
    const std::vector<NiPoint3> kSource = MakeNormals(static_cast<size_t>(kState.range(0)));
    std::vector<NiPoint3> kWork = kSource;
    for (auto _ : kState)
    {
        kWork = kSource;
        for (NiPoint3& kNormal : kWork)
            kNormal.Unitize();
        benchmark::DoNotOptimize(kWork.data());
        benchmark::ClobberMemory();
    }
    kState.SetItemsProcessed(kState.iterations() * kState.range(0));
}
} // namespace

BENCHMARK(TableUnitizeVectors)->Arg(1024)->Arg(65536);
BENCHMARK(SqrtUnitizeEach)->Arg(1024)->Arg(65536);
BENCHMARK_MAIN();
