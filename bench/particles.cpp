// Particle steps per second for 10,000 living particles under two forces (a planar and a point
// gravity) with one planar collider below them that none reaches, beside a plain loop that
// applies the same forces and the same plane test to the same kind of arrays. Prints both rates
// and the system's time over the plain loop's.
#include "scene/animation/NiGravity.h"
#include "scene/animation/NiParticleSystemController.h"
#include "scene/animation/NiPlanarCollider.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiParticles.h"
#include "scene/graph/NiParticlesData.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace
{
constexpr uint32_t PARTICLES = 10000;
constexpr float STEP = 1.0f / 60.0f;

NiGravity* Planar()
{
    NiGravity* pkGravity = new NiGravity;
    pkGravity->SetDirection(NiPoint3(0, 0, 1));
    return pkGravity;
}

NiGravity* Point()
{
    NiGravity* pkGravity = new NiGravity;
    pkGravity->SetType(NiGravity::FORCE_SPHERICAL);
    pkGravity->SetPosition(NiPoint3(0, 0, 50));
    pkGravity->SetStrength(-0.5f);
    return pkGravity;
}

NiPlanarCollider* Floor()
{
    NiPlanarCollider* pkFloor = new NiPlanarCollider;
    pkFloor->SetGeometry(NiPoint3(0, 0, -1000), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0), NiPoint3(0, 0, 1), 100,
                         100);
    return pkFloor;
}

void BM_ParticleSystem(benchmark::State& kState)
{
    NiRefPtr<NiNode> spRoot = new NiNode;
    NiParticlesData* pkData =
        new NiParticlesData(PARTICLES, new NiPoint3[PARTICLES], nullptr, new NiColorA[PARTICLES]);
    NiParticles* pkParticles = new NiParticles(pkData);
    spRoot->AddChild(pkParticles);
    NiParticleSystemController* pkController = new NiParticleSystemController;
    pkController->SetEmissionMode(NiParticleSystemController::EMIT_RANDOM);
    pkController->SetLifetime(1e9f);
    pkController->SetBirthRate(static_cast<float>(PARTICLES));
    pkController->SetEmitterDimensions(10, 10, 0);
    pkController->SetCycleType(NiTimeController::LOOP);
    pkController->SetLoKeyTime(0);
    pkController->SetHiKeyTime(1e9f);
    pkController->AddForce(Planar());
    pkController->AddForce(Point());
    pkController->AddCollider(Floor());
    pkController->SetTarget(pkParticles);
    pkController->Update(1.0f);
    pkController->Update(2.0f);
    if (pkController->GetParticleCount() != PARTICLES)
        kState.SkipWithError("the system did not fill");
    float fTime = 2.0f;
    for (auto _ : kState)
    {
        fTime += STEP;
        pkController->Update(fTime);
        benchmark::DoNotOptimize(pkData->GetVertices()[PARTICLES - 1]);
    }
    kState.counters["steps/s"] =
        benchmark::Counter(static_cast<double>(kState.iterations()), benchmark::Counter::kIsRate);
}

void BM_PlainLoop(benchmark::State& kState)
{
    std::vector<NiPoint3> kPositions(PARTICLES);
    std::vector<NiPoint3> kVelocities(PARTICLES);
    std::vector<float> kAges(PARTICLES, 0.0f);
    for (uint32_t i = 0; i < PARTICLES; ++i)
    {
        kPositions[i] = NiPoint3(std::fmod(i * 0.37f, 10.0f) - 5, std::fmod(i * 0.71f, 10.0f) - 5, 0);
        kVelocities[i] = NiPoint3(std::sin(float(i)), std::cos(float(i)), 0.5f);
    }
    const NiPoint3 kDirection(0, 0, 1);
    const NiPoint3 kCentre(0, 0, 50);
    const NiPoint3 kNormal(0, 0, 1);
    const float fConstant = 1000.0f;
    for (auto _ : kState)
    {
        for (uint32_t i = 0; i < PARTICLES; ++i)
        {
            NiPoint3& kP = kPositions[i];
            NiPoint3& kV = kVelocities[i];
            // The plane far below: the same test, never a hit.
            const float fA = kNormal.DotProduct(kP) + fConstant;
            const float fF = (kV * STEP).DotProduct(kNormal);
            if ((fF <= -0.001f || fF >= 0.001f) && -fA / fF >= 0.0f && -fA / fF <= 1.0f)
                kV = kV * -1.0f;
            kP = kP + kV * STEP;
            kV = kV - kDirection * (0.16f * STEP);
            NiPoint3 kU = kP - kCentre;
            const float fLength = kU.Length();
            if (fLength != 0.0f)
                kU = kU * (1.0f / fLength);
            kV = kV + kU * (0.16f * STEP * 0.5f);
            kAges[i] += STEP;
        }
        benchmark::DoNotOptimize(kPositions[PARTICLES - 1]);
    }
    kState.counters["steps/s"] =
        benchmark::Counter(static_cast<double>(kState.iterations()), benchmark::Counter::kIsRate);
}

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, double> m_kMedians;

    void ReportRuns(const std::vector<Run>& kRuns) override
    {
        for (const Run& kRun : kRuns)
        {
            if (kRun.aggregate_name == "median")
                m_kMedians[kRun.run_name.function_name] = kRun.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(kRuns);
    }
};
} // namespace

int main(int argc, char** argv)
{
    for (const auto& [pcName, pfnBench] :
         {std::pair{"ParticleSystem", &BM_ParticleSystem}, std::pair{"PlainLoop", &BM_PlainLoop}})
    {
        benchmark::RegisterBenchmark(pcName, pfnBench)
            ->Unit(benchmark::kMicrosecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter kReporter;
    benchmark::RunSpecifiedBenchmarks(&kReporter);
    const auto kSystem = kReporter.m_kMedians.find("ParticleSystem");
    const auto kPlain = kReporter.m_kMedians.find("PlainLoop");
    if (kSystem != kReporter.m_kMedians.end() && kPlain != kReporter.m_kMedians.end() && kPlain->second > 0)
    {
        std::printf("steps per second with %u particles (median of 5): system %.0f, plain loop %.0f\n",
                    PARTICLES, 1e6 / kSystem->second, 1e6 / kPlain->second);
        std::printf("system time over the plain loop's: %.2f\n", kSystem->second / kPlain->second);
    }
    benchmark::Shutdown();
    return 0;
}
