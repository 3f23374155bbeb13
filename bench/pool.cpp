// Churn of mixed small blocks (8 to 128 bytes): the pool manager beside the C library's
// malloc/free on the same sequence of allocations and frees, then the ratio of their times.
#include "core/SKPoolManager.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace
{

constexpr size_t kLiveSlots = 4096;
constexpr size_t kSteps = 1 << 16;

struct Step
{
    uint32_t uiSlot;
    uint32_t uiSize;
};

// One fixed sequence: each step frees whatever a random slot holds and puts a new block of
// 8 to 128 bytes there, so about kLiveSlots blocks stay alive throughout.
const std::vector<Step>& Steps()
{
    static const std::vector<Step> steps = []
    {
        std::mt19937 random(20240601);
        std::uniform_int_distribution<uint32_t> slot(0, kLiveSlots - 1);
        std::uniform_int_distribution<uint32_t> size(8, 128);
        std::vector<Step> result(kSteps);
        for (Step& step : result)
            step = Step{slot(random), size(random)};
        return result;
    }();
    return steps;
}

template <typename Allocate, typename Free> void Churn(benchmark::State& state, Allocate allocate, Free free)
{
    const std::vector<Step>& steps = Steps();
    std::vector<void*> live(kLiveSlots, nullptr);
    for (auto _ : state)
    {
        for (const Step& step : steps)
        {
            free(live[step.uiSlot]);
            auto* block = static_cast<char*>(allocate(step.uiSize));
            block[0] = static_cast<char>(step.uiSize);
            live[step.uiSlot] = block;
        }
        benchmark::ClobberMemory();
    }
    for (void* block : live)
        free(block);
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(steps.size()));
}

void BM_PoolChurn(benchmark::State& state)
{
    Churn(
        state, [](size_t size) { return PoolAllocate(size, "bench", 0); },
        [](void* block) { PoolFree(block); });
}

void BM_MallocChurn(benchmark::State& state)
{
    Churn(
        state, [](size_t size) { return std::malloc(size); }, [](void* block) { std::free(block); });
}

BENCHMARK(BM_MallocChurn)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_PoolChurn)->Repetitions(5)->ReportAggregatesOnly(true);

// Keeps the median time per iteration of each benchmark for the closing ratio.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.aggregate_name == "median")
                m_kMedians[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }

    std::map<std::string, double> m_kMedians;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto pool = reporter.m_kMedians.find("BM_PoolChurn");
    auto heap = reporter.m_kMedians.find("BM_MallocChurn");
    if (pool != reporter.m_kMedians.end() && heap != reporter.m_kMedians.end() && pool->second > 0)
    {
        std::printf("pool time / malloc time (median): %.3f (%s)\n", pool->second / heap->second,
                    pool->second <= heap->second ? "pool at least as fast" : "pool slower");
    }
    benchmark::Shutdown();
    return 0;
}
