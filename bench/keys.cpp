// Key interpolation: one million samples at increasing times (wrapping over a 64-key array, as a
// looping animation does) through the search-and-interpolate routine of each key type, beside a
// plain linear interpolation loop over a flat array of times and values with its own index.
// Prints each key type's time over the plain loop's.
#include "scene/animation/BoolKey.h"
#include "scene/animation/ColorKey.h"
#include "scene/animation/FloatKey.h"
#include "scene/animation/PositionKey.h"
#include "scene/animation/RotationKey.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace
{
constexpr uint32_t KEY_COUNT = 64;
constexpr uint32_t SAMPLE_COUNT = 1000000;
// Sample times run over [0, KEY_COUNT - 1) again and again, about 40 samples per segment.
constexpr float SAMPLE_STEP = 0.0251f;

float SampleTime(uint32_t uiSample)
{
    return std::fmod(static_cast<float>(uiSample) * SAMPLE_STEP, static_cast<float>(KEY_COUNT - 1));
}

// An owned array of keys of one type with their derived values.
template <class TFamily, class TMake> NiKeyArray<TFamily>* MakeArray(KeyType eType, TMake kMake)
{
    using Key = typename TFamily::Key;
    Key** ppKeys = new Key*[KEY_COUNT];
    for (uint32_t i = 0; i < KEY_COUNT; ++i)
    {
        ppKeys[i] = kMake(i);
        ppKeys[i]->m_fTime = static_cast<float>(i);
    }
    TFamily::FillDerived(*TFamily::GetOps(eType), ppKeys, KEY_COUNT);
    NiKeyArray<TFamily>* pkArray = new NiKeyArray<TFamily>;
    pkArray->Replace(ppKeys, KEY_COUNT, eType);
    return pkArray;
}

float Wave(uint32_t i)
{
    return std::sin(0.7f * static_cast<float>(i));
}

void BM_PlainLinear(benchmark::State& kState)
{
    std::vector<float> kTimes(KEY_COUNT);
    std::vector<float> kValues(KEY_COUNT);
    for (uint32_t i = 0; i < KEY_COUNT; ++i)
    {
        kTimes[i] = static_cast<float>(i);
        kValues[i] = Wave(i);
    }
    for (auto _ : kState)
    {
        float fSum = 0.0f;
        uint32_t uiIndex = 0;
        for (uint32_t s = 0; s < SAMPLE_COUNT; ++s)
        {
            const float fTime = SampleTime(s);
            if (fTime < kTimes[uiIndex])
                uiIndex = 0;
            while (uiIndex + 2 < KEY_COUNT && fTime >= kTimes[uiIndex + 1])
                ++uiIndex;
            const float fFraction = (fTime - kTimes[uiIndex]) / (kTimes[uiIndex + 1] - kTimes[uiIndex]);
            fSum += (1.0f - fFraction) * kValues[uiIndex] + fFraction * kValues[uiIndex + 1];
        }
        benchmark::DoNotOptimize(fSum);
    }
    kState.SetItemsProcessed(int64_t(kState.iterations()) * SAMPLE_COUNT);
}

void BM_Float(benchmark::State& kState, KeyType eType)
{
    std::unique_ptr<NiFloatKeyArray> spKeys(
        MakeArray<FloatKeyFamily>(eType,
                                  [eType](uint32_t i) -> FloatKey*
                                  {
                                      FloatKey* pkKey = eType == KEY_BEZIER ? new BezierFloatKey
                                                        : eType == KEY_TCB  ? new TcbFloatKey
                                                                            : new FloatKey;
                                      pkKey->m_fValue = Wave(i);
                                      return pkKey;
                                  }));
    for (auto _ : kState)
    {
        float fSum = 0.0f;
        uint32_t uiLast = 0;
        for (uint32_t s = 0; s < SAMPLE_COUNT; ++s)
            fSum += InterpolateFloatKeys(SampleTime(s), spKeys->GetKeys(), eType, KEY_COUNT, uiLast);
        benchmark::DoNotOptimize(fSum);
    }
    kState.SetItemsProcessed(int64_t(kState.iterations()) * SAMPLE_COUNT);
}

void BM_Position(benchmark::State& kState, KeyType eType)
{
    std::unique_ptr<NiPositionKeyArray> spKeys(
        MakeArray<PositionKeyFamily>(eType,
                                     [eType](uint32_t i) -> PositionKey*
                                     {
                                         PositionKey* pkKey = eType == KEY_BEZIER ? new BezierPositionKey
                                                              : eType == KEY_TCB  ? new TcbPositionKey
                                                                                  : new PositionKey;
                                         pkKey->m_Pos = NiPoint3(Wave(i), Wave(i + 1), Wave(i + 2));
                                         return pkKey;
                                     }));
    for (auto _ : kState)
    {
        NiPoint3 kSum = NiPoint3::ZERO;
        uint32_t uiLast = 0;
        NiPoint3 kPoint;
        for (uint32_t s = 0; s < SAMPLE_COUNT; ++s)
            kSum +=
                InterpolatePositionKeys(kPoint, SampleTime(s), spKeys->GetKeys(), eType, KEY_COUNT, uiLast);
        benchmark::DoNotOptimize(kSum);
    }
    kState.SetItemsProcessed(int64_t(kState.iterations()) * SAMPLE_COUNT);
}

void RunRotations(benchmark::State& kState, const NiRotationKeyArray& kKeys)
{
    for (auto _ : kState)
    {
        float fSum = 0.0f;
        uint32_t uiLast = 0;
        NiQuaternion kQuat;
        for (uint32_t s = 0; s < SAMPLE_COUNT; ++s)
            fSum += InterpolateRotationKeys(kQuat, SampleTime(s), kKeys.GetKeys(), kKeys.GetType(),
                                            kKeys.GetNumKeys(), uiLast)
                        .w;
        benchmark::DoNotOptimize(fSum);
    }
    kState.SetItemsProcessed(int64_t(kState.iterations()) * SAMPLE_COUNT);
}

void BM_Rotation(benchmark::State& kState, KeyType eType)
{
    std::unique_ptr<NiRotationKeyArray> spKeys(
        MakeArray<RotationKeyFamily>(eType,
                                     [eType](uint32_t i) -> RotationKey*
                                     {
                                         RotationKey* pkKey = eType == KEY_BEZIER ? new BezierRotationKey
                                                              : eType == KEY_TCB  ? new TcbRotationKey
                                                                                  : new RotationKey;
                                         pkKey->m_quat = NiQuaternion(Wave(i), NiPoint3(0.6f, 0.0f, 0.8f));
                                         return pkKey;
                                     }));
    RunRotations(kState, *spKeys);
}

void BM_RotationEuler(benchmark::State& kState)
{
    EulerRotationKey* pkEuler = new EulerRotationKey;
    for (NiFloatKeyArray& kAxis : pkEuler->m_akAxis)
    {
        std::unique_ptr<NiFloatKeyArray> spAxis(MakeArray<FloatKeyFamily>(KEY_LINEAR,
                                                                          [](uint32_t i) -> FloatKey*
                                                                          {
                                                                              FloatKey* pkKey = new FloatKey;
                                                                              pkKey->m_fValue = Wave(i);
                                                                              return pkKey;
                                                                          }));
        kAxis.CopyFrom(*spAxis);
    }
    NiRotationKeyArray kKeys;
    kKeys.Replace(
        new RotationKey* [1] { pkEuler }, 1, KEY_EULER);
    RunRotations(kState, kKeys);
}

void BM_Color(benchmark::State& kState)
{
    std::unique_ptr<NiColorKeyArray> spKeys(MakeArray<ColorKeyFamily>(
        KEY_LINEAR,
        [](uint32_t i) {
            return new ColorKey{0.0f, NiColorA(Wave(i), Wave(i + 1), Wave(i + 2), 1.0f)};
        }));
    for (auto _ : kState)
    {
        float fSum = 0.0f;
        uint32_t uiLast = 0;
        NiColorA kColor;
        for (uint32_t s = 0; s < SAMPLE_COUNT; ++s)
            fSum +=
                InterpolateColorKeys(kColor, SampleTime(s), spKeys->GetKeys(), KEY_LINEAR, KEY_COUNT, uiLast)
                    .r;
        benchmark::DoNotOptimize(fSum);
    }
    kState.SetItemsProcessed(int64_t(kState.iterations()) * SAMPLE_COUNT);
}

void BM_Bool(benchmark::State& kState)
{
    std::vector<BoolKey> kKeys(KEY_COUNT);
    std::vector<const BoolKey*> kPointers(KEY_COUNT);
    for (uint32_t i = 0; i < KEY_COUNT; ++i)
    {
        kKeys[i] = BoolKey{static_cast<float>(i), static_cast<uint8_t>(i & 1)};
        kPointers[i] = &kKeys[i];
    }
    for (auto _ : kState)
    {
        uint32_t uiSum = 0;
        uint32_t uiLast = 0;
        for (uint32_t s = 0; s < SAMPLE_COUNT; ++s)
            uiSum += LookupBoolKeys(SampleTime(s), kPointers.data(), KEY_COUNT, uiLast);
        benchmark::DoNotOptimize(uiSum);
    }
    kState.SetItemsProcessed(int64_t(kState.iterations()) * SAMPLE_COUNT);
}

// Keeps the median time of each benchmark for the closing ratios.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& kRuns) override
    {
        for (const Run& kRun : kRuns)
        {
            if (kRun.aggregate_name == "median")
                m_kMedians[kRun.run_name.function_name] = kRun.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(kRuns);
    }

    std::map<std::string, double> m_kMedians;
};
} // namespace

int main(int argc, char** argv)
{
    auto Register = [](const char* pcName, auto kFunction)
    {
        benchmark::RegisterBenchmark(pcName, kFunction)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    };
    Register("PlainLinear", BM_PlainLinear);
    Register("FloatLinear", [](benchmark::State& k) { BM_Float(k, KEY_LINEAR); });
    Register("FloatBezier", [](benchmark::State& k) { BM_Float(k, KEY_BEZIER); });
    Register("FloatTcb", [](benchmark::State& k) { BM_Float(k, KEY_TCB); });
    Register("RotationLinear", [](benchmark::State& k) { BM_Rotation(k, KEY_LINEAR); });
    Register("RotationBezier", [](benchmark::State& k) { BM_Rotation(k, KEY_BEZIER); });
    Register("RotationTcb", [](benchmark::State& k) { BM_Rotation(k, KEY_TCB); });
    Register("RotationEuler", BM_RotationEuler);
    Register("PositionLinear", [](benchmark::State& k) { BM_Position(k, KEY_LINEAR); });
    Register("PositionBezier", [](benchmark::State& k) { BM_Position(k, KEY_BEZIER); });
    Register("PositionTcb", [](benchmark::State& k) { BM_Position(k, KEY_TCB); });
    Register("ColorLinear", BM_Color);
    Register("Bool", BM_Bool);

    benchmark::Initialize(&argc, argv);
    RatioReporter kReporter;
    benchmark::RunSpecifiedBenchmarks(&kReporter);
    auto kPlain = kReporter.m_kMedians.find("PlainLinear");
    if (kPlain != kReporter.m_kMedians.end() && kPlain->second > 0)
    {
        std::printf("time over the plain linear loop (median of 5, 1M samples each):\n");
        for (const auto& [kName, dTime] : kReporter.m_kMedians)
        {
            if (kName != "PlainLinear")
                std::printf("  %-16s %6.2f\n", kName.c_str(), dTime / kPlain->second);
        }
    }
    benchmark::Shutdown();
    return 0;
}
